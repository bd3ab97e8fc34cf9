#include "reports/frmPrint.h"

#include "mainwin/load_res_strings.h"
#include "model/column_list_csv.h"
#include "model/globals.h"
#include "model/rebar_zone.h"
#include "model/startup.h"
#include "platform/qt/twips.h"
#include "platform/text/fixed_text.h"
#include "platform/ui/ui.h"
#include "reports/frmPreview.h"
#include "reports/printers.h"
#include "reports/report_common.h"
#include "widgets/dialog_kit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTreeWidget>

#include <cmath>
#include <exception>

using namespace model;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

int State(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

constexpr int kClosedHeight = 5800;
constexpr int kOpenHeight = 7400;
constexpr int kWidth = 7200;

}  // namespace

frmPrint::frmPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmPrint");
    setWindowTitle(QStringLiteral("印刷設定"));
    BuildControls();
    ConnectControls();
    Form_Load();
}

// ---- Controls ----

void frmPrint::BuildControls()
{
    const auto px = [this](double twips) { return dlgkit::PxX(*this, twips); };
    const auto place = [&](QWidget* w, const QString& name, int left, int top, int width, int height) {
        w->setObjectName(name);
        dlgkit::Place(w, left, top, width, height);
    };
    const auto indexed = [](const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); };
    const auto tagged = [](QWidget* w, int id) {
        if (id) w->setProperty("resTag", id);
    };
    const auto frame = [&](QWidget* parent, const char* name, const char* title, int id, int left, int top, int width,
                           int height) {
        auto* f = new QGroupBox(QString::fromUtf8(title), parent);
        tagged(f, id);
        place(f, QString::fromLatin1(name), left, top, width, height);
        return f;
    };
    const auto check = [&](QWidget* parent, const QString& name, const char* text, int id, int left, int top,
                           int width) {
        auto* c = new QCheckBox(QString::fromUtf8(text), parent);
        tagged(c, id);
        place(c, name, left, top, width, 270);
        return c;
    };
    const auto button = [&](const char* name, const char* text, int id, int left, int top) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        tagged(b, id);
        b->setAutoDefault(false);
        place(b, QString::fromLatin1(name), left, top, 1320, 375);
        return b;
    };

    fraStyle = frame(this, "fraStyle", "印刷スタイル", 0, 120, 60, 2040, 1500);
    const char* const styles[] = {"グラフ", "柱脚断面算定表", "せん断", "リスト"};
    for (int i = 0; i < 4; ++i) {
        optStyle[i] = new QRadioButton(QString::fromUtf8(styles[i]), fraStyle);
        place(optStyle[i], indexed("optStyle", i), 120, 270 + 300 * i, 1800, 270);
    }
    Frame1 = frame(this, "Frame1", "印刷項目", 1172, 120, 1620, 2040, 1500);
    const char* const curves[] = {"終局N-M関係", "短期N-M関係", "長期N-M関係", "柱N-M関係"};
    const int curveIds[] = {1164, 1163, 1162, 1165};
    for (int i = 0; i < 4; ++i)
        chkDrawNMMode[i] = check(Frame1, indexed("chkDrawNMMode", i), curves[i], curveIds[i], 120, 270 + 300 * i, 1800);
    Frame2 = frame(this, "Frame2", "印刷する短期応力", 1293, 120, 3180, 2040, 1200);
    const char* const kinds[] = {"地震", "暴風", "積雪"};
    for (int i = 0; i < 3; ++i) {
        optShortMode[i] = new QRadioButton(QString::fromUtf8(kinds[i]), Frame2);
        tagged(optShortMode[i], 1284 + i);
        place(optShortMode[i], indexed("optShortMode", i), 120, 270 + 300 * i, 1800, 270);
    }

    lvwColumn = new QTreeWidget(this);
    place(lvwColumn, "lvwColumn", 2280, 120, 4800, 3900);
    lvwColumn->setRootIsDecorated(false);
    lvwColumn->setSelectionMode(QAbstractItemView::NoSelection);
    cmdAllSelect = button("cmdAllSelect", "すべて選択", 1167, 2280, 4140);
    cmdAllDeselect = button("cmdAllDeselect", "すべて解除", 1168, 3720, 4140);

    cmdOpt = button("cmdOpt", "ｵﾌﾟｼｮﾝ >>", 1307, 120, 4860);
    cmdPreview = button("cmdPreview", "印刷ﾌﾟﾚﾋﾞｭｰ", 1334, 1500, 4860);
    cmdPrint = button("cmdPrint", "印刷", 1171, 2880, 4860);
    cmdPrOption = button("cmdPrOption", "ﾌﾟﾘﾝﾀ設定", 1169, 4260, 4860);
    cmdCancel = button("cmdCancel", "キャンセル", 1170, 5760, 4860);

    // The options panel lies below what the closed window shows.
    fraType1 = frame(this, "fraType1", "その他の印刷設定", 1303, 120, 5820, 6960, 1440);
    chkColorMode = check(fraType1, "chkColorMode", "カラー印刷", 1166, 120, 270, 2400);
    chkPrDrCond = check(fraType1, "chkPrDrCond", "設計条件を印刷しない", 1306, 120, 600, 2400);
    chkPrDrRC = check(fraType1, "chkPrDrRC", "ベース下柱形を印刷しない", 1313, 120, 930, 2400);
    chkPrHeader = check(fraType1, "chkPrHeader", "ヘッダーを印刷しない", 1305, 2400, 270, 2160);
    chkPrFooter = check(fraType1, "chkPrFooter", "フッターを印刷しない", 1304, 2400, 600, 2160);
    chkBon = check(fraType1, "chkBon", "凡例を印刷しない", 0, 120, 270, 2400);
    chkNoneNG = check(fraType1, "chkNoneNG", "NGを印刷しない", 0, 120, 270, 2400);
    chkNoneOK = check(fraType1, "chkNoneOK", "OK*を印刷しない", 0, 120, 600, 2400);
    for (QCheckBox* c : {chkBon, chkNoneNG, chkNoneOK}) c->hide();
    Frame4 = frame(fraType1, "Frame4", "", 0, 4620, 150, 2220, 1170);
    chkPrPage = check(Frame4, "chkPrPage", "ページ番号を印刷する", 1331, 60, 150, 2100);
    Label1 = new QLabel(QStringLiteral("印刷開始　ページ番号"), Frame4);
    tagged(Label1, 1314);
    place(Label1, "Label1", 60, 480, 1800, 240);
    txtPageN = new QLineEdit(Frame4);
    place(txtPageN, "txtPageN", 60, 750, 900, 285);

    setFixedWidth(px(kWidth));
    SetHeight(kClosedHeight);
}

void frmPrint::SetHeight(int twips)
{
    setFixedHeight(static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelY(*this))));
}

void frmPrint::ConnectControls()
{
    for (int i = 0; i < 4; ++i)
        connect(optStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optStyle_Click(i);
        });
    for (int i = 0; i < 3; ++i)
        connect(optShortMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optShortMode_Click(i);
        });
    connect(cmdAllSelect, &QPushButton::clicked, this, [this] { cmdAllSelect_Click(); });
    connect(cmdAllDeselect, &QPushButton::clicked, this, [this] { cmdAllDeselect_Click(); });
    connect(cmdOpt, &QPushButton::clicked, this, [this] { cmdOpt_Click(); });
    connect(chkPrPage, &QCheckBox::toggled, this, [this] { chkPrPage_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdPrOption, &QPushButton::clicked, this, [this] { cmdPrOption_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

// ---- Load ----

void frmPrint::Form_Load()
{
    LoadResStrings(this);
    mblnOptionsOpen = false;
    reports::RestorePrinterSettings();

    SetHeight(kClosedHeight);
    dlgkit::RestorePlace(*this, "PrLeft", "PrTop", 2640, 2640);

    lvwColumn->clear();
    optStyle[0]->setChecked(true);
    optShortMode[0]->setChecked(true);
    chkDrawNMMode[0]->setChecked(true);
    chkDrawNMMode[1]->setChecked(true);
    chkDrawNMMode[2]->setChecked(false);
    chkDrawNMMode[3]->setChecked(false);
    const bool sMode = gCond.SMode != kFalse;
    Frame1->setVisible(sMode);

    for (QCheckBox* c : {chkColorMode, chkPrHeader, chkPrFooter, chkPrDrCond, chkPrPage, chkNoneNG, chkNoneOK, chkBon})
        c->setEnabled(false);
    chkColorMode->setChecked(false);
    reports::gPrPageNumber = true;
    chkPrPage->setChecked(true);

    QStringList headers{QStringLiteral("№"), QStringLiteral("柱名称"), QStringLiteral("型式"), QStringLiteral("判定")};
    std::vector<int> widths{200, 700, 1600, 500};
    if (sMode) {
        headers << QStringLiteral("配筋ｿﾞｰﾝ");
        widths.push_back(700);
    }
    lvwColumn->setColumnCount(static_cast<int>(headers.size()));
    lvwColumn->setHeaderLabels(headers);
    for (std::size_t c = 0; c < widths.size(); ++c)
        // The check box takes room of its own in the first column.
        lvwColumn->setColumnWidth(static_cast<int>(c), static_cast<int>(std::lround(widths[c] / vbqt::TwipsPerPixelX(*this))) +
                                                            (c == 0 ? dlgkit::kCheckBoxRoom : 0));
    const bool ultJadge = gCond.UltJadge != kFalse;
    for (int i = 1; i <= gCond.ColCount; ++i) {
        const auto col = static_cast<int16_t>(i);
        QStringList cells{QString::number(i), Q(text::FieldText(gColumns(i).ColName)), Q(reports::ReportModelText(col)),
                          Q(GetColumnJudgeText(gResults(i), ultJadge))};
        if (sMode) cells << Q(GetZoneMarkText(GetColumnRebarZone(col)));
        dlgkit::AddCheckableRow(lvwColumn, cells, i == gCurCol);
    }
    // At least the design widths; wider where a text would be cut.
    for (int c = 0; c < lvwColumn->columnCount(); ++c) {
        const int design = lvwColumn->columnWidth(c);
        lvwColumn->resizeColumnToContents(c);
        if (lvwColumn->columnWidth(c) < design) lvwColumn->setColumnWidth(c, design);
    }

    mintStartPage = 1;
    txtPageN->setText(QStringLiteral("1"));
    reports::gPrintShortKind = 0;
}

// ---- Events ----

void frmPrint::CheckAll(bool on) { dlgkit::SetAllChecked(lvwColumn, on); }

void frmPrint::cmdAllSelect_Click() { CheckAll(true); }

void frmPrint::cmdAllDeselect_Click() { CheckAll(false); }

void frmPrint::optStyle_Click(int Index)
{
    const auto at = [this](QWidget* w, const QWidget* place) { w->move(place->pos()); };
    switch (Index) {
    case 0:
        Frame1->show();
        Frame2->show();
        for (QWidget* w : {static_cast<QWidget*>(chkColorMode), static_cast<QWidget*>(chkPrDrCond),
                           static_cast<QWidget*>(chkPrDrRC)})
            w->show();
        chkBon->hide();
        chkNoneNG->hide();
        chkNoneOK->hide();
        break;
    case 1:
        Frame1->hide();
        Frame2->show();
        chkColorMode->hide();
        chkPrDrCond->hide();
        chkPrDrRC->hide();
        at(chkBon, chkColorMode);
        chkBon->show();
        chkNoneNG->hide();
        chkNoneOK->hide();
        break;
    case 2:
        Frame1->hide();
        Frame2->hide();
        chkColorMode->hide();
        chkPrDrCond->hide();
        chkPrDrRC->hide();
        chkBon->hide();
        at(chkNoneNG, chkColorMode);
        at(chkNoneOK, chkPrDrCond);
        chkNoneNG->show();
        chkNoneOK->show();
        break;
    case 3:
        Frame1->hide();
        Frame2->hide();
        chkColorMode->hide();
        chkPrDrCond->hide();
        chkPrDrRC->hide();
        chkBon->hide();
        chkNoneNG->hide();
        chkNoneOK->hide();
        break;
    default: break;
    }
    Frame4->show();
    chkPrHeader->show();
    chkPrFooter->show();
}

void frmPrint::cmdOpt_Click()
{
    mblnOptionsOpen = !mblnOptionsOpen;
    QCheckBox* const boxes[] = {chkColorMode, chkPrHeader, chkPrFooter, chkPrDrCond, chkPrDrRC,
                                chkPrPage,    chkNoneNG,   chkNoneOK,   chkBon};
    if (mblnOptionsOpen) {
        SetHeight(kOpenHeight);
        cmdOpt->setText(QStringLiteral("<< ｵﾌﾟｼｮﾝ"));
        const bool flags[] = {reports::gPrColorMode,    reports::gPrNoHeader,   reports::gPrNoFooter,
                              reports::gPrNoDesignCond, reports::gPrNoBaseColumn, reports::gPrPageNumber,
                              reports::gPrNoneNG,       reports::gPrNoneOK,     reports::gPrNoLegend};
        for (int i = 0; i < 9; ++i) {
            boxes[i]->setEnabled(true);
            boxes[i]->setChecked(flags[i]);
        }
        Label1->setEnabled(reports::gPrPageNumber);
        txtPageN->setEnabled(reports::gPrPageNumber);
        txtPageN->setText(QString::number(mintStartPage));
    } else {
        SetHeight(kClosedHeight);
        cmdOpt->setText(QStringLiteral("ｵﾌﾟｼｮﾝ >>"));
        for (QCheckBox* b : boxes)
            if (b != chkPrPage) b->setEnabled(false);
    }
}

void frmPrint::chkPrPage_Click()
{
    const bool on = chkPrPage->isChecked();
    Label1->setEnabled(on);
    txtPageN->setEnabled(on);
}

void frmPrint::optShortMode_Click(int Index) { reports::gPrintShortKind = static_cast<int16_t>(Index); }

int frmPrint::ChosenStyle() const
{
    for (int i = 0; i < 4; ++i)
        if (optStyle[i]->isChecked()) return i;
    return 0;
}

bool frmPrint::CurvesChosen(int style)
{
    if (style != 0) return true;
    for (int i = 0; i < 3; ++i)
        if (chkDrawNMMode[i]->isChecked()) return true;
    ui::Current().message("全ての応力状態のN-M関係を非表示にできません。", "注意", ui::MessageKind::Warning);
    return false;
}

reports::ReportChoices frmPrint::Choices(int style) const
{
    reports::ReportChoices c;
    c.style = style;
    const std::vector<bool> ticks = dlgkit::CheckStates(lvwColumn);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        if (ticks[i]) c.columns.push_back(static_cast<int16_t>(i + 1));
    for (int i = 0; i < 4; ++i) c.nmCurves[static_cast<std::size_t>(i)] = State(chkDrawNMMode[i]);
    c.colorMode = State(chkColorMode);
    c.header = State(chkPrHeader);
    c.footer = State(chkPrFooter);
    c.designCond = State(chkPrDrCond);
    c.baseColumn = State(chkPrDrRC);
    c.pageNumber = State(chkPrPage);
    c.noneNG = State(chkNoneNG);
    c.noneOK = State(chkNoneOK);
    c.legend = State(chkBon);
    c.pageNumberText = txtPageN->text().toStdString();
    return c;
}

bool frmPrint::psub_Print(vbqt::PageTarget& target, int mode)
{
    mintStartPage = reports::StartPageNumber(txtPageN->text().toStdString());
    return reports::psub_Print(target, mode, Choices(mode));
}

void frmPrint::cmdPreview_Click()
{
    const int style = ChosenStyle();
    if (!CurvesChosen(style)) return;
    reports::frmPreview preview(this);
    preview.setprpPrintForm(this);
    preview.setprpPrintMode(style);
    preview.exec();
}

void frmPrint::cmdPrint_Click()
{
    const int style = ChosenStyle();
    if (!CurvesChosen(style)) return;
    bool installed = false;
    try {
        installed = !reports::CurrentPrinterBackend().InstalledPrinters().empty();
    } catch (const std::exception&) {
        // A printer that does not answer counts as none.
    }
    if (!installed) {
        ui::Current().message(reports::kNoPrinterText, "印刷", ui::MessageKind::Warning);
        return;
    }
    QPrinter& printer = reports::CurrentPrinter();
    const QString before = printer.printerName();
    // An empty remembered name prints on the default printer.
    const QString saved = Q(reports::gSavedDeviceName);
    printer.setPrinterName(saved.isEmpty() ? QPrinterInfo::defaultPrinter().printerName() : saved);
    VSPrinter1.setPaperSize(9);
    VSPrinter1.setOrientation(0);
    // A run that failed has said so; a part of the report is not printed.
    if (psub_Print(VSPrinter1, style)) reports::PrintOnCurrentPrinter(VSPrinter1, "印刷", "印刷できませんでした。\r");
    printer.setPrinterName(before);
}

void frmPrint::cmdPrOption_Click()
{
    reports::ShowPrinterSetup(this);
}

void frmPrint::cmdCancel_Click() { reject(); }

void frmPrint::done(int r)
{
    Form_Unload();
    QDialog::done(r);
}

void frmPrint::Form_Unload() { dlgkit::SavePlace(*this, "PrLeft", "PrTop"); }
