// H sections and their fit, the model with its bolts, centre column and
// direction, the RC pedestal lists and the two previews.
#include "dialogs/frmSelectKV.h"

#include "dialogs/select_kv_rules.h"
#include "drawing/figure_frame.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/print_out.h"
#include "drawing/rc_section.h"
#include "drawing/state_guard.h"
#include "model/base_data.h"
#include "model/catalogue.h"
#include "model/failure.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/helpers.h"
#include "model/rebar_tables.h"
#include "model/rebar_zone.h"
#include "model/texts.h"
#include "platform/qt/picture_box.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"
#include "resources/strings/res_strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <utility>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

}  // namespace

// ---- H sections ----

void frmSelectKV::cmbColT_H_Click()
{
    work_.ColT = vb::Val(S(cmbColT_H->currentText()));
    if (work_.ColV != 2) return;
    hSizeIds_.clear();
    QStringList items;
    {
        auto db = OpenCatalogue();
        auto rs = db.openRecordset(
            selkv::HSectionListQuery(S(cmbColSize->currentText()), S(cmbColT_H->currentText())));
        for (bool first = true; !rs.eof(); rs.moveNext(), first = false) {
            std::string dims[4];
            for (int i = 0; i < 4; ++i) dims[i] = rs.isNull(i + 1) ? std::string() : vb::Trim(rs.text(i + 1));
            if (first)
                for (int i = 0; i < 4; ++i) txtHDim[i]->setText(Q(dims[i]));
            hSizeIds_.push_back(CatalogueInt32(rs, "ID"));
            items << Q("H-" + dims[0] + "×" + dims[1] + "×" + dims[2] + "×" + dims[3]);
        }
    }
    // A stored section that the catalogue does not list under its nominal
    // size (an import's) is listed under it by its own dimensions, so that it
    // stays the column's section.
    ownHItem_ = -1;
    const bool storedSize = stored_.ColV == selkv::kH &&
                            cmbColSize->currentText() == Q(FormatValue(stored_.ColSize, -1)) &&
                            cmbColT_H->currentText() == Q(FormatValue(stored_.ColT, -1));
    if (storedSize && std::find(hSizeIds_.begin(), hSizeIds_.end(), stored_.ColID) == hSizeIds_.end()) {
        ownHItem_ = static_cast<int>(hSizeIds_.size());
        hSizeIds_.push_back(stored_.ColID);
        std::string text = "H-";
        for (int i = 1; i <= 4; ++i) text += (i > 1 ? "×" : "") + vb::CStr(stored_.HDim(i));
        items << Q(text);
    }
    dlgkit::Refill(cmbHSize, items);
    if (items.isEmpty()) {
        dlgkit::Refill(cmbKV, {});
        ClearModelChoice();
    }
    SelectFirst(cmbHSize);
}

void frmSelectKV::cmbHSize_Click()
{
    if (work_.ColV != 2) return;
    const auto at = static_cast<std::size_t>(cmbHSize->currentIndex());
    if (at >= hSizeIds_.size()) return;
    work_.ColID = hSizeIds_[at];
    auto db = OpenCatalogue();
    if (static_cast<int>(at) == ownHItem_) {
        // Not a catalogue section: its dimensions and values are the stored ones.
        for (int i = 0; i < 4; ++i) {
            work_.HDim(i + 1) = stored_.HDim(i + 1);
            txtHDim[i]->setText(Q(vb::CStr(work_.HDim(i + 1))));
        }
        ShowStoredSectionValues();
    } else {
        auto rs = db.openRecordset(selkv::HSectionQuery(work_.ColID));
        if (!rs.eof()) {
            // The section values go to the boxes only; 決定 takes them from there.
            for (int k = 0; k < 5; ++k)
                if (!rs.isNull(k)) txtColSpec[k]->setText(Q(vb::CStr(rs.number(k))));
            for (int i = 0; i < 4; ++i) {
                work_.HDim(i + 1) = rs.isNull(5 + i) ? 0.0 : vb::Val(rs.text(5 + i));
                txtHDim[i]->setText(Q(vb::CStr(work_.HDim(i + 1))));
            }
        }
    }
    QStringList names;
    const std::string size = selkv::UnquotedNumber(S(cmbColSize->currentText()));
    const std::string width = selkv::UnquotedNumber(S(cmbColT_H->currentText()));
    if (!size.empty() && !width.empty()) {
        auto rs = db.openRecordset(selkv::HModelListQuery(size, width, gKvSeries));
        for (bool first = true; !rs.eof(); rs.moveNext(), first = false) {
            names << Q(rs.isNull(0) ? std::string() : vb::Trim(rs.text(0)));
            if (first) work_.KolvanID = CatalogueInt32(rs, "ID");
        }
    }
    dlgkit::Refill(cmbKV, names);
    if (names.isEmpty())
        ClearModelChoice();
    else
        CheckHColumnFit();
    SelectFirst(cmbKV);
}

void frmSelectKV::txtHDim_LostFocus(int Index)
{
    work_.HDim(Index + 1) = vb::Val(S(txtHDim[Index]->text()));
    txtHDim[Index]->setText(Q(vb::CStr(work_.HDim(Index + 1))));
    CheckHColumnFit();
}

void frmSelectKV::CheckHColumnFit()
{
    auto db = OpenCatalogue();
    auto rs = db.openRecordset(selkv::HFitQuery(work_.KolvanID));
    if (rs.eof()) return;
    const auto at = [&rs](int i) { return rs.isNull(i) ? 0.0 : rs.number(i); };
    if (selkv::IsHColumnOnBase(at(0), at(1), at(2), at(3), work_.HDim(1), work_.HDim(2), work_.HDim(3),
                               work_.HDim(4)))
        HideWarning();
    else
        ShowWarning(kHFitText);
}

// ---- Model, bolts and direction ----

void frmSelectKV::cmbKV_Click()
{
    modelLoaded_ = false;
    const std::string name = S(cmbKV->currentText());
    if (selkv::DirectionResets(workBase_.KvName.value(), name)) {
        work_.KvDir = 0;
        work_.KvRotate = 0;
    }
    int16_t series = 0;
    {
        auto db = OpenCatalogue();
        {
            auto rs = db.openRecordset(selkv::ModelIdQuery(name));
            if (rs.eof())
                throw Failure(FailureKind::ModelMissing, "no catalogue model " + name, FailureValues::Model(name));
            work_.KolvanID = CatalogueInt32(rs, "ID");
        }
        auto rs = db.openRecordset(selkv::ModelBoltsQuery(work_.KolvanID));
        if (rs.eof())
            throw Failure(FailureKind::ModelMissing, "no bolts of catalogue model " + name, FailureValues::Model(name));
        series = CatalogueInt16(rs, "KvV");
        QStringList bolts;
        cmbAb->setEnabled(true);
        if (series == 2) {
            cmbAb->setEnabled(false);
        } else {
            const int count = std::clamp<int>(CatalogueInt16(rs, "AbCount"), 0, 4);
            for (int i = 1; i <= count; ++i) {
                const std::string field = "Ab径" + std::to_string(i);
                if (rs.isNull(field)) break;
                bolts << QStringLiteral("M%1").arg(std::lround(rs.number(field)));
            }
            if (count == 1) cmbAb->setEnabled(false);
        }
        dlgkit::Refill(cmbAb, bolts);
    }
    // The first bolt runs its handler on the new model before the variant-1 load below.
    if (series != 2) SelectFirst(cmbAb);
    work_.AbNum = 1;
    workBase_.AbNum = 1;
    LoadKvBaseData(work_.KolvanID, 1, workBase_);
    work_.KvV = workBase_.KvV;
    modelLoaded_ = true;

    chkCenCol->show();
    chkCenCol->setChecked(false);
    HideWarning();
    const selkv::CentreBox box = selkv::CentreColumnBox(workBase_.KvV, workBase_.KvName.value());
    if (box.caption != selkv::CentreCaption::Unchanged) {
        const int id = box.caption == selkv::CentreCaption::Pattern2 ? 1332 : 1312;
        chkCenCol->setProperty("resTag", id);
        chkCenCol->setText(LoadResString(id));
    }
    chkCenCol->setVisible(box.shown);
    if (box.ticked) chkCenCol->setChecked(true);
    if (selkv::LumoPlateRefused(work_.ColV, work_.ColMatCode, workBase_)) ShowWarning(kLumoPlateText);

    SetBaseDirectionOptions(workBase_.KvName.value(), work_.KvDir);
    SetColumnBaseGeometry(work_, workBase_);
    FillPedestalLists(false);
    TakePedestalSizes();
    DrawBasePreview();
    if (work_.ColV == selkv::kH) CheckHColumnFit();
    // Decided last: the pedestal steps above still see the previous model's state.
    cmbLenB->setEnabled(!selkv::SquarePlate(workBase_));
}

void frmSelectKV::cmbAb_Click()
{
    const auto abNum = static_cast<int16_t>(cmbAb->currentIndex() + 1);
    work_.AbNum = abNum;
    workBase_.AbNum = abNum;
    LoadKvBaseData(work_.KolvanID, abNum, workBase_);
    SetColumnBaseGeometry(work_, workBase_);
    FillPedestalLists(false);
    TakePedestalSizes();
    // Another bolt may bring another default pedestal; the previews follow it.
    if (!loading_) DrawBasePreview();
}

void frmSelectKV::chkCenCol_Click()
{
    work_.CenColWall(0) = chkCenCol->isChecked() ? 1 : 0;
    FillPedestalLists(false);
    if (!loading_) DrawBasePreview();
}

void frmSelectKV::optKVDir_Click(int Index)
{
    work_.KvDir = static_cast<int16_t>(Index);
    work_.KvRotate = selkv::RotationOf(workBase_.KvName.value(), Index);
    SetColumnBaseGeometry(work_, workBase_);
    FillPedestalLists(false);
    TakePedestalSizes();
    DrawBasePreview();
}

void frmSelectKV::SetBaseDirectionOptions(const std::string& modelName, int16_t direction)
{
    Frame6->setEnabled(false);
    if (direction >= 0 && direction <= 3) optKVDir[direction]->setChecked(true);
    for (QRadioButton* o : optKVDir) o->setEnabled(false);
    const int allowed = selkv::AllowedDirections(modelName);
    if (allowed == 0) return;
    Frame6->setEnabled(true);
    for (int i = 0; i < allowed; ++i) optKVDir[i]->setEnabled(true);
}

void frmSelectKV::TakePedestalSizes()
{
    // Only a list with a selection gives a size.
    if (cmbLenA->currentIndex() >= 0) work_.cD(0) = SafeCDbl(S(cmbLenA->currentText()));
    if (cmbLenB->currentIndex() >= 0) work_.cD(1) = SafeCDbl(S(cmbLenB->currentText()));
    work_.SlabQ_B2X = work_.cD(1);
    work_.SlabQ_B2Y = work_.cD(0);
}

// ---- Pedestal and preview ----

void frmSelectKV::FillPedestalLists(bool keepBarList)
{
    if (!loading_) pedestalTouched_ = true;
    const double fc = selkv::PedestalFc(work_.Fc);
    const std::string name = GetKvDisplayName(workBase_);
    const int16_t zone = GetColumnRebarZone(gCurCol);
    const int16_t centre = work_.CenColWall(0);
    if (zone < 0 || zone > 255 || centre < 0 || centre > 255)
        throw Refusal("柱形の配筋を選べません（配筋の領域または中柱の値が範囲外です）。");
    const BarCandidates c = ListArrangementChoices(CatalogueFile(), name, fc, static_cast<uint8_t>(centre),
                                                   static_cast<uint8_t>(zone), selkv::MainBarText(work_));
    QStringList a, b;
    for (int32_t i = 1; i <= c.rcxCount; ++i) a << Q(vb::CStr(c.rcxList[static_cast<std::size_t>(i)]));
    for (int32_t i = 1; i <= c.rcyCount; ++i) b << Q(vb::CStr(c.rcyList[static_cast<std::size_t>(i)]));
    if (work_.KvRotate == 1) std::swap(a, b);
    lblNoPedestal->setVisible(a.isEmpty() && b.isEmpty());
    dlgkit::Refill(cmbLenA, a);
    dlgkit::Refill(cmbLenB, b);
    if (!keepBarList) {
        const QSignalBlocker quiet(cmbRBar);
        cmbRBar->clear();
        for (int32_t i = 1; i <= c.barCount; ++i) {
            const auto at = static_cast<std::size_t>(i);
            cmbRBar->addItem(Q(vb::Trim(c.barTexts[at])), static_cast<int>(std::lround(c.barDias[at])));
        }
        cmbRBar->setCurrentIndex(-1);
    }
    if (loading_) return;  // the load selects the stored pedestal itself
    if (!keepBarList) LoadSrcRebarDefaults(work_, workBase_, 0);
    SelectPedestalItem(cmbLenA, Q(vb::CStr(work_.cD(0))), {}, work_.cD(0) != 0);
    SelectPedestalItem(cmbLenB, Q(vb::CStr(work_.cD(1))), {}, work_.cD(1) != 0);
    const std::string bar = MainBarKey(text::FieldText(work_.RBarVal), text::FieldText(work_.RBarMat));
    const std::string size = bar.substr(1, bar.find('(') - 1);  // "D22(SD345)": 22
    SelectPedestalItem(cmbRBar, Q(bar), static_cast<int>(std::lround(vb::Val(size))), !size.empty());
}

void frmSelectKV::SelectPedestalItem(QComboBox* list, const QString& text, const QVariant& data, bool show)
{
    if (list->count() > 0 || !show) {
        SelectOrLast(list, text);
        return;
    }
    // The tables offer nothing here (no rows for the model, an H column):
    // the pedestal the column keeps is shown, not stored unseen.
    {
        const QSignalBlocker quiet(list);
        list->addItem(text, data);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(0);
}

void frmSelectKV::ClearModelChoice()
{
    modelLoaded_ = false;
    dlgkit::Refill(cmbAb, {});
    dlgkit::Refill(cmbLenA, {});
    dlgkit::Refill(cmbLenB, {});
    dlgkit::Refill(cmbRBar, {});
    lblNoPedestal->hide();
    chkCenCol->hide();
    HideWarning();
    SetBaseDirectionOptions(std::string(), work_.KvDir);
    kvTarget_->Cls();
    rcTarget_->Cls();
}

void frmSelectKV::CheckPedestal()
{
    if (!loading_) ApplyDefaultArrangement(work_, workBase_);
}

void frmSelectKV::DrawBasePreview()
{
    // The figures read the project arrays, so the working copies stand in
    // for the stored records while they draw.
    const ColumnDataTbl savedColumn = gColumns(gCurCol);
    const KvBaseTbl savedBase = gKvBase(gCurCol);
    drawing::StateGuard restore;
    restore.onExit([&] {
        gColumns(gCurCol) = savedColumn;
        gKvBase(gCurCol) = savedBase;
    });
    gColumns(gCurCol) = work_;
    gKvBase(gCurCol) = workBase_;

    drawing::clsPrintOut po;
    po.setprpMode(2);
    drawing::FigureFrameTbl frame{};
    frame.ScaleX = 95;
    frame.ScaleY = 95;
    frame.Mode = 1;
    const auto drawOn = [&](vbqt::PictureTarget* target, const std::function<void(int16_t&, int16_t&)>& figure) {
        frame.X0 = 0.8 * (target->ScaleWidth() / 2);
        frame.Y0 = 0.8 * (target->ScaleHeight() / 2) - frame.ScaleY;
        po.setprpPicture(target);
        int16_t iCol = gCurCol;
        int16_t dir = gColumns(gCurCol).KvDir;
        try {
            figure(iCol, dir);
        } catch (const std::exception& e) {
            target->Cls();
            std::throw_with_nested(Refusal("柱脚の図を描けませんでした。"));
        }
    };
    const int16_t kind = gColumns(gCurCol).ColV;
    if (kind == selkv::kBox || kind == selkv::kRound)
        drawOn(kvTarget_, [&](int16_t& iCol, int16_t& dir) { drawing::DrawKvFigureTube(po, frame, iCol, dir); });
    else if (kind == selkv::kH)
        drawOn(kvTarget_, [&](int16_t& iCol, int16_t& dir) { drawing::DrawKvFigureH(po, frame, iCol, dir); });
    drawOn(rcTarget_, [&](int16_t& iCol, int16_t& dir) { drawing::DrawRcColumnSection(po, frame, iCol, dir); });
    restore.restore();
}

void frmSelectKV::cmbLenA_Click()
{
    if (!loading_) pedestalTouched_ = true;
    work_.cD(0) = SafeCDbl(S(cmbLenA->currentText()));
    if (!cmbLenB->isEnabledTo(this)) {
        // A square plate: B follows A; a shorter B list keeps A's value.
        work_.cD(1) = work_.cD(0);
        const int at = cmbLenA->currentIndex();
        if (at < cmbLenB->count()) cmbLenB->setCurrentIndex(at);
    }
    CheckPedestal();
    DrawBasePreview();
}

void frmSelectKV::cmbLenB_Click()
{
    if (!loading_) pedestalTouched_ = true;
    work_.cD(1) = SafeCDbl(S(cmbLenB->currentText()));
    CheckPedestal();
    DrawBasePreview();
}

void frmSelectKV::cmbRBar_Click()
{
    if (!loading_) pedestalTouched_ = true;
    work_.RBarVal = std::to_string(cmbRBar->currentData().toInt());
    work_.RBarMat = TextInParens(S(cmbRBar->currentText()));
    FillPedestalLists(true);
    CheckPedestal();
    DrawBasePreview();
}

void frmSelectKV::cmbFc_Click()
{
    // A strength added for the stored column carries its exact value.
    const QVariant exact = cmbFc->currentData();
    work_.Fc = exact.isValid() ? exact.toDouble() : vb::Val(S(cmbFc->currentText()));
    FillPedestalLists(false);
    if (!loading_) DrawBasePreview();
}
