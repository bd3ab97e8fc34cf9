// H sections, the model with its bolts and direction, the pedestal and the
// preview. Each handler does what the column and series choices rely on so
// far; the steps still to come are marked "Still to come".
#include "dialogs/frmSelectKV.h"

#include "dialogs/select_kv_rules.h"
#include "model/base_data.h"
#include "model/catalogue.h"
#include "model/globals.h"
#include "platform/text/vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <stdexcept>

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
    Refill(cmbHSize, items);
    SelectFirst(cmbHSize);
}

void frmSelectKV::cmbHSize_Click()
{
    if (work_.ColV != 2) return;
    const auto at = static_cast<std::size_t>(cmbHSize->currentIndex());
    if (at >= hSizeIds_.size()) return;
    work_.ColID = hSizeIds_[at];
    auto db = OpenCatalogue();
    {
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
    Refill(cmbKV, names);
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
    // Still to come: the fit of the H column inside the chosen base.
}

// ---- Model, bolts and direction ----

void frmSelectKV::cmbKV_Click()
{
    modelLoaded_ = false;
    // Still to come: the direction reset between "KC" and "KS" models.
    const std::string name = S(cmbKV->currentText());
    int16_t series = 0;
    {
        auto db = OpenCatalogue();
        {
            auto rs = db.openRecordset(selkv::ModelIdQuery(name));
            if (rs.eof()) throw std::runtime_error("カタログに柱脚の形式 " + name + " がありません。");
            work_.KolvanID = CatalogueInt32(rs, "ID");
        }
        auto rs = db.openRecordset(selkv::ModelBoltsQuery(work_.KolvanID));
        if (rs.eof()) throw std::runtime_error("カタログに柱脚の形式 " + name + " がありません。");
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
        Refill(cmbAb, bolts);
    }
    if (series != 2) SelectFirst(cmbAb);
    work_.AbNum = 1;
    workBase_.AbNum = 1;
    LoadKvBaseData(work_.KolvanID, 1, workBase_);
    work_.KvV = workBase_.KvV;
    modelLoaded_ = true;
    // Still to come: the centre-column box and the plate warning, the
    // direction options, the base geometry, the pedestal lists and sizes, the
    // preview, the H fit and the square-plate state of cmbLenB.
}

void frmSelectKV::cmbAb_Click()
{
    const auto abNum = static_cast<int16_t>(cmbAb->currentIndex() + 1);
    work_.AbNum = abNum;
    workBase_.AbNum = abNum;
    LoadKvBaseData(work_.KolvanID, abNum, workBase_);
    // Still to come: the base geometry, the pedestal lists and sizes.
}

void frmSelectKV::chkCenCol_Click()
{
    work_.CenColWall(0) = chkCenCol->isChecked() ? 1 : 0;
    FillPedestalLists(false);
}

void frmSelectKV::optKVDir_Click(int Index)
{
    work_.KvDir = static_cast<int16_t>(Index);
    const bool kc = vb::Trim(workBase_.KvName.value()).rfind("KC", 0) == 0;
    work_.KvRotate = kc ? 0 : static_cast<int16_t>(Index % 2);
    // Still to come: the base geometry, the pedestal lists and sizes, the preview.
}

void frmSelectKV::SetBaseDirectionOptions(const std::string& modelName, int16_t direction)
{
    Frame6->setEnabled(false);
    if (direction >= 0 && direction <= 3) optKVDir[direction]->setChecked(true);
    for (QRadioButton* o : optKVDir) o->setEnabled(false);
    const std::string n = vb::Trim(modelName);
    int enabled = 0;
    if (n.size() >= 2 && n[0] == 'K' && (n[1] == 'C' || n[1] == 'S'))
        enabled = 4;
    else if (!n.empty() && n[0] == 'H')
        enabled = 2;
    if (enabled == 0) return;
    Frame6->setEnabled(true);
    for (int i = 0; i < enabled; ++i) optKVDir[i]->setEnabled(true);
}

// ---- Pedestal and preview ----

void frmSelectKV::FillPedestalLists(bool /*keepBarList*/)
{
    // Still to come: the pedestal sizes and bars of the arrangement tables.
}

void frmSelectKV::DrawBasePreview()
{
    // Still to come: the base and pedestal previews.
}

void frmSelectKV::cmbLenA_Click()
{
    // Still to come.
}

void frmSelectKV::cmbLenB_Click()
{
    // Still to come.
}

void frmSelectKV::cmbRBar_Click()
{
    // Still to come.
}

void frmSelectKV::cmbFc_Click()
{
    work_.Fc = vb::Val(S(cmbFc->currentText()));
    FillPedestalLists(false);
}
