#include "widgets/zDLGetSys_Vendra.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

zDLGetSys_Vendra::zDLGetSys_Vendra() : zDLGetSys_Vendra(&zDLGetSys_Vendra::SystemMetrics) {}

zDLGetSys_Vendra::zDLGetSys_Vendra(Source source) : source_(std::move(source)) { RefreshSysInfo(); }

void zDLGetSys_Vendra::RefreshSysInfo() { m_ = source_(); }

void zDLGetSys_Vendra::GetScrollBarWidth(float& rsngVScrollX, float& rsngHScrollY) const
{
    rsngHScrollY = static_cast<float>(m_.HScrollHeight + m_.EdgeHeight) * m_.TwipsPerPixelY;
    rsngVScrollX = static_cast<float>(m_.VScrollWidth + m_.EdgeWidth) * m_.TwipsPerPixelX;
}

zDLGetSys_Vendra::Metrics zDLGetSys_Vendra::SystemMetrics()
{
    Metrics m;
    if (QStyle* st = QApplication::style()) {
        m.HScrollHeight = m.VScrollWidth = st->pixelMetric(QStyle::PM_ScrollBarExtent);
        m.EdgeWidth = m.EdgeHeight = st->pixelMetric(QStyle::PM_DefaultFrameWidth);
    }
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        if (s->logicalDotsPerInchX() > 0) m.TwipsPerPixelX = static_cast<float>(1440.0 / s->logicalDotsPerInchX());
        if (s->logicalDotsPerInchY() > 0) m.TwipsPerPixelY = static_cast<float>(1440.0 / s->logicalDotsPerInchY());
    }
    return m;
}
