#include "mainwin/program_icon.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

QPixmap ProgramIcon(int size)
{
    if (size < 8) size = 8;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 32-unit square.
    p.scale(size / 32.0, size / 32.0);

    QLinearGradient sky(0, 0, 0, 32);
    sky.setColorAt(0, QColor(46, 94, 160));
    sky.setColorAt(1, QColor(20, 48, 92));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

    // Concrete foundation.
    p.setBrush(QColor(196, 196, 188));
    p.drawRect(QRectF(4, 23, 24, 7));
    // Base plate and column.
    p.setBrush(QColor(90, 96, 104));
    p.drawRect(QRectF(7, 20.5, 18, 2.5));
    QLinearGradient steel(11, 0, 21, 0);
    steel.setColorAt(0, QColor(150, 158, 168));
    steel.setColorAt(0.5, QColor(232, 236, 240));
    steel.setColorAt(1, QColor(130, 138, 148));
    p.setBrush(steel);
    p.drawRect(QRectF(11, 4, 10, 16.5));
    // Anchor bolts through the plate.
    p.setPen(QPen(QColor(250, 200, 60), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 19), QPointF(9, 28));
    p.drawLine(QPointF(23, 19), QPointF(23, 28));
    return pm;
}
