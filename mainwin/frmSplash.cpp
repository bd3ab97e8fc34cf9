#include "mainwin/frmSplash.h"

#include "mainwin/flmImmunity.h"
#include "mainwin/load_res_strings.h"
#include "mainwin/program_icon.h"
#include "mainwin/version_text.h"
#include "platform/qt/font_map.h"
#include "platform/qt/twips.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QShowEvent>
#include <QTimer>

#include <cmath>

namespace {

// The picture behind the splash window: the program's name beside a column
// base in elevation.
QPixmap SplashPicture(QSize size, const QFont& uiFont)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();

    QLinearGradient back(0, 0, w, h);
    back.setColorAt(0, QColor(24, 54, 104));
    back.setColorAt(1, QColor(12, 28, 58));
    p.fillRect(pm.rect(), back);

    // Column base on the right: pedestal, plate, column, bolts.
    const double cx = w * 0.76;
    const double ground = h * 0.62;
    p.setPen(QPen(QColor(150, 160, 176), 1));
    p.setBrush(QColor(70, 82, 100));
    const QRectF pedestal(cx - w * 0.15, ground, w * 0.30, h * 0.30);
    p.drawRect(pedestal);
    p.setPen(QPen(QColor(96, 108, 128), 1));
    for (double x = pedestal.left() - pedestal.height(); x < pedestal.right(); x += 10)
        p.drawLine(QPointF(std::max(x, pedestal.left()), pedestal.bottom() - std::max(0.0, pedestal.left() - x)),
                   QPointF(std::min(x + pedestal.height(), pedestal.right()),
                           pedestal.top() + std::max(0.0, x + pedestal.height() - pedestal.right())));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 130, 144));
    p.drawRect(QRectF(cx - w * 0.11, ground - h * 0.035, w * 0.22, h * 0.035));
    QLinearGradient steel(cx - w * 0.06, 0, cx + w * 0.06, 0);
    steel.setColorAt(0, QColor(150, 160, 172));
    steel.setColorAt(0.5, QColor(236, 240, 244));
    steel.setColorAt(1, QColor(130, 140, 152));
    p.setBrush(steel);
    p.drawRect(QRectF(cx - w * 0.06, h * 0.08, w * 0.12, ground - h * 0.035 - h * 0.08));
    p.setPen(QPen(QColor(248, 200, 64), 3, Qt::SolidLine, Qt::RoundCap));
    for (double dx : {-w * 0.085, w * 0.085})
        p.drawLine(QPointF(cx + dx, ground - h * 0.07), QPointF(cx + dx, ground + h * 0.20));

    // The program's name and icon on the left.
    p.drawPixmap(QPointF(w * 0.05, h * 0.12), ProgramIcon(static_cast<int>(h * 0.16)));
    const QString name = QStringLiteral("ヴェンドラS＆SRC柱脚検討");
    const QRectF titleBox(w * 0.05, h * 0.32, w * 0.56, h * 0.24);
    // On one line, as large as the space beside the drawing allows.
    QFont title = uiFont;
    title.setBold(true);
    for (double pt = uiFont.pointSizeF() * 2; pt > uiFont.pointSizeF(); pt -= 0.5) {
        title.setPointSizeF(pt);
        if (QFontMetricsF(title, &pm).horizontalAdvance(name) <= titleBox.width()) break;
    }
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, name);
    p.setPen(QPen(QColor(248, 200, 64), 2));
    p.drawLine(QPointF(w * 0.05, h * 0.58), QPointF(w * 0.56, h * 0.58));
    return pm;
}

}  // namespace

frmSplash::frmSplash(QWidget* mainWindow, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), main_(mainWindow)
{
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    // Its closing comes before the main window shows: that is no last window
    // closing, and must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    setFixedSize(PxX(kWidth), PxY(kHeight));

    const auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        return l;
    };
    lblVersion = label("lblVersion");
    lblVersion->setGeometry(PxX(360), PxY(2760), PxX(4000), PxY(300));
    Label1 = label("Label1");
    Label1->setGeometry(PxX(360), PxY(3600), PxX(6480), PxY(300));

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

int frmSplash::PxX(double twips) const { return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelX(*this))); }
int frmSplash::PxY(double twips) const { return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelY(*this))); }

void frmSplash::showEvent(QShowEvent* event)
{
    if (!loaded_) Form_Load();
    QWidget::showEvent(event);
}

void frmSplash::paintEvent(QPaintEvent*)
{
    if (picture_.size() != size()) picture_ = SplashPicture(size(), font());
    QPainter(this).drawPixmap(0, 0, picture_);
}

void frmSplash::Form_Load()
{
    if (loaded_) return;
    loaded_ = true;
    LoadResStrings(this);
    lblVersion->setText(VersionText());
    Label1->setText(LegalNotice());
    Timer1->setInterval(1000);
    Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    Timer1->stop();
    // This window goes first; what follows must not touch it.
    const QPointer<QWidget> main = main_;
    close();
    if (!main) return;
    main->show();
    flmImmunity::ShowModal(main);
}
