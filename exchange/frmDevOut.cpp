#include "exchange/frmDevOut.h"

#include "exchange/devout_rules.h"
#include "mainwin/load_res_strings.h"
#include "model/globals.h"
#include "model/save_choice.h"
#include "model/texts.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/dialog_kit.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include <cmath>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kHeight = 3735;
constexpr int kSpinRest = 3;

}  // namespace

frmDevOut::frmDevOut(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmDevOut");
    setWindowTitle(QStringLiteral("N-M関係のファイル出力設定"));
    setModal(true);
    BuildControls();
    connect(cmdAllSelect, &QPushButton::clicked, this, [this] { cmdAllSelect_Click(); });
    connect(cmdAllDeselect, &QPushButton::clicked, this, [this] { cmdAllDeselect_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdDevOut, &QPushButton::clicked, this, [this] { cmdDevOut_Click(); });
    connect(txtDevNum, &QLineEdit::textEdited, this, [this] { mblnTyped = true; });
    txtDevNum->installEventFilter(this);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) { VScroll1_Change(v); });
    Form_Load();
}

void frmDevOut::BuildControls()
{
    const auto place = [](QWidget* w, const QString& name, int left, int top, int width, int height) {
        w->setObjectName(name);
        dlgkit::Place(w, left, top, width, height);
    };
    const auto indexed = [](const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); };
    const auto tagged = [](QWidget* w, int id) { w->setProperty("resTag", id); };
    const auto button = [&](const char* name, const char* text, int id, int left, int top) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        tagged(b, id);
        b->setAutoDefault(false);
        place(b, QString::fromLatin1(name), left, top, 1215, 375);
        return b;
    };
    const auto check = [&](QWidget* parent, const QString& name, const char* text, int id, int left, int top) {
        auto* c = new QCheckBox(QString::fromUtf8(text), parent);
        tagged(c, id);
        place(c, name, left, top, 1455, 270);
        return c;
    };

    lvwColumn = new QTreeWidget(this);
    place(lvwColumn, "lvwColumn", 120, 120, 3360, 3480);
    lvwColumn->setRootIsDecorated(false);
    lvwColumn->setSelectionMode(QAbstractItemView::NoSelection);

    cmdAllSelect = button("cmdAllSelect", "すべて選択", 1167, 3600, 120);
    cmdAllDeselect = button("cmdAllDeselect", "すべて解除", 1168, 3600, 600);

    Frame1 = new QGroupBox(QStringLiteral("出力項目"), this);
    tagged(Frame1, 1194);
    place(Frame1, "Frame1", 3600, 1080, 1695, 1455);
    const char* const states[] = {"終局N-M関係", "短期N-M関係", "長期N-M関係"};
    const int stateIds[] = {1164, 1163, 1162};
    // Long-term at the top, ultimate at the bottom.
    for (int i = 0; i < 3; ++i)
        chkDrawNMMode[i] = check(Frame1, indexed("chkDrawNMMode", i), states[i], stateIds[i], 120, 1020 - 360 * i);

    Frame2 = new QGroupBox(QStringLiteral("出力対象"), this);
    tagged(Frame2, 1254);
    place(Frame2, "Frame2", 5520, 120, 1815, 2415);
    const char* const curves[] = {"累加曲線", "鉄骨柱", "コルヴァン", "鉄筋", "コンクリート"};
    for (int i = 0; i < 5; ++i)
        chkDrawNMObj[i] = check(Frame2, indexed("chkDrawNMObj", i), curves[i], 1255 + i, i == 0 ? 120 : 300,
                                300 + 390 * i);

    Label1 = new QLabel(QStringLiteral("分割数"), this);
    tagged(Label1, 1193);
    place(Label1, "Label1", 3720, 2800, 840, 240);
    txtDevNum = new QLineEdit(this);
    place(txtDevNum, "txtDevNum", 4560, 2760, 615, 270);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    place(VScroll1, "VScroll1", 5160, 2760, 255, 270);
    VScroll1->setRange(1, 5);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setValue(kSpinRest);

    cmdDevOut = button("cmdDevOut", "出力(&O)...", 1192, 2520, 3240);
    cmdCancel = button("cmdCancel", "キャンセル", 1170, 3960, 3240);

    setFixedHeight(static_cast<int>(std::lround(kHeight / vbqt::TwipsPerPixelY(*this))));
}

void frmDevOut::Form_Load()
{
    LoadResStrings(this);
    dlgkit::RestorePlace(*this, "DevLeft", "DevTop", 2640, 2640);

    chkDrawNMMode[0]->setChecked(true);
    chkDrawNMMode[1]->setChecked(true);
    chkDrawNMMode[2]->setChecked(false);

    {
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setValue(kSpinRest);
    }
    txtDevNum->setText(Q(vb::CStr(gCond.DevNum)));
    mblnTyped = false;

    const bool sMode = gCond.SMode != kFalse;
    const auto px = [this](int twips) { return dlgkit::PxX(*this, twips); };
    setFixedWidth(px(sMode ? 5490 : 7540));
    cmdDevOut->move(px(sMode ? 2520 : 4570), cmdDevOut->y());
    cmdCancel->move(px(sMode ? 3960 : 6010), cmdCancel->y());
    lvwColumn->resize(lvwColumn->width(), dlgkit::PxY(*this, sMode ? 2940 : 3480));
    for (int i = 0; i < 5; ++i) {
        chkDrawNMObj[i]->setChecked(!sMode && i == 0);
        chkDrawNMObj[i]->setEnabled(!sMode);
    }

    lvwColumn->clear();
    lvwColumn->setColumnCount(2);
    lvwColumn->setHeaderLabels({QStringLiteral("柱名称"), QStringLiteral("型式")});
    // The check box takes room of its own in the first column.
    lvwColumn->setColumnWidth(0, px(1500) + dlgkit::kCheckBoxRoom);
    lvwColumn->setColumnWidth(1, px(2000));
    for (int i = 1; i <= gCond.ColCount; ++i)
        dlgkit::AddCheckableRow(lvwColumn,
                                {Q(vb::Trim(gColumns(i).ColName.value())), Q(vb::Trim(GetKvModelText(gKvBase(i), 50)))},
                                i == 1);
}

exchange::NMFileChoices frmDevOut::Choices() const
{
    exchange::NMFileChoices c;
    c.lvwColumn = dlgkit::CheckStates(lvwColumn);
    for (int i = 0; i < 3; ++i) c.chkDrawNMMode[i] = chkDrawNMMode[i]->isChecked();
    for (int i = 0; i < 5; ++i) c.chkDrawNMObj[i] = chkDrawNMObj[i]->isChecked();
    c.txtDevNum = txtDevNum->text().toStdString();
    return c;
}

void frmDevOut::CheckAll(bool on) { dlgkit::SetAllChecked(lvwColumn, on); }

void frmDevOut::cmdAllSelect_Click() { CheckAll(true); }

void frmDevOut::cmdAllDeselect_Click() { CheckAll(false); }

void frmDevOut::cmdCancel_Click() { reject(); }

void frmDevOut::txtDevNum_LostFocus()
{
    const QString text = Q(exchange::DevNumOnLeave(txtDevNum->text().toStdString()));
    if (text != txtDevNum->text()) txtDevNum->setText(text);
    mblnTyped = false;
}

void frmDevOut::VScroll1_Change(int value)
{
    if (value == kSpinRest) return;
    const QString text = Q(exchange::DevNumSpin(txtDevNum->text().toStdString(), value));
    if (text != txtDevNum->text()) txtDevNum->setText(text);
    const QSignalBlocker quiet(VScroll1);
    VScroll1->setValue(kSpinRest);
}

void frmDevOut::cmdDevOut_Click()
{
    // Pressed by its mnemonic or by Enter, the button leaves the focus in the
    // count box: a typed count is brought into range all the same.
    if (mblnTyped) txtDevNum_LostFocus();
    ui::FileRequest r;
    r.save = true;
    r.initDir = gFileDir;
    r.filter = "ｶﾝﾏ区切りﾃｷｽﾄﾌｧｲﾙ (*.csv)|*.csv";
    r.defaultExt = "csv";
    r.fileName = "text";
    const SavePathChoice choice = ChooseSavePath(r);
    using Outcome = SavePathChoice::Outcome;
    if (choice.outcome == Outcome::DialogCancelled) return;
    if (choice.outcome == Outcome::OverwriteCancelled) {
        reject();
        return;
    }
    exchange::NMFileChoices c = Choices();
    c.path = choice.path;
    // After a failure the dialog stays, so the user can try another file.
    if (exchange::ExportNMFile(c)) accept();
}

bool frmDevOut::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtDevNum && event->type() == QEvent::FocusOut) txtDevNum_LostFocus();
    return QDialog::eventFilter(watched, event);
}

void frmDevOut::done(int r)
{
    Form_Unload();
    QDialog::done(r);
}

void frmDevOut::Form_Unload() { dlgkit::SavePlace(*this, "DevLeft", "DevTop"); }
