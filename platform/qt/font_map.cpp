#include "platform/qt/font_map.h"

#include "platform/qt/draw_targets.h"

namespace vbqt {

namespace {

// Half-width Latin and blanks so "MS Gothic", "ＭＳ　ゴシック" and "ＭＳ ゴシック" compare alike.
QString folded(const QString& s) {
    QString out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\u3000') continue;
        if (u >= 0xFF01 && u <= 0xFF5E) out += QChar(char16_t(u - 0xFEE0));
        else out += c;
    }
    return out.toUpper();
}

}  // namespace

QString mapVbFontName(const QString& name) {
    const QString f = folded(name);
    if (f == QStringLiteral("MS明朝") || f == QStringLiteral("MSP明朝") ||
        f == QStringLiteral("MSMINCHO") || f == QStringLiteral("MSPMINCHO"))
        return QStringLiteral("Noto Serif CJK JP");
    if (f == QStringLiteral("MSゴシック") || f == QStringLiteral("MSPゴシック") ||
        f == QStringLiteral("MSGOTHIC") || f == QStringLiteral("MSPGOTHIC") ||
        f == QStringLiteral("MSUIGOTHIC"))
        return QStringLiteral("Noto Sans CJK JP");
    return name;
}

QFont toQFont(const StdFont& f) {
    QFont q(mapVbFontName(QString::fromStdString(f.Name)));
    q.setPointSizeF(f.Size > 0 ? f.Size : 1.0);
    q.setBold(f.Bold);
    q.setItalic(f.Italic);
    q.setUnderline(f.Underline);
    return q;
}

}  // namespace vbqt
