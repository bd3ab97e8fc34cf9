// The column's shape, grade, size and section, the base series options and
// the model list of box and round columns.
#include "dialogs/frmSelectKV.h"

#include "dialogs/select_kv_rules.h"
#include "model/catalogue.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/sections.h"
#include "platform/qt/ole_color.h"
#include "platform/text/vb.h"
#include "resources/strings/res_strings.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <cmath>
#include <exception>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

const char* const kSpecFields[] = {"断面積", "Zx", "Zpx", "Zy", "Zpy"};

// The trimmed texts of one field of a catalogue query, each once, in the
// order the query gives them; nulls are skipped.
QStringList DistinctTexts(const std::string& sql, int field)
{
    QStringList texts;
    auto db = OpenCatalogue();
    auto rs = db.openRecordset(sql);
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.isNull(field)) continue;
        const QString t = Q(vb::Trim(rs.text(field)));
        if (!texts.contains(t)) texts << t;
    }
    return texts;
}

}  // namespace

void frmSelectKV::optColV_Click(int Index)
{
    work_.ColV = static_cast<int16_t>(Index);
    // The shape's defaults are for the user's choice; the load keeps the
    // stored series and direction for the lists it replays.
    if (!loading_) {
        work_.KvDir = 0;
        work_.KvRotate = 0;
        work_.KvV = Index == 0 ? 6 : Index == 1 ? 4 : 1;
    }

    const bool h = Index == 2;
    Label1[1]->setText(FindResString(h ? 1174 : 1097).value_or(h ? QStringLiteral("ﾌﾗﾝｼﾞ幅") : QStringLiteral("板厚")));
    Label1[7]->setEnabled(h);
    EnableHControls(h);
    for (QLabel* l : Label3) l->setEnabled(h);
    if (!h) chkCenCol->hide();
    QComboBox* shown = h ? cmbColT_H : cmbColT;
    shown->move(PxX(2640), PxY(360));
    shown->show();
    (h ? cmbColT : cmbColT_H)->hide();
    cmdCalcSpec->setVisible(h);
    Label5->setVisible(h);

    FillMaterialList();
}

void frmSelectKV::FillMaterialList()
{
    QStringList names;
    const int16_t first = selkv::FirstGrade(work_.ColV);
    const int16_t last = selkv::LastGrade(work_.ColV);
    for (int16_t code = first; code <= last; ++code) names << Q(GetSteelMaterialName(code));
    dlgkit::Refill(cmbColMat, names);
    SelectFirst(cmbColMat);
}

void frmSelectKV::cmbColMat_Click()
{
    Label4->hide();
    work_.ColMatCode = static_cast<int16_t>(cmbColMat->currentIndex() + selkv::FirstGrade(work_.ColV));
    const int16_t code = work_.ColMatCode;
    if (selkv::LumoPlateRefused(work_.ColV, code, workBase_)) ShowWarning(kLumoPlateText);
    work_.ColF = GetSteelFValue(code);
    FillColumnSizeList();
}

void frmSelectKV::FillColumnSizeList()
{
    std::vector<double> values;
    if (!selkv::GradeCriterion(work_.ColV, work_.ColMatCode).empty()) {
        auto db = OpenCatalogue();
        auto rs = db.openRecordset(selkv::SizeListQuery(work_.ColV, work_.ColMatCode));
        for (; !rs.eof(); rs.moveNext())
            if (!rs.isNull(0)) values.push_back(vb::Val(rs.text(0)));
    }
    QStringList texts;
    for (const std::string& t : selkv::SizeListTexts(values)) texts << Q(t);
    dlgkit::Refill(cmbColSize, texts);
    if (texts.isEmpty()) {
        // Nothing below a size is left to choose, so 決定 finds no model.
        dlgkit::Refill(cmbColT, {});
        dlgkit::Refill(cmbColT_H, {});
        ClearHSizes();
        dlgkit::Refill(cmbKV, {});
        ClearModelChoice();
    }
    SelectFirst(cmbColSize);
}

void frmSelectKV::cmbColSize_Click()
{
    const std::string sizeText = S(cmbColSize->currentText());
    work_.ColSize = vb::Val(sizeText);
    const int16_t shape = work_.ColV;
    const bool graded = !selkv::GradeCriterion(shape, work_.ColMatCode).empty();
    if (shape == 0 || shape == 1) {
        QStringList thicknesses;
        if (graded) thicknesses = DistinctTexts(selkv::ThicknessListQuery(shape, sizeText, work_.ColMatCode), 1);
        dlgkit::Refill(cmbColT, thicknesses);
        if (!thicknesses.isEmpty()) {
            {
                const QSignalBlocker quiet(cmbColT);
                cmbColT->setCurrentIndex(0);
            }
            cmbColT_Click();
        }
        FillModelList();
    } else if (shape == 2) {
        QStringList widths;
        if (graded) widths = DistinctTexts(selkv::FlangeWidthQuery(sizeText), 0);
        dlgkit::Refill(cmbColT_H, widths);
        if (widths.isEmpty()) {
            ClearHSizes();
            dlgkit::Refill(cmbKV, {});
            ClearModelChoice();
        }
        SelectFirst(cmbColT_H);
    }
    ArrangeSeriesOptions();
}

void frmSelectKV::cmbColT_Click()
{
    work_.ColT = vb::Val(S(cmbColT->currentText()));
    const std::string criterion = selkv::GradeCriterion(work_.ColV, work_.ColMatCode);
    if (criterion.empty()) return;
    // A section the catalogue lacks leaves the values shown as they are.
    try {
        auto db = OpenCatalogue();
        auto rs = db.openRecordset(selkv::SectionQuery(work_.ColV, S(cmbColSize->currentText()), work_.ColMatCode,
                                                       S(cmbColT->currentText())));
        if (rs.eof()) return;
        for (int k = 0; k < 5; ++k) {
            if (rs.isNull(kSpecFields[k])) continue;
            const double v = rs.number(kSpecFields[k]);
            if (std::fabs(v) <= 0.01) continue;
            work_.ColSpec(k) = v;
            txtColSpec[k]->setText(Q(FormatValue(v, -1)));
        }
    } catch (const std::exception&) {
    }
}

void frmSelectKV::cmbColT_Change()
{
    work_.ColT = vb::Val(S(cmbColT->currentText()));
    work_.ColSize = vb::Val(S(cmbColSize->currentText()));
    GetColumnSectionData(work_);
    for (int k = 0; k < 5; ++k)
        if (std::fabs(work_.ColSpec(k)) > 0.01) txtColSpec[k]->setText(Q(FormatValue(work_.ColSpec(k), -1)));
}

void frmSelectKV::cmdCalcSpec_Click()
{
    CalcHSectionProps(work_);
    for (int k = 0; k < 5; ++k) txtColSpec[k]->setText(Q(FormatSignificant(work_.ColSpecUser(k), k == 0 ? 4 : 3)));
}

void frmSelectKV::txtColSpec_GotFocus(int Index) { SelectAllText(txtColSpec[Index]); }

void frmSelectKV::txtHDim_GotFocus(int Index) { SelectAllText(txtHDim[Index]); }

// ---- Series and model list ----

void frmSelectKV::ArrangeSeriesOptions()
{
    const auto options = selkv::ArrangeSeriesOptions(work_.ColV, work_.ColSize);
    for (int i = 0; i < 3; ++i) {
        const selkv::SeriesOption& o = options[static_cast<std::size_t>(i)];
        if (!o.arranged) continue;
        optKvV[i]->setVisible(o.shown);
        optKvV[i]->move(PxX(o.left), optKvV[i]->y());
        if (o.enabled >= 0) optKvV[i]->setEnabled(o.enabled == 1);
    }
    // The option follows the series, also when it is hidden for the size.
    const int selected = selkv::SeriesOptionOf(work_.KvV);
    if (selected >= 0) optKvV[selected]->setChecked(true);
}

void frmSelectKV::optKvV_Click(int Index)
{
    work_.KvV = selkv::SeriesOfOption(Index, work_.ColV, work_.ColSize);
    if (cmbColSize->currentIndex() < 0) return;
    if (!loading_) {
        cmbColSize_Click();
        return;
    }
    // While the load restores the stored section, only the model list
    // follows the series (the H model list does not depend on it).
    if (work_.ColV == selkv::kBox || work_.ColV == selkv::kRound) {
        FillModelList();
        ArrangeSeriesOptions();
    }
}

void frmSelectKV::FillModelList()
{
    const std::string condition =
        selkv::SeriesCondition(selkv::AdjustSeriesForQuery(work_.ColV, work_.ColSize, work_.KvV));
    std::vector<selkv::ModelRow> rows;
    if (!condition.empty()) {
        auto db = OpenCatalogue();
        std::string nominal;
        {
            auto rs = db.openRecordset(selkv::NominalSizeQuery(S(cmbColSize->currentText())));
            if (!rs.eof() && !rs.isNull(0)) nominal = selkv::UnquotedNumber(rs.text(0));
        }
        if (!nominal.empty()) {
            auto rs = db.openRecordset(selkv::ModelListQuery(nominal, condition, work_.ColV));
            for (; !rs.eof(); rs.moveNext()) {
                selkv::ModelRow r;
                r.name = rs.isNull("形式名") ? std::string() : rs.text("形式名");
                r.id = CatalogueInt32(rs, "ID");
                r.dispF = rs.isNull("DispF") ? int16_t{0} : CatalogueInt16(rs, "DispF");
                rows.push_back(std::move(r));
            }
        }
    }
    // While the load replays, the stored model is the working one, whatever
    // model the replay passed on its way.
    if (loading_) work_.KolvanID = gColumns(gCurCol).KolvanID;
    QStringList names;
    for (const std::string& n : selkv::ListedModels(rows, work_.KolvanID, gShowKCModels, gShowDispF2)) names << Q(n);
    dlgkit::Refill(cmbKV, names);
    if (names.isEmpty()) ClearModelChoice();
    SelectFirst(cmbKV);
}
