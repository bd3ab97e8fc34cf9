#include "exchange/frmSelImportKV.h"

#include "exchange/import_base_choice.h"
#include "mainwin/load_res_strings.h"
#include "model/globals.h"
#include "model/texts.h"
#include "platform/qt/font_map.h"
#include "platform/store/store.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

using namespace model;

namespace {

const char* const kHint = "一方向偏心タイプ(KS)を選択された場合はインポート完了後に編集画面で方向を設定してください。";
const char* const kNoCandidate =
    "選択できるコルヴァンがありません。データを読み飛ばしますのでキャンセルを押してください。";

template <std::size_t N>
QString Shown(const text::FixedText<N>& field)
{
    return QString::fromStdString(vb::Trim(text::FieldText(field)));
}

}  // namespace

frmSelImportKV::frmSelImportKV(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSelImportKV");
    setWindowTitle(QStringLiteral("コルヴァンの選択"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    auto label = [](QWidget* parent, const char* name) {
        auto* l = new QLabel(parent);
        l->setObjectName(name);
        return l;
    };
    Label3 = label(this, "Label3");
    Label3->setText(QStringLiteral("インポート元のデータに不備があります。\nコルヴァンを選択してください。"));
    Frame1 = new QGroupBox(QStringLiteral("柱仕様"), this);
    Frame1->setObjectName("Frame1");
    Label4 = label(Frame1, "Label4");
    Label5 = label(Frame1, "Label5");
    Label2 = label(Frame1, "Label2");
    Frame2 = new QGroupBox(QStringLiteral("柱脚仕様"), this);
    Frame2->setObjectName("Frame2");
    cmbKV = new QComboBox(Frame2);
    cmbKV->setObjectName("cmbKV");
    cmbKV->setMinimumWidth(180);
    cmbAb = new QComboBox(Frame2);
    cmbAb->setObjectName("cmbAb");
    cmbAb->setMinimumWidth(80);
    Label1 = label(Frame2, "Label1");
    Label1->setText(QString::fromUtf8(kHint));
    Label1->setWordWrap(true);
    cmdEnd = new QPushButton(QStringLiteral("決定"), this);
    cmdEnd->setObjectName("cmdEnd");
    cmdEnd->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);

    auto* column = new QVBoxLayout(Frame1);
    column->addWidget(Label4);
    column->addWidget(Label5);
    column->addWidget(Label2);
    auto* lists = new QHBoxLayout;
    lists->addWidget(cmbKV, 1);
    lists->addWidget(cmbAb);
    auto* base = new QVBoxLayout(Frame2);
    base->addLayout(lists);
    base->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnd);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto* all = new QVBoxLayout(this);
    all->addWidget(Label3);
    all->addWidget(Frame1);
    all->addWidget(Frame2);
    all->addLayout(buttons);
    setMinimumWidth(420);

    dlgkit::ConnectSelect(this, cmbKV, &frmSelImportKV::cmbKV_Click, actions_);
    dlgkit::ConnectSelect(this, cmbAb, &frmSelImportKV::cmbAb_Click, actions_);
    connect(cmdEnd, &QPushButton::clicked, this, &frmSelImportKV::cmdEnd_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelImportKV::cmdCancel_Click);
    Form_Load();
}

void frmSelImportKV::Form_Load()
{
    LoadResStrings(this);
    n_ = gCond.ColCount;
    ColumnDataTbl& col = gColumns(n_);
    Label4->setText(QStringLiteral("柱名称 ： ") + Shown(col.ColName));
    Label5->setText(QStringLiteral("型　式 ： ") + Shown(gKvBase(n_).KvName));
    int16_t index = static_cast<int16_t>(n_);
    std::string main;
    std::string second;
    std::string material;
    Label2->setText(QString::fromStdString(GetColumnSectionText(index, main, second, material)));
    dlgkit::SetColour(Label3, QPalette::WindowText, 0x0000FF);

    // "決定" only once a listed model is selected.
    cmdEnd->setEnabled(false);
    dlgkit::Refill(cmbKV, {});
    dlgkit::Refill(cmbAb, {});
    if (col.ColV < 0 || col.ColV > 2) return;
    exchange::ImportKvCandidates list;
    try {
        list = exchange::ListImportKvCandidates(col);
    } catch (const std::exception&) {
        return;
    }
    if (!list.sized) {
        col.KolvanID = 0;
        Label1->setText(QString::fromUtf8(kNoCandidate));
        return;
    }
    QStringList names;
    for (const std::string& s : list.names) names << QString::fromStdString(s);
    dlgkit::Refill(cmbKV, names);
    if (list.firstId != 0) col.KolvanID = list.firstId;
    if (names.isEmpty()) {
        Label1->setText(QString::fromUtf8(kNoCandidate));
        return;
    }
    cmdEnd->setEnabled(true);
    cmbKV->setCurrentIndex(0);
}

void frmSelImportKV::cmbKV_Click()
{
    ColumnDataTbl& col = gColumns(n_);
    col.KolvanID = exchange::ImportKvIdOfName(cmbKV->currentText().toStdString());
    const exchange::ImportKvBolts bolts = exchange::ImportKvDiameters(col.KolvanID);
    QStringList items;
    for (const std::string& d : bolts.diameters) items << QString::fromStdString(d);
    dlgkit::Refill(cmbAb, items);
    cmbAb->setEnabled(bolts.kvV != 2 && items.size() > 1);
    if (bolts.kvV != 2 && !items.isEmpty()) cmbAb->setCurrentIndex(0);
    col.AbNum = 1;
}

void frmSelImportKV::cmbAb_Click() { gColumns(n_).AbNum = static_cast<int16_t>(cmbAb->currentIndex() + 1); }

void frmSelImportKV::cmdEnd_Click()
{
    if (cmbKV->currentIndex() < 0) return;
    accept();
}

void frmSelImportKV::cmdCancel_Click() { reject(); }

void frmSelImportKV::reject()
{
    // Closing the window skips the column as "キャンセル" does.
    gColumns(n_).KolvanID = 0;
    QDialog::reject();
}
