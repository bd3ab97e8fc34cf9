// Scroll-bar sizes in twips, read once from the system and handed out to the
// grid editors. One instance, model::gzDLGetSys, lives for the whole run.
#pragma once

#include <functional>

class zDLGetSys_Vendra {
public:
    // What the system reports: pixel sizes and the screen's twips per pixel.
    struct Metrics {
        long HScrollHeight = 0;  // height of a horizontal scroll bar
        long VScrollWidth = 0;   // width of a vertical scroll bar
        long EdgeWidth = 0;      // 3-D edge
        long EdgeHeight = 0;
        float TwipsPerPixelX = 15.0f;
        float TwipsPerPixelY = 15.0f;
    };
    using Source = std::function<Metrics()>;

    // Reads the metrics of the running application's style and screen.
    zDLGetSys_Vendra();
    // Reads them from `source` instead (tests).
    explicit zDLGetSys_Vendra(Source source);

    void RefreshSysInfo();
    // Each size includes one 3-D edge; from the values of the last refresh.
    void GetScrollBarWidth(float& rsngVScrollX, float& rsngHScrollY) const;

    // The system's own values.
    static Metrics SystemMetrics();

private:
    Source source_;
    Metrics m_;
};
