#include "dialogs/frmSRCInput.h"

#include "dialogs/fc_list.h"
#include "dialogs/src_section.h"
#include "drawing/figure_frame.h"
#include "drawing/kv_figure_src.h"
#include "drawing/print_out.h"
#include "engine/kv.h"
#include "mainwin/load_res_strings.h"
#include "model/adapter.h"
#include "model/base_data.h"
#include "model/catalogue.h"
#include "model/failure.h"
#include "model/globals.h"
#include "model/sections.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdint>
#include <stdexcept>

using namespace model;

namespace {

constexpr const char* kAppTitle = "ヴェンドラS＆SRC柱脚検討";
constexpr const char* kFailedText = "SRC柱の指定で処理を続けられませんでした。";
constexpr const char* kNoModelText = "コルヴァンが選択されていません。";
constexpr const char* kTooSmallText = "RC柱形サイズがコルヴァンより小さくなっています。";
constexpr const char* kBarCountText =
    "鉄筋の本数が扱える範囲（-32768～32767、本数から求める中子筋の本数も）を超えています。";
// The back colour of the section plan and of what sits on it.
constexpr int32_t kPlanColour = vbqt::RGB(196, 222, 196);

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }
std::string Shown(double v) { return vb::Trim(vb::Str(v)); }

void SendBaseInputs(const ColumnDataTbl& col)
{
    KvEngineRef engine(*gKv);
    SetKvBaseInputs(engine, col);
}

void SendSrcInputs(const ColumnDataTbl& col)
{
    KvEngineRef engine(*gKv);
    SetKvSrcInputs(engine, col);
}

// The entry whose trimmed text is text; none leaves the list without a selection.
void SelectTrimmed(QComboBox* list, const std::string& text)
{
    const int i = SelectComboItem(list, Q(vb::Trim(text)));
    if (i >= 0) list->setCurrentIndex(i);
}

}  // namespace

frmSRCInput::frmSRCInput(QWidget* parent) : QDialog(parent), actions_(kAppTitle, kFailedText)
{
    setObjectName("frmSRCInput");
    setWindowTitle(QStringLiteral("SRC用コルヴァンと柱の指定"));
    BuildControls();
    ConnectControls();
    Form_Load();
}

// ---- Controls ----

void frmSRCInput::BuildControls()
{
    const auto place = [](QWidget* w, const QString& name, int left, int top, int width, int height) {
        w->setObjectName(name);
        dlgkit::Place(w, left, top, width, height);
    };
    const auto indexed = [](const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); };
    const auto frame = [&](const char* name, const char* title, int resTag, int left, int top, int width,
                           int height) {
        auto* f = new QGroupBox(QString::fromUtf8(title), this);
        if (resTag) f->setProperty("resTag", resTag);
        place(f, QString::fromLatin1(name), left, top, width, height);
        return f;
    };
    const auto label = [&](QWidget* parent, const QString& name, const char* text, int left, int top, int width) {
        auto* l = new QLabel(QString::fromUtf8(text), parent);
        place(l, name, left, top, width, 240);
        return l;
    };
    const auto list = [&](QWidget* parent, const char* name, int left, int top, int width) {
        auto* c = new QComboBox(parent);
        place(c, QString::fromLatin1(name), left, top, width, 315);
        return c;
    };
    const auto box = [&](QWidget* parent, const QString& name, int left, int top, int width) {
        auto* e = new QLineEdit(parent);
        place(e, name, left, top, width, 285);
        return e;
    };

    // Base type, model, bolt and direction.
    QGroupBox* Frame1 = frame("Frame1", "コルヴァン", 1257, 120, 60, 4800, 1800);
    const char* const types[] = {"X", "T", "LL", "LR", "H"};
    for (int i = 0; i < 5; ++i) {
        optSrcKvType[i] = new QRadioButton(QString::fromLatin1(types[i]), Frame1);
        place(optSrcKvType[i], indexed("optSrcKvType", i), 240 + 900 * i, 270, 800, 300);
    }
    cmbSrcKv = list(Frame1, "cmbSrcKv", 240, 660, 2520);
    lblAbD = label(Frame1, "lblAbD", "", 2940, 690, 1200);
    Frame5 = frame("Frame5", "角度", 1260, 120, 1080, 4800, 600);
    Frame5->setParent(Frame1);
    dlgkit::Place(Frame5, 120, 1080, 4560, 600);
    const char* const dirs[] = {"0ﾟ", "90ﾟ", "180ﾟ", "270ﾟ"};
    for (int i = 0; i < 4; ++i) {
        optDir[i] = new QRadioButton(QString::fromUtf8(dirs[i]), Frame5);
        optDir[i]->setProperty("resTag", 1261 + i);
        place(optDir[i], indexed("optDir", i), 120 + 1080 * i, 240, 1000, 300);
    }
    optDir[0]->setChecked(true);  // before any handler is connected

    // Steel grade and section properties.
    QGroupBox* Frame2 = frame("Frame2", "鉄骨仕様", 0, 120, 1920, 4800, 1980);
    label(Frame2, "lblColMat", "材質", 240, 330, 600);
    cmbColMat = list(Frame2, "cmbColMat", 840, 300, 1800);
    cmdCalc = new QPushButton(QStringLiteral("計算"), Frame2);
    cmdCalc->setProperty("resTag", 1226);
    cmdCalc->setAutoDefault(false);
    place(cmdCalc, "cmdCalc", 3360, 270, 1200, 375);
    const char* const specLabels[] = {"sA(cm2)", "sZx(cm3)", "sZpx(cm3)", "spcx",
                                      "sAy(cm2)", "sZy(cm3)", "sZpy(cm3)", "spcy"};
    for (int k = 0; k < 8; ++k) {
        // X in the left column, Y in the right; the Y area never shows.
        const int left = k < 4 ? 240 : 2520;
        const int top = 720 + 300 * (k % 4);
        lblSrcColSpec[k] = label(Frame2, indexed("lblSrcColSpec", k), specLabels[k], left, top + 30, 1000);
        txtSrcColSpec[k] = box(Frame2, indexed("txtSrcColSpec", k), left + 1020, top, 1080);
    }
    lblSrcColSpec[4]->hide();
    txtSrcColSpec[4]->hide();

    // Bars.
    QGroupBox* Frame3 = frame("Frame3", "鉄筋仕様", 0, 120, 3960, 4800, 1680);
    label(Frame3, "lblRBarMat", "材質", 240, 330, 600);
    cmbRBarMat = list(Frame3, "cmbRBarMat", 840, 300, 1200);
    label(Frame3, "lblRBarVal", "呼び径", 2280, 330, 700);
    cmbRBarVal = list(Frame3, "cmbRBarVal", 3000, 300, 1200);
    const char* const barLabels[] = {"X本数", "Ｙ本数", "Ｘ引張鉄筋", "Ｙ引張鉄筋"};
    for (int i = 2; i < 6; ++i) {
        const int left = (i % 2 == 0) ? 240 : 2520;
        const int top = i < 4 ? 720 : 1020;
        label(Frame3, indexed("lblRBarSpec", i), barLabels[i - 2], left, top + 30, 1080);
        txtRBarSpec[i] = box(Frame3, indexed("txtRBarSpec", i), left + 1260, top, 780);
    }
    const char* const tabane[] = {"X束ね筋", "Y束ね筋"};
    for (int i = 0; i < 2; ++i) {
        chkRBarTabane[i] = new QCheckBox(QString::fromUtf8(tabane[i]), Frame3);
        place(chkRBarTabane[i], indexed("chkRBarTabane", i), 240 + 2280 * i, 1340, 1800, 270);
    }

    QGroupBox* Frame6 = frame("Frame6", "コンクリート強度", 0, 120, 5700, 4800, 660);
    label(Frame6, "lblFc", "Fc", 240, 300, 300);
    cmbFc = list(Frame6, "cmbFc", 600, 270, 1200);

    // The section plan with the boxes on it.
    Picture1 = new vbqt::PictureBox(this);
    place(Picture1, "Picture1", 5040, 120, 6300, 5850);
    Picture1->setBackColor(kPlanColour);
    const char* const dimLabels[] = {"H-", "×", "×", "×", "T-", "×", "×", "×"};
    for (int i = 0; i < 14; ++i) txtColLen[i] = box(Picture1, indexed("txtColLen", i), 0, 0, 720);
    // The steel rows and the wall boxes lie under the figure, which fills
    // the picture's upper part.
    for (int m = 0; m < 2; ++m) {
        const int top = 4920 + 300 * m;
        lblColLen[4 * m] = label(Picture1, indexed("lblColLen", 4 * m), dimLabels[4 * m], 1320, top + 30, 480);
        for (int j = 0; j < 4; ++j) {
            dlgkit::Place(txtColLen[5 * m + j], 1860 + 960 * j, top, 720, 285);
            if (j > 0)
                lblColLen[4 * m + j] = label(Picture1, indexed("lblColLen", 4 * m + j), dimLabels[4 * m + j],
                                             1860 + 960 * j - 210, top + 30, 180);
        }
    }
    for (int i : {4, 9, 12, 13}) txtColLen[i]->hide();  // carried through, never shown
    for (int i = 0; i < 2; ++i) txtRBarSpec[i] = box(Picture1, indexed("txtRBarSpec", i), 0, 0, 600);
    const char* const walls[] = {"X方向に耐震壁が取り付く", "Ｙ方向に耐震壁が取り付く"};
    for (int i = 0; i < 2; ++i) {
        chkWall[i] = new QCheckBox(QString::fromUtf8(walls[i]), Picture1);
        place(chkWall[i], indexed("chkWall", i), 120 + 3060 * i, 5535, 2940, 270);
    }
    for (QWidget* w : {static_cast<QWidget*>(chkWall[0]), static_cast<QWidget*>(chkWall[1])}) {
        w->setAutoFillBackground(true);
        dlgkit::SetColour(w, QPalette::Window, kPlanColour);
        dlgkit::SetColour(w, QPalette::Button, kPlanColour);
    }
    for (QLabel* l : lblColLen) {
        l->setAutoFillBackground(true);
        dlgkit::SetColour(l, QPalette::Window, kPlanColour);
    }

    // Share ratios and limit axial forces.
    QGroupBox* Frame4 = frame("Frame4", "鉄骨柱脚部負担率", 0, 5040, 6090, 6300, 1260);
    const struct {
        int index;
        const char* text;
        int left, top, width;
    } ratios[] = {
        {0, "曲 げ （≧0.10)", 240, 300, 1560}, {5, "X", 1860, 300, 240},  {1, "", 2100, 300, 720},
        {7, "", 2820, 300, 480},              {6, "Y", 3420, 300, 240},  {2, "", 3660, 300, 720},
        {8, "", 4380, 300, 480},              {4, "引抜力(≧0.15)", 240, 600, 1560}, {3, "", 2100, 600, 720},
        {9, "", 2820, 600, 480},              {10, "限界軸力", 240, 900, 1560}, {11, "", 1860, 900, 4000},
    };
    for (const auto& r : ratios) lblRatio[r.index] = label(Frame4, indexed("lblRatio", r.index), r.text, r.left, r.top, r.width);

    const auto button = [&](const char* name, const char* text, int resTag, int left) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setProperty("resTag", resTag);
        b->setAutoDefault(false);
        place(b, QString::fromLatin1(name), left, 7530, 1440, 420);
        return b;
    };
    cmdEnd = button("cmdEnd", "決定", 1112, 8340);
    cmdCancel = button("cmdCancel", "キャンセル", 1111, 9900);

    setFixedSize(dlgkit::PxX(*this, 11460), dlgkit::PxY(*this, 8070));
    previewTarget_ = Picture1;
}

void frmSRCInput::ConnectControls()
{
    const auto onSelect = [this](QComboBox* list, void (frmSRCInput::*handler)()) {
        dlgkit::ConnectSelect(this, list, handler, actions_);
    };
    onSelect(cmbSrcKv, &frmSRCInput::cmbSrcKv_Click);
    onSelect(cmbFc, &frmSRCInput::cmbFc_Click);
    onSelect(cmbColMat, &frmSRCInput::cmbColMat_Click);
    onSelect(cmbRBarMat, &frmSRCInput::cmbRBarMat_Click);
    onSelect(cmbRBarVal, &frmSRCInput::cmbRBarVal_Click);
    for (int i = 0; i < 5; ++i) dlgkit::ConnectOption(this, optSrcKvType[i], i, &frmSRCInput::optSrcKvType_Click, actions_);
    for (int i = 0; i < 4; ++i) dlgkit::ConnectOption(this, optDir[i], i, &frmSRCInput::optDir_Click, actions_);
    connect(cmdCalc, &QPushButton::clicked, this, [this] { Act([this] { cmdCalc_Click(); }); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { Act([this] { cmdEnd_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    for (QLineEdit* b : txtColLen) b->installEventFilter(this);
    for (QLineEdit* b : txtRBarSpec) b->installEventFilter(this);
    for (QLineEdit* b : txtSrcColSpec) b->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(cmbRBarMat), static_cast<QWidget*>(cmbRBarVal),
                       static_cast<QWidget*>(cmbSrcKv)})
        w->installEventFilter(this);
    for (QRadioButton* o : optSrcKvType) o->installEventFilter(this);
}

bool frmSRCInput::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut) return QDialog::eventFilter(watched, event);
    const bool in = type == QEvent::FocusIn;
    const auto selectAllLater = [](QLineEdit* box) {
        // Later than the click that gave the focus, which would undo the selection.
        QTimer::singleShot(0, box, [box] { SelectAllText(box); });
    };
    for (int i = 0; i < 14; ++i)
        if (watched == txtColLen[i]) {
            if (in)
                selectAllLater(txtColLen[i]);
            else
                Act([this, i] { txtColLen_LostFocus(i); });
        }
    for (int i = 0; i < 6; ++i)
        if (watched == txtRBarSpec[i]) {
            if (in)
                selectAllLater(txtRBarSpec[i]);
            else
                Act([this, i] { txtRBarSpec_LostFocus(i); });
        }
    for (QLineEdit* box : txtSrcColSpec)
        if (watched == box && in) selectAllLater(box);
    if (!in) {
        bool refresh = watched == cmbRBarMat || watched == cmbRBarVal || watched == cmbSrcKv;
        for (QRadioButton* o : optSrcKvType) refresh = refresh || watched == o;
        if (refresh) Act([this] { RefreshGroupR(); });
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Load, commit, cancel, unload ----

void frmSRCInput::Form_Load()
{
    Act([this] {
        loading_ = true;
        struct LoadingEnds {
            bool& flag;
            ~LoadingEnds() { flag = false; }
        } ends{loading_};

        work_ = gColumns(gCurCol);
        LoadResStrings(this);
        dlgkit::RestorePlace(*this, "SRCInputLeft", "SRCInputTop", 500, 500);
        // The engine holds whatever was calculated last; the ratios shown
        // here are of this column's base.
        if (gKv) SendBaseInputs(work_);

        ShowSteelSpec();
        ShowSteelDims();
        ShowRebarSpec();
        if (work_.KvDir >= 0 && work_.KvDir <= 3) optDir[work_.KvDir]->setChecked(true);

        FillFcCombo(cmbFc, work_.Fc);

        dlgkit::Refill(cmbColMat, {"SS400", "SM490", "SN400", "SN490"});
        SelectTrimmed(cmbColMat, GetSteelMaterialName(work_.ColMatCode));
        dlgkit::Refill(cmbRBarMat, {"SD295", "SD345", "SD390", "SD490"});
        SelectTrimmed(cmbRBarMat, work_.RBarMat.value());
        dlgkit::Refill(cmbRBarVal, {"D6", "D10", "D13", "D16", "D19", "D22", "D25", "D29", "D32", "D35", "D38", "D41", "D51"});
        SelectTrimmed(cmbRBarVal, work_.RBarVal.value());

        // A steel column opens as type X; nothing is stored until 決定.
        const int type = work_.ColV >= 3 && work_.ColV <= 7 ? work_.ColV - 3 : 0;
        optSrcKvType[type]->setChecked(true);

        const int32_t storedId = gKvBase(gCurCol).ID;
        for (std::size_t i = 0; i < modelIds_.size(); ++i)
            if (modelIds_[i] == storedId) {
                cmbSrcKv->setCurrentIndex(static_cast<int>(i));
                break;
            }
        if (gKv) lblAbD->setText(Q("M" + Shown(gKv->KvData().AbD)));

        gSpecDialogOK = false;
        ShowSteelSpec();
        ShowSrcRatios();
    });
}

void frmSRCInput::cmdEnd_Click()
{
    const int chosen = cmbSrcKv->currentIndex();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= modelIds_.size()) {
        ui::Current().message(kNoModelText, kAppTitle, ui::MessageKind::Warning);
        return;
    }
    ReadSteelSpec();
    ReadRebarLayout();
    ReadSteelDims();
    ReadWallInputs();
    work_.KolvanID = modelIds_[static_cast<std::size_t>(chosen)];

    // The base record is read before anything is written, so that a failure
    // or a refusal leaves the project as it was.
    KvBaseTbl base = gKvBase(gCurCol);
    base.AbNum = work_.AbNum;
    LoadKvBaseData(work_.KolvanID, work_.AbNum, base);
    if (base.KvLen(0, 1) >= work_.cD(0)) {
        ui::Current().message(kTooSmallText, kAppTitle, ui::MessageKind::Warning);
        return;
    }
    // The project's strength follows a strength the dialog changed.
    const bool fcChanged = work_.Fc != gColumns(gCurCol).Fc;
    gColumns(gCurCol) = work_;
    if (fcChanged) gCond.Fc = work_.Fc;
    gKvBase(gCurCol) = base;
    gDataChanged = true;
    gSpecDialogOK = true;
    if (gKv) SendSrcInputs(gColumns(gCurCol));
    accept();
}

void frmSRCInput::cmdCancel_Click() { reject(); }

void frmSRCInput::done(int r)
{
    Act([this] { Form_Unload(); });
    QDialog::done(r);
}

void frmSRCInput::Form_Unload() { dlgkit::SavePlace(*this, "SRCInputLeft", "SRCInputTop"); }

// ---- Type, model, direction ----

void frmSRCInput::optSrcKvType_Click(int Index)
{
    const auto kind = static_cast<int16_t>(Index + 3);
    QStringList names;
    modelIds_.clear();
    {
        auto db = OpenCatalogue();
        auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.形式名,柱脚.ID From 柱脚 WHERE ((柱脚.ColV)=" +
                                   vb::Str(kind) + ")");
        for (; !rs.eof(); rs.moveNext()) {
            names << Q(rs.isNull(0) ? std::string() : vb::Trim(rs.text(0)));
            modelIds_.push_back(CatalogueInt32(rs, "ID"));
        }
    }
    dlgkit::Refill(cmbSrcKv, names);
    if (cmbSrcKv->count() > 0) cmbSrcKv->setCurrentIndex(0);

    work_.ColV = kind;
    // Back to 0ﾟ, with the turn the direction choice would store for it.
    if ((kind == 3 && work_.KvDir != 0) || (kind == 7 && work_.KvDir > 1)) {
        work_.KvDir = 0;
        work_.KvRotate = 0;
    }
    if (work_.KvDir >= 0 && work_.KvDir <= 3) optDir[work_.KvDir]->setChecked(true);
    DrawSrcSection();

    Frame5->setEnabled(true);
    for (QRadioButton* o : optDir) o->setEnabled(true);
    const bool second = kind != 7;
    for (int i = 5; i <= 8; ++i) txtColLen[i]->setVisible(second);
    for (int i = 4; i <= 7; ++i) lblColLen[i]->setVisible(second);
    if (kind == 3) {
        lblColLen[0]->setText("X H-");
        lblColLen[4]->setText("Y H-");
        Frame5->setEnabled(false);
        for (QRadioButton* o : optDir) o->setEnabled(false);
    } else if (kind == 7) {
        lblColLen[0]->setText("H-");
        optDir[2]->setEnabled(false);
        optDir[3]->setEnabled(false);
    } else {
        lblColLen[0]->setText("H-");
        lblColLen[4]->setText("T-");
    }
}

void frmSRCInput::cmbSrcKv_Click()
{
    const auto at = static_cast<std::size_t>(cmbSrcKv->currentIndex());
    if (at >= modelIds_.size() || !gKv) return;
    gKv->setKolvanID(modelIds_[at]);
    lblAbD->setText(Q("M" + Shown(gKv->KvData().AbD)));
}

void frmSRCInput::optDir_Click(int Index)
{
    if (loading_) {
        // The load shows the stored column: the direction is taken as it
        // stands and the boxes show the record under it; nothing is read
        // back or recomputed, so typed section values stay.
        if (work_.KvDir != Index) {
            work_.KvDir = static_cast<int16_t>(Index);
            work_.KvRotate = static_cast<int16_t>(Index & 1);
        }
        ShowSteelSpec();
        ShowSteelDims();
        ShowRebarSpec();
        return;
    }
    // Read under the old direction, shown under the new one.
    try {
        ReadSteelSpec();
        ReadSteelDims();
        ReadWallInputs();
        ReadRebarLayout();
    } catch (const std::exception&) {
        // A refused entry keeps the direction it was typed in.
        if (work_.KvDir >= 0 && work_.KvDir <= 3) {
            const QSignalBlocker quiet(optDir[work_.KvDir]);
            optDir[work_.KvDir]->setChecked(true);
        }
        throw;
    }
    work_.KvDir = static_cast<int16_t>(Index);
    work_.KvRotate = static_cast<int16_t>(Index & 1);
    CalcSrcSteelSection();
    ShowSteelDims();
    ShowRebarSpec();
    DrawSrcSection();
    ShowSrcRatios();
}

// ---- Other events ----

void frmSRCInput::cmbFc_Click() { work_.Fc = vb::Val(S(cmbFc->currentText())); }

void frmSRCInput::cmbColMat_Click()
{
    if (!loading_) work_.ColMatCode = GetSteelMaterialCode(vb::Trim(S(cmbColMat->currentText())));
}

void frmSRCInput::cmbRBarMat_Click()
{
    if (!loading_) work_.RBarMat = vb::Trim(S(cmbRBarMat->currentText()));
}

void frmSRCInput::cmbRBarVal_Click()
{
    if (!loading_) work_.RBarVal = vb::Trim(S(cmbRBarVal->currentText()));
}

void frmSRCInput::cmdCalc_Click() { CalcSrcSteelSection(); }

void frmSRCInput::txtColLen_LostFocus(int Index)
{
    if (Index <= 9) {
        // Passing through a box is no entry: section values typed by hand stay.
        if (loading_ || !dlgkit::Edited(txtColLen[Index])) return;
        ReadSteelDims();
        CalcSrcSteelSection();
    } else if (Index <= 11) {
        RefreshGroupR();
    }
}

void frmSRCInput::txtRBarSpec_LostFocus(int Index)
{
    if (Index == 2 || Index == 3) {
        ReadRebarLayout();
        DrawSrcSection();
    }
    RefreshGroupR();
}

void frmSRCInput::RefreshGroupR()
{
    ReadSteelSpec();
    ReadWallInputs();
    ReadRebarLayout();
    ShowSrcRatios();
}

// ---- Boxes ----

void frmSRCInput::ShowSteelDims()
{
    const auto show = [](QLineEdit* box, double v) { dlgkit::ShowNumber(box, v, Q(Shown(v))); };
    for (int m = 0; m < 2; ++m)
        for (int j = 0; j < 4; ++j) show(txtColLen[5 * m + j], work_.SrcHDim(m, j + 1));
    show(txtColLen[4], work_.SrcDim5(0));
    show(txtColLen[9], work_.SrcDim5(1));
    show(txtColLen[10], work_.cD(XIndex()));
    show(txtColLen[11], work_.cD(YIndex()));
    show(txtColLen[12], work_.cD2(XIndex()));
    show(txtColLen[13], work_.cD2(YIndex()));
    for (int d = 0; d < 2; ++d) chkWall[d]->setChecked(work_.CenColWall(d) != 0);
}

void frmSRCInput::ReadSteelDims()
{
    for (int m = 0; m < 2; ++m)
        for (int j = 0; j < 4; ++j) work_.SrcHDim(m, j + 1) = dlgkit::TakeNumber(txtColLen[5 * m + j]);
    work_.SrcDim5(0) = dlgkit::TakeNumber(txtColLen[4]);
    work_.SrcDim5(1) = dlgkit::TakeNumber(txtColLen[9]);
}

void frmSRCInput::ReadWallInputs()
{
    work_.cD(XIndex()) = dlgkit::TakeNumber(txtColLen[10]);
    work_.cD(YIndex()) = dlgkit::TakeNumber(txtColLen[11]);
    work_.cD2(XIndex()) = dlgkit::TakeNumber(txtColLen[12]);
    work_.cD2(YIndex()) = dlgkit::TakeNumber(txtColLen[13]);
    for (int d = 0; d < 2; ++d) work_.CenColWall(d) = chkWall[d]->isChecked() ? 1 : 0;
}

void frmSRCInput::ShowRebarSpec()
{
    const int x = XIndex(), y = YIndex();
    const auto show = [](QLineEdit* box, double v) { dlgkit::ShowNumber(box, v, Q(Shown(v))); };
    show(txtRBarSpec[0], work_.rD(x));
    show(txtRBarSpec[1], work_.rD(y));
    show(txtRBarSpec[2], work_.RtN(x));
    show(txtRBarSpec[3], work_.RtN(y));
    show(txtRBarSpec[4], work_.RTensN(x));
    show(txtRBarSpec[5], work_.RTensN(y));
    chkRBarTabane[0]->setChecked(work_.RTabane(x) != 0);
    chkRBarTabane[1]->setChecked(work_.RTabane(y) != 0);
}

void frmSRCInput::ReadRebarLayout()
{
    const int x = XIndex(), y = YIndex();
    // The counts are whole numbers of the record's 16 bits, and so must be
    // the cross ties worked out from them; anything else is refused and the
    // boxes show the counts held before.
    ColumnDataTbl c = work_;
    try {
        const auto count = [this](int i) { return vb::CInt(dlgkit::ReadNumber(txtRBarSpec[i])); };
        c.RtN(x) = count(2);
        c.RtN(y) = count(3);
        c.RTensN(x) = count(4);
        c.RTensN(y) = count(5);
    } catch (const vb::Error&) {
        ShowRebarSpec();
        throw model::Refusal(kBarCountText);
    }
    for (int d = 0; d < 2; ++d) c.RmN(d) = 0;
    for (int d = 0; d < 2; ++d) {
        const int ties = srcdlg::CrossTieBars(c, d);
        if (ties < INT16_MIN || ties > INT16_MAX) {
            ShowRebarSpec();
            throw model::Refusal(kBarCountText);
        }
        c.RqN(d) = static_cast<int16_t>(ties);
    }
    for (int i = 2; i <= 5; ++i) dlgkit::TakeNumber(txtRBarSpec[i]);
    c.rD(x) = dlgkit::TakeNumber(txtRBarSpec[0]);
    c.rD(y) = dlgkit::TakeNumber(txtRBarSpec[1]);
    c.RTabane(x) = chkRBarTabane[0]->isChecked() ? 1 : 0;
    c.RTabane(y) = chkRBarTabane[1]->isChecked() ? 1 : 0;
    work_ = c;
}

// ---- Section properties and ratios ----

void frmSRCInput::CalcSrcSteelSection()
{
    ReadSteelDims();
    if (work_.ColV >= 3 && work_.ColV <= 7 && !srcdlg::CalcSrcSteelSection(work_, work_.SrcColSpec))
        return;  // a zero the formulas divide by: the values and boxes stay
    ShowSteelSpec();
}

void frmSRCInput::ShowSteelSpec()
{
    if (gKv) SendSrcInputs(work_);
    const char* const formats[] = {"######.0", "######", "######", "0.#####"};
    const int x = XIndex(), y = YIndex();
    for (int k = 0; k < 4; ++k) {
        // Each box, the area's too, shows the element it is read back into:
        // an area typed on a turned column stays what was typed.
        const double xValue = work_.SrcColSpec(x, k);
        const double yValue = work_.SrcColSpec(y, k);
        dlgkit::ShowNumber(txtSrcColSpec[k], xValue, Q(vb::Trim(vb::Format(xValue, formats[k]))));
        dlgkit::ShowNumber(txtSrcColSpec[4 + k], yValue, Q(vb::Trim(vb::Format(yValue, formats[k]))));
    }
}

void frmSRCInput::ReadSteelSpec()
{
    const int x = XIndex(), y = YIndex();
    for (int k = 0; k < 4; ++k) {
        // A box left as shown reads back as the exact value, not its rounded text.
        work_.SrcColSpec(x, k) = dlgkit::TakeNumber(txtSrcColSpec[k]);
        work_.SrcColSpec(y, k) = dlgkit::TakeNumber(txtSrcColSpec[4 + k]);
    }
}

void frmSRCInput::ClearRatios()
{
    for (int i : {1, 2, 3, 7, 8, 9, 11}) lblRatio[i]->clear();
}

void frmSRCInput::ShowSrcRatios()
{
    if (!gKv) return;
    double tX = 0, tY = 0, m0 = 0, m90 = 0, n = 0;
    try {
        KvEngineRef engine(*gKv);
        SetKvSrcInputs(engine, work_);
        // The strength being edited, not the one of the last calculation.
        engine.setFc(CappedFc(work_));
        gKv->setsrcWall(work_.CenColWall(0));
        gKv->setDesignRoot(gCond.DesignRootX);
        tX = gKv->srcTCrit();
        gKv->setsrcWall(work_.CenColWall(1));
        gKv->setDesignRoot(gCond.DesignRootY);
        tY = gKv->srcTCrit();
        m0 = gKv->srcMRatio0();
        m90 = gKv->srcMRatio90();
        n = gKv->srcNRatio();
    } catch (const std::exception&) {
        // Inputs the engine cannot work with (a zero size, no model): no ratios.
        ClearRatios();
        return;
    }
    const bool turned = (work_.KvDir & 1) != 0;
    const double first = turned ? m90 : m0;
    const double second = turned ? m0 : m90;
    lblRatio[1]->setText(Q(srcdlg::RatioText(first)));
    SetJudgeLabel(lblRatio[7], first, 0.10);
    lblRatio[2]->setText(Q(srcdlg::RatioText(second)));
    SetJudgeLabel(lblRatio[8], second, 0.10);
    lblRatio[3]->setText(Q(srcdlg::RatioText(n)));
    SetJudgeLabel(lblRatio[9], n, 0.15);
    lblRatio[11]->setText(Q(srcdlg::LimitLine(gSIDisp, tX, tY)));
}

void frmSRCInput::SetJudgeLabel(QLabel* label, double value, double limit)
{
    const bool ok = srcdlg::RatioOK(value, limit);
    label->setText(ok ? "OK" : "NG");
    dlgkit::SetColour(label, QPalette::WindowText, ok ? vbqt::RGB(0, 0, 0) : vbqt::RGB(255, 0, 0));
}

// ---- Section plan ----

void frmSRCInput::DrawSrcSection()
{
    cmdCalc->show();
    vbqt::PictureTarget* target = previewTarget_;
    drawing::clsPrintOut po;
    po.setprpMode(2);
    po.setprpPicture(target);
    drawing::FigureFrameTbl frame{};
    frame.ScaleX = 140;
    frame.ScaleY = 140;
    frame.X0 = target->ScaleWidth() / 2 * 0.85;
    frame.Y0 = target->ScaleHeight() / 2 * 0.65 - frame.ScaleY;
    frame.Mode = 0;
    int16_t iCol = gCurCol;
    int16_t dir = work_.KvDir;
    const int16_t nx = work_.RtN(0), ny = work_.RtN(1);
    const int16_t kind = work_.ColV;
    try {
        switch (kind) {
        case 3: drawing::DrawKvFigureSrcX(po, frame, iCol, dir, nx, ny); break;
        case 4: drawing::DrawKvFigureSrcT(po, frame, iCol, dir, nx, ny); break;
        case 5:
        case 6: drawing::DrawKvFigureSrcL(po, frame, kind, iCol, dir, nx, ny); break;
        case 7: drawing::DrawKvFigureSrcH(po, frame, iCol, dir, nx, ny); break;
        default: break;
        }
    } catch (const std::exception& e) {
        target->Cls();
        std::throw_with_nested(model::Refusal("柱の図を描けませんでした。"));
    }

    // The boxes beside the figure: RC sizes below and right, bar distances.
    struct Places {
        int sizeXTop, sizeYLeft, barXTop, barYLeft;
    };
    Places p{4425, 5235, 3960, 4785};
    if (kind == 5 || kind == 6) p = {4560, 5400, 4125, 4950};
    if (kind == 7) p = (work_.KvDir & 1) ? Places{4680, 5070, 4260, 4590} : Places{4215, 5535, 3765, 5070};
    const double x0 = frame.X0, y0 = frame.Y0;
    dlgkit::Place(txtColLen[10], x0 - 360 + 2 * frame.ScaleX, p.sizeXTop, 720, 285);
    dlgkit::Place(txtColLen[11], p.sizeYLeft, y0 - 140 + 2 * frame.ScaleY, 720, 285);
    dlgkit::Place(txtRBarSpec[0], x0 - 300 + 2 * frame.ScaleX, p.barXTop, 600, 285);
    dlgkit::Place(txtRBarSpec[1], p.barYLeft, y0 + 160 + 2 * frame.ScaleY, 600, 285);
}
