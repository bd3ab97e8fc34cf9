#include "reports/frmPreview.h"

#include "model/failure.h"
#include "model/startup.h"
#include "platform/qt/twips.h"
#include "platform/ui/ui.h"
#include "reports/print_form.h"
#include "reports/printers.h"

#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <string>

namespace reports {

namespace {

constexpr const char* kTitle = "印刷プレビュー";
constexpr const char* kLoadFailedText = "印刷プレビューを作成できませんでした。";

constexpr double kGap = 60;  // twips between the controls and the window's edges
constexpr double kButtonWidth = 1215;
constexpr double kButtonHeight = 375;

constexpr double kDefaultLeft = 0;
constexpr double kDefaultTop = 0;
constexpr double kDefaultWidth = 7560;
constexpr double kDefaultHeight = 8250;

// Window states as they are kept.
constexpr int kNormal = 0;
constexpr int kMinimized = 1;
constexpr int kMaximized = 2;

int PxX(const QWidget& w, double twips) { return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelX(w))); }
int PxY(const QWidget& w, double twips) { return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelY(w))); }
long TwX(const QWidget& w, int px) { return std::lround(px * vbqt::TwipsPerPixelX(w)); }
long TwY(const QWidget& w, int px) { return std::lround(px * vbqt::TwipsPerPixelY(w)); }

}  // namespace

frmPreview::frmPreview(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    VSPrinter1 = new QPrintPreviewWidget(this);
    VSPrinter1->setObjectName(QStringLiteral("VSPrinter1"));
    VSPrinter1->move(PxX(*this, 120), PxY(*this, 120));
    document_.connectPreview(*VSPrinter1);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->resize(PxX(*this, kButtonWidth), PxY(*this, kButtonHeight));
        return b;
    };
    cmdPrint = button("cmdPrint", "印刷");
    cmdEnd = button("cmdEnd", "終了");
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });

    resize(PxX(*this, kDefaultWidth), PxY(*this, kDefaultHeight));
    Form_Resize();
}

frmPreview::~frmPreview()
{
    if (loaded_) Form_Unload();
    // The preview draws from document_, which goes before the children do.
    delete VSPrinter1;
    VSPrinter1 = nullptr;
}

// ---- Loading and unloading ----

bool frmPreview::Form_Load()
{
    ApplySavedPlace();
    try {
        if (!printForm_) throw std::logic_error("the preview has no report to show");
        document_.setPaperSize(9);
        document_.setOrientation(0);
        // After a failure the owner has told, the pages before it are shown
        // but not printed: they are not the whole report.
        whole_ = printForm_->psub_Print(document_, printMode_);
        cmdPrint->setEnabled(whole_);
        cmdPrint->setToolTip(whole_ ? QString() : QStringLiteral("途中で失敗した印刷は印刷できません。"));
        VSPrinter1->updatePreview();
    } catch (const std::exception& e) {
        ui::Current().message(std::string(kLoadFailedText) + "\r" + model::TellFailure(e), kTitle,
                              ui::MessageKind::Critical);
        return false;
    } catch (...) {
        ui::Current().message(kLoadFailedText, kTitle, ui::MessageKind::Critical);
        return false;
    }
    loaded_ = true;
    return true;
}

void frmPreview::ApplySavedPlace()
{
    double left = kDefaultLeft;
    double top = kDefaultTop;
    double width = kDefaultWidth;
    double height = kDefaultHeight;
    int state = kNormal;
    {
        QSettings s = model::AppSettings();
        s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
        // Kept in single precision; a value far off any screen is no place.
        const auto value = [&s](const char* key, double fallback) {
            const auto v = model::NumberSetting(s, key);
            return static_cast<double>(static_cast<float>(v && std::fabs(*v) <= 1e6 ? *v : fallback));
        };
        left = value("PrViewLeft", kDefaultLeft);
        top = value("PrViewTop", kDefaultTop);
        const double kept = value("PrViewWindowState", kNormal);
        if (kept == kMinimized || kept == kMaximized) state = static_cast<int>(kept);
        width = value("PrViewWidth", kDefaultWidth);
        height = value("PrViewHeight", kDefaultHeight);
    }

    // The kept place and size are those of the normal window, frame
    // included. The frame is known only once the window shows, so the size
    // is made good then, and the state goes on top of it last, so that
    // restoring the window gives the kept size back.
    setWindowState(Qt::WindowNoState);
    move(PxX(*this, left), PxY(*this, top));
    keptFrameSize_ = QSize(PxX(*this, width), PxY(*this, height));
    keptState_ = state;
    placePending_ = true;
    ApplyKeptSize();
}

void frmPreview::ApplyKeptSize()
{
    const QSize extra = frameGeometry().size() - size();
    resize(std::max(0, keptFrameSize_.width() - extra.width()), std::max(0, keptFrameSize_.height() - extra.height()));
    // A window not shown yet gets its resize event only when it shows.
    Form_Resize();
}

void frmPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!placePending_) return;
    placePending_ = false;
    ApplyKeptSize();
    if (keptState_ == kMinimized) setWindowState(Qt::WindowMinimized);
    if (keptState_ == kMaximized) setWindowState(Qt::WindowMaximized);
}

void frmPreview::Form_Unload()
{
    loaded_ = false;
    QRect frame = frameGeometry();
    int state = kNormal;
    if (isMinimized()) state = kMinimized;
    if (isMaximized() || isFullScreen()) {
        state = kMaximized;
        // The normal window's place, so that the next opening restores to it.
        const QRect normal = normalGeometry();
        if (normal.isValid()) {
            const QPoint offset = geometry().topLeft() - frame.topLeft();
            frame = QRect(normal.topLeft() - offset, normal.size() + (frame.size() - size()));
        }
    }
    QSettings s = model::AppSettings();
    s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
    s.setValue(QStringLiteral("PrViewLeft"), QString::number(TwX(*this, frame.x())));
    s.setValue(QStringLiteral("PrViewTop"), QString::number(TwY(*this, frame.y())));
    s.setValue(QStringLiteral("PrViewWindowState"), QString::number(state));
    s.setValue(QStringLiteral("PrViewWidth"), QString::number(TwX(*this, frame.width())));
    s.setValue(QStringLiteral("PrViewHeight"), QString::number(TwY(*this, frame.height())));
}

int frmPreview::exec()
{
    if (!loaded_ && !Form_Load()) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void frmPreview::setVisible(bool visible)
{
    if (visible && !loaded_ && !isVisible() && !Form_Load()) {
        // A failed load shows nothing; whoever waits learns it was rejected.
        QDialog::done(QDialog::Rejected);
        return;
    }
    QDialog::setVisible(visible);
}

void frmPreview::done(int r)
{
    if (loaded_) Form_Unload();
    QDialog::done(r);
}

// ---- Layout ----

void frmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmPreview::Form_Resize()
{
    if (isMinimized()) return;
    // Positions may go below zero in a very small window; a size that would
    // is left as it was.
    const int gapX = PxX(*this, kGap);
    const int gapY = PxY(*this, kGap);
    cmdEnd->move(width() - cmdEnd->width() - gapX, height() - cmdEnd->height() - gapY);
    cmdPrint->move(cmdEnd->x() - cmdPrint->width() - gapX, cmdEnd->y());
    const int w = width() - VSPrinter1->x() - gapX;
    const int h = cmdPrint->y() - VSPrinter1->y() - gapY;
    VSPrinter1->resize(w >= 0 ? w : VSPrinter1->width(), h >= 0 ? h : VSPrinter1->height());
}

// ---- Commands ----

void PrintOnCurrentPrinter(vbqt::PrintControl& document, const char* title, const char* failedText)
{
    if (document.PageCount() == 0) return;  // nothing to print
    PrinterBackend& printer = CurrentPrinterBackend();
    try {
        // The rule of the printer choice: no device name, no printer.
        if (!printer.DeviceName()) {
            ui::Current().message(kNoPrinterText, title, ui::MessageKind::Warning);
            return;
        }
        printer.PrintDocument(document);
    } catch (const std::exception& e) {
        ui::Current().message(failedText + model::TellFailure(e, model::FailureKind::PrintFailed), title,
                              ui::MessageKind::Warning);
    }
}

void frmPreview::cmdPrint_Click()
{
    if (whole_) PrintOnCurrentPrinter(document_);
}

void frmPreview::cmdEnd_Click()
{
    close();
}

}  // namespace reports
