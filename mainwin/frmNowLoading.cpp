#include "mainwin/frmNowLoading.h"

#include "platform/qt/font_map.h"
#include "platform/qt/twips.h"

#include <QCoreApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

QPointer<frmNowLoading> gNowLoading;

}  // namespace

frmNowLoading::frmNowLoading(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), main_(mainWindow)
{
    setObjectName("frmNowLoading");
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    const auto px = [this](double twips) {
        return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelX(*this)));
    };
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Label1 = new QLabel(QStringLiteral("データ取得中です。"), Frame1);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(Frame1);
    inner->addWidget(Label1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(px(60), px(60), px(60), px(60));
    outer->addWidget(Frame1);
    setFixedSize(px(3000), px(900));
}

void frmNowLoading::Form_Load()
{
    QCoreApplication::processEvents();
    if (!main_) return;
    const QRect m = main_->frameGeometry();
    const QRect own = frameGeometry();
    move(x(), static_cast<int>(std::lround(m.y() + (m.height() - own.height()) / 2.0)));
    move(static_cast<int>(std::lround(m.x() + (m.width() - own.width()) / 2.0)), y());
}

void ShowNowLoading(QWidget* mainWindow)
{
    if (!gNowLoading) {
        gNowLoading = new frmNowLoading(mainWindow);
        gNowLoading->Form_Load();
        // Its events may have unloaded it again.
        if (!gNowLoading) return;
    }
    gNowLoading->show();
    gNowLoading->raise();
    // The work that follows blocks the event loop: paint now.
    QCoreApplication::processEvents();
}

void HideNowLoading() { delete gNowLoading.data(); }

frmNowLoading* NowLoadingWindow() { return gNowLoading.data(); }
