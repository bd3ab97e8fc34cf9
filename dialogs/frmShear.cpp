#include "dialogs/frmShear.h"

#include "dialogs/fc_list.h"
#include "drawing/state_guard.h"
#include "engine/kv.h"
#include "mainwin/col_section_picture.h"
#include "mainwin/load_res_strings.h"
#include "model/adapter.h"
#include "model/format.h"
#include "model/direction.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/texts.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "reports/frmPreview.h"
#include "reports/shear_page.h"
#include "widgets/fitted_text.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <exception>

using namespace model;

namespace {

constexpr const char* kErrorTitle = "せん断力の検討";
constexpr const char* kFailedText = "せん断力の検討で処理を続けられませんでした。";

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

bool ShearSeries(int16_t series) { return series == 1 || series == 4 || series == 5 || series == 6; }
// Series whose bolts can carry shear through welded washers.
bool WasherSeries(int16_t series) { return series == 1 || series == 5; }

}  // namespace

frmShear::frmShear(QWidget* parent) : QDialog(parent), actions_(kErrorTitle, kFailedText)
{
    setObjectName("frmShear");
    setWindowTitle(QStringLiteral("せん断力の検討"));
    BuildControls();
    ConnectControls();
    Form_Load();
}

int frmShear::exec()
{
    if (refused_) return QDialog::Rejected;
    return QDialog::exec();
}

// ---- Controls ----

void frmShear::BuildControls()
{
    const auto place = [](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setObjectName(QString::fromLatin1(name));
        dlgkit::Place(w, left, top, width, height);
    };
    const auto label = [&](const char* name, const char* text, int left, int top, int width) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        place(l, name, left, top, width, 255);
        return l;
    };
    // Names of any length are read whole: condensed to their labels.
    const auto nameLabel = [&](const char* name, int left, int top, int width) {
        auto* l = new FittedLabel(this);
        place(l, name, left, top, width, 255);
        return l;
    };
    lblColName = nameLabel("lblColName", 120, 120, 2400);
    lblKvName = nameLabel("lblKvName", 2640, 120, 2760);
    lblCond = label("lblCond", "", 120, 420, 2400);
    lblStress = label("lblStress", "", 2640, 420, 2400);
    lblEq = label("lblEq", "", 240, 840, 5100);
    lblQu = label("lblQu", "", 240, 1200, 2000);
    lblJadge = label("lblJadge", "", 2400, 1200, 800);
    lblQu0 = label("lblQu0", "", 240, 1440, 3000);
    lblQu1 = label("lblQu1", "", 240, 1680, 3000);
    lblQu2 = label("lblQu2", "", 240, 1920, 3000);
    lblCQu0 = label("lblCQu0", "", 240, 2340, 5100);
    chkWeldWasher = new QCheckBox(this);
    place(chkWeldWasher, "chkWeldWasher", 240, 2640, 5520, 285);
    chkSlab = new QCheckBox(this);
    place(chkSlab, "chkSlab", 240, 2940, 5520, 285);

    Label1 = label("Label1", "右図を参照し、寸法を入力確認してください", 240, 3360, 5100);
    lbl_L1 = label("lbl_L1", "", 240, 3720, 1500);
    lbl_d1 = label("lbl_d1", "", 1920, 3720, 1500);
    lbl_B1 = label("lbl_B1", "", 240, 4050, 1500);
    label("lbl_B2", "B2=", 1920, 4050, 420);
    txt_B2 = new QLineEdit(this);
    place(txt_B2, "txt_B2", 2340, 4020, 900, 285);
    label("lbl_d2", "d2=", 3480, 4050, 420);
    txt_d2 = new QLineEdit(this);
    place(txt_d2, "txt_d2", 3900, 4020, 900, 285);
    Label2 = label("Label2", "スラブ強度", 240, 4440, 1200);
    cmbSlabFc = new QComboBox(this);
    place(cmbSlabFc, "cmbSlabFc", 1440, 4410, 1200, 315);

    pctRCColSec = new QLabel(this);
    place(pctRCColSec, "pctRCColSec", 5880, 120, 3480, 4560);
    pctRCColSec->setAlignment(Qt::AlignCenter);
    pctRCColSec->setFrameShape(QFrame::Box);

    const auto button = [&](const char* name, const char* text, int resTag, int left) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        if (resTag) b->setProperty("resTag", resTag);
        b->setAutoDefault(false);
        place(b, name, left, 4860, 1440, 420);
        return b;
    };
    cmdPrint = button("cmdPrint", "印刷", 0, 120);
    cmdPreview = button("cmdPreview", "印刷ﾌﾟﾚﾋﾞｭｰ", 0, 1680);
    cmdEnd = button("cmdEnd", "決定", 1112, 6360);
    cmdCancel = button("cmdCancel", "キャンセル", 1111, 7920);

    setFixedSize(dlgkit::PxX(*this, 9480), dlgkit::PxY(*this, 5460));
}

void frmShear::ConnectControls()
{
    // Only a user's click runs the method handlers; the load sets the boxes.
    connect(chkWeldWasher, &QCheckBox::clicked, this, [this] { Act([this] { chkWeldWasher_Click(); }); });
    connect(chkSlab, &QCheckBox::clicked, this, [this] { Act([this] { chkSlab_Click(); }); });
    dlgkit::ConnectSelect(this, cmbSlabFc, &frmShear::cmbSlabFc_Click, actions_);
    connect(txt_B2, &QLineEdit::returnPressed, this, [this] { Act([this] { txt_B2_Confirm(); }); });
    connect(txt_d2, &QLineEdit::returnPressed, this, [this] { Act([this] { txt_d2_Confirm(); }); });
    txt_B2->installEventFilter(this);
    txt_d2->installEventFilter(this);
    connect(cmdEnd, &QPushButton::clicked, this, [this] { Act([this] { cmdEnd_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { Act([this] { cmdPreview_Click(); }); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { Act([this] { cmdPrint_Click(); }); });
}

bool frmShear::eventFilter(QObject* watched, QEvent* event)
{
    for (QLineEdit* box : {txt_B2, txt_d2}) {
        if (watched != box) continue;
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
        else if (event->type() == QEvent::FocusOut)
            Act([this, box] { box == txt_B2 ? txt_B2_Confirm() : txt_d2_Confirm(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmShear::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (series_ == 1 || series_ == 4 || series_ == 5) QTimer::singleShot(0, cmbSlabFc, [this] { cmbSlabFc->setFocus(); });
}

// ---- Load ----

void frmShear::Form_Load()
{
    Act([this] {
        series_ = gKvBase(gCurCol).KvV;
        if (!ShearSeries(series_)) {
            // Nothing is shown, sent or changed.
            refused_ = true;
            return;
        }
        LoadResStrings(this);
        base_ = gKvBase(gCurCol);
        col_ = gColumns(gCurCol);
        res_ = gResults(gCurCol);
        const int16_t d = gShearDir;
        const int16_t k = gShearCase;

        engineDir_ = model::EngineDirection(base_, col_, static_cast<int16_t>(d == 1 ? 1 : 0));

        SendEngineInputs();

        const int16_t f = MethodBits();
        chkWeldWasher->setChecked((f & 1) != 0);
        chkSlab->setChecked((f & 2) != 0);
        changed_ = gDataChanged;
        lblColName->setText(Q(vb::Trim(col_.ColName.value())));

        const long row = 3L * d;
        const double u = gUnitFactor;
        lblStress->setText(Q("Q=" + FormatValue(u * res_.DesignStress(row + 3, k), 2)));
        const std::string dirText = d == 0 ? "X方向 " : "Y方向 ";

        // The widths the check of this direction sends, not those named like it.
        const bool xWidths = model::SlabWidthField(col_, engineDir_) == 0;
        lbl_B1->setText(Q("B1=" + FormatValue(xWidths ? col_.SlabQ_B1X : col_.SlabQ_B1Y, 0)));
        const double b2 = xWidths ? col_.SlabQ_B2X : col_.SlabQ_B2Y;
        dlgkit::ShowNumber(txt_B2, b2, Q(FormatValue(b2, 0)));
        lbl_d1->setText(Q("d1=" + FormatValue(col_.SlabQ_d1, 0)));
        lbl_L1->setText(Q("L1=" + FormatValue(base_.L1, 0)));
        dlgkit::ShowNumber(txt_d2, col_.SlabQ_d2, Q(FormatValue(col_.SlabQ_d2, 0)));

        std::string caseText;
        switch (k) {
        case 1: caseText = "長期", symbol_ = "lQa"; break;
        case 4: caseText = "短期Ｌ", symbol_ = "sQa"; break;
        case 5: caseText = "短期Ｒ", symbol_ = "sQa"; break;
        case 6: caseText = "終局Ｌ", symbol_ = "Qu"; break;
        case 7: caseText = "終局Ｒ", symbol_ = "Qu"; break;
        default: break;
        }
        lblCond->setText(Q(dirText + caseText));

        const bool recess = series_ == 4 || series_ == 5;
        lblCQu0->setText(Q(symbol_ + "0：ベース底面の摩擦で負担させる" + (recess ? ".(底面凹部考慮)" : "")));

        const bool washers = WasherSeries(series_);
        chkWeldWasher->setVisible(washers);
        lblQu1->setVisible(washers);
        dlgkit::Place(lblQu2, 240, washers ? 1920 : 1680, 3000, 255);
        if (washers) {
            chkWeldWasher->setText(Q("座金を溶接し、アンカーボルトに負担させる (" + symbol_ + "1)"));
            lblEq->setText(Q(symbol_ + " =  max(" + symbol_ + "0 ," + symbol_ + "1) + " + symbol_ + "2"));
        } else {
            lblEq->setText(Q(symbol_ + " =  " + symbol_ + (series_ == 6 ? "0 or " : "0 + ") + symbol_ + "2"));
        }
        const bool slab = series_ != 6;
        for (QWidget* w : std::initializer_list<QWidget*>{lbl_L1, lbl_d1, lbl_B1, txt_d2, txt_B2, Label1, Label2,
                                                          cmbSlabFc, findChild<QLabel*>("lbl_B2"),
                                                          findChild<QLabel*>("lbl_d2")})
            w->setVisible(slab);

        msub_ShowShearResults();
        chkSlab->setText(Q("スラブへ埋め込み、コンクリートの支圧に負担させる (" + symbol_ + "2)"));
        FillFcCombo(cmbSlabFc, col_.SlabFc);

        lblKvName->setText(Q(GetKvNameByIndex(gCurCol)));
        const QPixmap picture = CurrentColSectionPicture(base_);
        pctRCColSec->setPixmap(picture.isNull() ? picture
                                                : picture.scaled(pctRCColSec->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation));
    });
}

void frmShear::SendEngineInputs()
{
    // What the column check sends for this column and case, so that the
    // dialog's capacities are the table's whatever was checked last.
    const int16_t d = gShearDir;
    const int16_t k = gShearCase;
    KvEngineRef engine(*gKv);
    gKv->setSlabFc(col_.SlabFc);
    SetKvBaseInputs(engine, col_);
    gKv->setLumoQuCond(col_.LumoQuCond(d, (k == 5 || k == 7) ? 2 : 1));
    gKv->setFShear(MethodBits());
    gKv->setDirection(engineDir_);
    const long row = 3L * d;
    const double u = gUnitFactor;
    gKv->setMomentLoad(u * res_.DesignStress(row + 2, k));
    gKv->setVerticalLoad(u * res_.DesignStress(row + 1, k));
    gKv->setShearLoad(u * res_.DesignStress(row + 3, k));
    SetKvSlabInputs(engine, col_);
    switch (k) {
    case 1: gKv->setCondition(2); break;
    case 4:
    case 5: gKv->setCondition(1); break;
    case 6:
    case 7: gKv->setCondition(0); break;
    default: break;
    }
}

// ---- Printing ----

bool frmShear::psub_Print(vbqt::PageTarget& target, int /*mode*/)
{
    // The page checks the whole column on the engine; the dialog goes on
    // reading the engine after each change, so it gets its own inputs back.
    drawing::StateGuard back;
    back.onExit([this] { SendEngineInputs(); });
    target.StartDoc();
    back.onExit([&target] { target.EndDoc(); });
    drawing::clsPrintOut po;
    po.setprpMode(1);
    po.setprpVsPrinter(&target);
    reports::PrintShearCheckPage(po, col_, res_, base_, 1, gShearDir, gShearCase);
    back.restore();
    return true;
}

void frmShear::cmdPreview_Click()
{
    reports::frmPreview preview(this);
    preview.setprpPrintForm(this);
    preview.setprpPrintMode(3);
    preview.exec();
}

void frmShear::cmdPrint_Click()
{
    printControl_.setPaperSize(9);
    printControl_.setOrientation(0);
    try {
        psub_Print(printControl_, 3);
    } catch (const std::exception& e) {
        ui::Current().message("印刷できませんでした。\r" + model::TellFailure(e), "印刷", ui::MessageKind::Critical);
        return;
    }
    reports::PrintOnCurrentPrinter(printControl_, "印刷", "印刷できませんでした。\r");
}

// ---- Methods, slab and results ----

int16_t& frmShear::MethodBits() { return col_.FShear(gShearCase, gShearDir); }

void frmShear::StoreMethod(int16_t f)
{
    MethodBits() = f;
    gKv->setFShear(f);
    ShowQuAndVerdict();
}

void frmShear::ShowQuAndVerdict()
{
    res_.Qu(gShearDir, gShearCase) = gKv->Qu();
    res_.JadgeQ(gShearDir, gShearCase) = gKv->JadgeQ();
    SetQuAndVerdictTexts();
}

void frmShear::SetQuAndVerdictTexts()
{
    const int16_t d = gShearDir, k = gShearCase;
    lblQu->setText(Q(symbol_ + "=" + FormatValue(res_.Qu(d, k), 2)));
    lblJadge->setText(res_.JadgeQ(d, k) != 0 ? "OK" : "NG");
}

void frmShear::chkWeldWasher_Click()
{
    changed_ = true;
    const int16_t f = MethodBits();
    StoreMethod(static_cast<int16_t>(chkWeldWasher->isChecked() ? ((f & 2) | 1) : (f & 2)));
}

void frmShear::chkSlab_Click()
{
    changed_ = true;
    const int16_t f = MethodBits();
    StoreMethod(static_cast<int16_t>(chkSlab->isChecked() ? ((f & 1) + 2) : (f & 1)));
}

void frmShear::cmbSlabFc_Click()
{
    col_.SlabFc = vb::Val(S(cmbSlabFc->currentText()));
    gKv->setSlabFc(col_.SlabFc);
    msub_GetShearResults();
    msub_ShowShearResults();
}

void frmShear::txt_B2_Confirm()
{
    // Passing through the box is no entry: the width stays as stored, not as
    // rounded for the box.
    if (!dlgkit::Edited(txt_B2)) return;
    const double x = dlgkit::TakeNumber(txt_B2);
    // Stored where the next check of the column takes it for this direction.
    const bool xWidths = model::SlabWidthField(col_, engineDir_) == 0;
    double& b1 = xWidths ? col_.SlabQ_B1X : col_.SlabQ_B1Y;
    double& b2 = xWidths ? col_.SlabQ_B2X : col_.SlabQ_B2Y;
    bool taken = false;
    if (std::fabs(x) >= b1) {
        try {
            if (engineDir_ == 0)
                gKv->setSlabQ_B2X(x);
            else
                gKv->setSlabQ_B2Y(x);
            taken = true;
        } catch (const std::exception&) {
            // A width the check cannot take (below zero) keeps the old one.
        }
    }
    if (taken)
        b2 = x;
    else
        dlgkit::ShowNumber(txt_B2, b2, Q(vb::CStr(b2)));
    msub_GetShearResults();
    msub_ShowShearResults();
}

void frmShear::txt_d2_Confirm()
{
    if (!dlgkit::Edited(txt_d2)) return;
    double d = dlgkit::TakeNumber(txt_d2);
    if (series_ == 4 || series_ == 6) {
        const double lc = gKvBase(gCurCol).L_C;
        if (d < lc) {
            d = lc;
            dlgkit::ShowNumber(txt_d2, d, Q(FormatValue(d, 0)));
        }
    }
    if (std::fabs(d) > base_.L1) {
        gKv->setSlabQ_d2(d);
        col_.SlabQ_d2 = d;
        col_.SlabQ_d1 = gKv->SlabQ_d1();
        lbl_d1->setText(Q("d1=" + FormatValue(col_.SlabQ_d1, 0)));
    }
    msub_GetShearResults();
    msub_ShowShearResults();
}

void frmShear::msub_GetShearResults()
{
    const int16_t d = gShearDir, k = gShearCase;
    res_.Qu(d, k) = gKv->Qu();
    res_.Qu0(d, k) = gKv->Qu0();
    res_.Qu1(d, k) = gKv->Qu1();
    res_.Qu2(d, k) = gKv->Qu2();
    res_.JadgeQ(d, k) = gKv->JadgeQ();
}

void frmShear::msub_ShowShearResults()
{
    const int16_t d = gShearDir, k = gShearCase;
    SetQuAndVerdictTexts();
    lblQu0->setText(Q("    " + symbol_ + "0=" + FormatValue(res_.Qu0(d, k), 2)));
    if (WasherSeries(series_)) lblQu1->setText(Q("    " + symbol_ + "1=" + FormatValue(res_.Qu1(d, k), 2)));
    lblQu2->setText(Q("    " + symbol_ + "2=" + FormatValue(res_.Qu2(d, k), 2)));
}

// ---- 決定, キャンセル ----

void frmShear::cmdEnd_Click()
{
    // Sizes and strength are the project's too: a change of them alone also
    // marks the project changed, so that leaving asks to save it.
    const bool differs = !(col_ == gColumns(gCurCol));
    gColumns(gCurCol) = col_;
    gResults(gCurCol) = res_;
    gDataChanged = changed_ || differs;
    accept();
}

void frmShear::cmdCancel_Click() { reject(); }
