#include "dialogs/frmOptions.h"

#include "drawing/figure_frame.h"
#include "drawing/kv_figure_h.h"
#include "drawing/kv_figure_tube.h"
#include "drawing/nm_diagram.h"
#include "drawing/print_out.h"
#include "engine/kv.h"
#include "mainwin/frmMain.h"
#include "mainwin/load_res_strings.h"
#include "model/failure.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/project_commands.h"
#include "model/project_file.h"
#include "model/startup.h"
#include "platform/qt/font_map.h"
#include "platform/qt/picture_box.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/dialog_kit.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <exception>
#include <optional>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The number a box holds; none when its text is too large.
std::optional<double> BoxNumber(const QLineEdit* box)
{
    try {
        return dlgkit::ReadNumber(box);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

frmOptions::frmOptions(frmMain& main) : QDialog(&main), main_(main)
{
    setObjectName("frmOptions");
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));

    auto check = [this](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromUtf8(caption), this);
        c->setObjectName(name);
        return c;
    };
    TabStrip1 = new QTabWidget(this);
    TabStrip1->setObjectName("TabStrip1");
    auto* page0 = new QWidget;
    page0->setObjectName("Picture1_0");
    auto* page1 = new QWidget;
    page1->setObjectName("Picture1_1");
    TabStrip1->addTab(page0, QStringLiteral("応力計算"));
    TabStrip1->addTab(page1, QStringLiteral("表示"));

    auto* Frame1 = new QGroupBox(QStringLiteral("短期応力"));
    Frame1->setObjectName("Frame1");
    chkShortCalcMode = check("chkShortCalcMode", "自動計算");
    (new QVBoxLayout(Frame1))->addWidget(chkShortCalcMode);

    auto* fraSample1 = new QGroupBox(QStringLiteral("終局応力"));
    fraSample1->setObjectName("fraSample1_0");
    chkUltCalcMode = check("chkUltCalcMode", "自動計算");
    Label1 = new QLabel(QStringLiteral("自動計算時の地震時応力の割増係数"));
    Label1->setObjectName("Label1");
    txtUltFactor = new QLineEdit;
    txtUltFactor->setObjectName("txtUltFactor");
    txtUltFactor->setMaximumWidth(80);
    chkUltMQMode = check("chkUltMQMode", "長期曲げ・せん断を加味する。");
    auto* ult = new QVBoxLayout(fraSample1);
    ult->addWidget(chkUltCalcMode);
    auto* factorRow = new QHBoxLayout;
    factorRow->addWidget(Label1);
    factorRow->addWidget(txtUltFactor);
    factorRow->addStretch();
    ult->addLayout(factorRow);
    ult->addWidget(chkUltMQMode);

    auto* Frame2 = new QGroupBox(QStringLiteral("ルート２計算オプション"));
    Frame2->setObjectName("Frame2");
    chkUltJadge = check("chkUltJadge", "終局時の応力の判定をする。");
    (new QVBoxLayout(Frame2))->addWidget(chkUltJadge);

    Label2 = new QLabel(QStringLiteral("SI単位で表示する場合の従来単位からの係数"));
    Label2->setObjectName("Label2");
    txtGFactor = new QLineEdit;
    txtGFactor->setObjectName("txtGFactor");
    txtGFactor->setMaximumWidth(80);

    auto* p0 = new QVBoxLayout(page0);
    auto* modes = new QHBoxLayout;
    modes->addWidget(Frame1);
    modes->addWidget(fraSample1, 1);
    p0->addLayout(modes);
    p0->addWidget(Frame2);
    auto* siRow = new QHBoxLayout;
    siRow->addWidget(Label2);
    siRow->addWidget(txtGFactor);
    siRow->addStretch();
    p0->addLayout(siRow);
    p0->addStretch();

    chkReflesh = new QCheckBox(QStringLiteral("応力入力毎に応力表の更新"), page1);
    chkReflesh->setObjectName("chkReflesh");
    auto* p1 = new QVBoxLayout(page1);
    p1->addWidget(chkReflesh);
    p1->addStretch();

    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    cmdCancel->setObjectName("cmdCancel");
    cmdApply = new QPushButton(QStringLiteral("更新"));
    cmdApply->setObjectName("cmdApply");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdOK, cmdCancel, cmdApply}) buttons->addWidget(b);
    auto* all = new QVBoxLayout(this);
    all->addWidget(TabStrip1);
    all->addLayout(buttons);

    connect(chkShortCalcMode, &QCheckBox::clicked, this, &frmOptions::chkShortCalcMode_Click);
    connect(chkUltCalcMode, &QCheckBox::clicked, this, &frmOptions::chkUltCalcMode_Click);
    connect(chkUltMQMode, &QCheckBox::toggled, this, [this](bool on) { work_.UltMQMode = on ? kTrue : kFalse; });
    connect(chkUltJadge, &QCheckBox::toggled, this, [this](bool on) { work_.UltJadge = on ? kTrue : kFalse; });
    connect(chkReflesh, &QCheckBox::toggled, this, [this](bool on) { reflesh_ = on; });
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    Form_Load();
}

void frmOptions::Form_Load()
{
    LoadResStrings(this);
    // The print dialog's place; this dialog keeps none of its own.
    QSettings s = AppSettings();
    s.beginGroup(QString::fromLatin1(kSettingsGroup));
    const auto place = [&s](const char* key, double fallback) {
        const auto v = NumberSetting(s, key);
        return v && std::fabs(*v) <= 1e6 ? *v : fallback;
    };
    move(static_cast<int>(std::lround(place("PrLeft", 1005) / vbqt::TwipsPerPixelX(*this))),
         static_cast<int>(std::lround(place("PrTop", 495) / vbqt::TwipsPerPixelY(*this))));
    s.endGroup();

    work_ = gCond;
    dlgkit::ShowNumber(txtUltFactor, work_.GammaX, Q(FormatValue(work_.GammaX, -1)));
    dlgkit::ShowNumber(txtGFactor, work_.GFactor, Q(vb::CStr(work_.GFactor)));
    chkUltCalcMode->setChecked(work_.UltCalcMode == 0);
    chkShortCalcMode->setChecked(work_.ShortCalcMode == 0);
    EnableUltFactor();
    chkUltMQMode->setChecked(gCond.UltMQMode != kFalse);
    reflesh_ = gAutoRefresh;
    chkReflesh->setChecked(reflesh_);
    chkUltJadge->setChecked(gCond.UltJadge != kFalse);
}

void frmOptions::EnableUltFactor()
{
    const bool automatic = work_.UltCalcMode == 0;
    for (QWidget* w : std::initializer_list<QWidget*>{txtUltFactor, Label1, chkUltMQMode}) w->setEnabled(automatic);
}

void frmOptions::chkShortCalcMode_Click() { work_.ShortCalcMode = chkShortCalcMode->isChecked() ? 0 : 1; }

void frmOptions::chkUltCalcMode_Click()
{
    work_.UltCalcMode = chkUltCalcMode->isChecked() ? 0 : 1;
    EnableUltFactor();
    if (chkUltCalcMode->isChecked()) chkUltMQMode->setChecked(true);
}

void frmOptions::cmdOK_Click()
{
    if (ApplyOptions()) accept();
}

bool frmOptions::ApplyOptions()
{
    // A box left as loaded keeps the project's values as they are: gamma of
    // Y of its own, decimals beyond those shown.
    const bool gammaTyped = dlgkit::Edited(txtUltFactor);
    const auto gamma = BoxNumber(txtUltFactor);
    const auto factor = BoxNumber(txtGFactor);
    if (gammaTyped && !(gamma && DesignFactorAccepted(*gamma))) {
        ui::Current().message(DesignFactorRangeText("割増係数"), "ｵﾌﾟｼｮﾝ", ui::MessageKind::Warning);
        dlgkit::ShowNumber(txtUltFactor, work_.GammaX, Q(FormatValue(work_.GammaX, -1)));
        return false;
    }
    // Every stress shown or typed is multiplied or divided by this factor.
    if (!factor || !std::isfinite(*factor) || *factor <= 0) {
        ui::Current().message("SI単位への係数には正の数値を入力してください。", "ｵﾌﾟｼｮﾝ", ui::MessageKind::Warning);
        return false;
    }
    const ProjectCondTbl before = gCond;
    gCond = work_;
    gAutoRefresh = reflesh_;
    try {
        main_.setCalcMode(1, gCond.ShortCalcMode, 999);
        main_.setCalcMode(0, gCond.UltCalcMode, 999);
    } catch (const std::exception&) {
        // The column is checked again with every option applied below; the
        // table refresh tells a check that fails, once.
    }
    // Kept as the main window's box can show it.
    if (gammaTyped) gCond.GammaX = gCond.GammaY = RoundDesignFactor(*gamma);
    main_.txtGamma->setText(Q(FormatDesignFactor(gCond.GammaX)));
    if (dlgkit::Edited(txtGFactor)) gCond.GFactor = *factor;
    // What the engine fails on under the new factor, the refresh below tells.
    ApplyProjectUnitFactor();
    // Only a real change of a project value marks the project and checks
    // every column again; a mark is never taken back here.
    const bool changed = gCond.ShortCalcMode != before.ShortCalcMode || gCond.UltCalcMode != before.UltCalcMode ||
                         gCond.GammaX != before.GammaX || gCond.GammaY != before.GammaY ||
                         gCond.UltMQMode != before.UltMQMode || gCond.UltJadge != before.UltJadge ||
                         gCond.GFactor != before.GFactor;
    main_.refleshTable(changed);
    main_.cmdFlgReflesh->setVisible(!gAutoRefresh);
    const QRect box = main_.pctNM->geometry();
    main_.pctNM->setGeometry(box.x(), box.y(), box.width(),
                             static_cast<int>(std::lround((gAutoRefresh ? 4215 : 3735) / main_.TwipsPerPixelY())));
    RedrawDrawingBox();
    if (changed) gDataChanged = true;
    QCoreApplication::processEvents();
    return true;
}

void frmOptions::RedrawDrawingBox()
{
    vbqt::PictureTarget* target = main_.mDrawTarget;
    if (!target) return;
    try {
        drawing::clsPrintOut po;
        po.setprpMode(2);
        po.setprpPicture(target);
        if (gDispMode == 4) {
            drawing::FigureFrameTbl frame;
            frame.ScaleX = frame.ScaleY = 100;
            frame.X0 = target->ScaleWidth() / 2.0 * 0.8;
            frame.Y0 = target->ScaleHeight() / 2.0 * 0.8 - 100;
            frame.Mode = 0;
            int16_t iCol = gCurCol;
            int16_t dir = gColumns(gCurCol).KvRotate;
            switch (gColumns(gCurCol).ColV) {
            case 0:
            case 1: drawing::DrawKvFigureTube(po, frame, iCol, dir); break;
            case 2: drawing::DrawKvFigureH(po, frame, iCol, dir); break;
            default: break;
            }
        } else {
            int16_t iCol = 999, dir = 999;
            drawing::DrawNMDiagram(po, iCol, dir);
        }
    } catch (const std::exception& e) {
        main_.ShowReasonInBox(model::TellFailure(e));
    }
}
