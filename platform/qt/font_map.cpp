#include "platform/qt/font_map.h"

#include "platform/qt/draw_targets.h"

#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>

#include <mutex>

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

int16_t bigEndian16(const QByteArray& table, int offset) {
    const auto hi = static_cast<uint8_t>(table[offset]);
    const auto lo = static_cast<uint8_t>(table[offset + 1]);
    return static_cast<int16_t>((hi << 8) | lo);
}

double designedAscent(const QFont& f) {
    const QRawFont raw = QRawFont::fromFont(f);
    if (raw.isValid()) {
        // sTypoAscender and sTypoDescender sit at bytes 68 and 70 of every
        // OS/2 table but Apple's first 68-byte one.
        const QByteArray os2 = raw.fontTable("OS/2");
        if (os2.size() >= 72) {
            const double up = bigEndian16(os2, 68);
            const double down = -bigEndian16(os2, 70);
            if (up > 0 && down >= 0) return up / (up + down);
        }
        if (raw.ascent() > 0 && raw.descent() >= 0)
            return raw.ascent() / (raw.ascent() + raw.descent());
    }
    const QFontMetricsF m(f);
    return m.ascent() / (m.ascent() + m.descent());
}

}  // namespace

QString mapVbFontName(const QString& name) {
    // Where an IPA face is missing, Qt falls back to the Noto CJK face of
    // the same kind.
    static const bool fallbacks = [] {
        QFont::insertSubstitution(QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP"));
        QFont::insertSubstitution(QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP"));
        QFont::insertSubstitution(QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"));
        QFont::insertSubstitution(QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"));
        return true;
    }();
    (void)fallbacks;
    const QString f = folded(name);
    if (f == QStringLiteral("MS明朝") || f == QStringLiteral("MSMINCHO")) return QStringLiteral("IPAMincho");
    if (f == QStringLiteral("MSP明朝") || f == QStringLiteral("MSPMINCHO")) return QStringLiteral("IPAPMincho");
    if (f == QStringLiteral("MSゴシック") || f == QStringLiteral("MSGOTHIC")) return QStringLiteral("IPAGothic");
    if (f == QStringLiteral("MSPゴシック") || f == QStringLiteral("MSPGOTHIC") || f == QStringLiteral("MSUIGOTHIC"))
        return QStringLiteral("IPAPGothic");
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

double emAscent(const QFont& f) {
    // The share does not depend on the size; faces are few, so keep them.
    static std::mutex lock;
    static QHash<QString, double> known;
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(f.family())
                            .arg(static_cast<int>(f.weight()))
                            .arg(static_cast<int>(f.style()));
    const std::lock_guard<std::mutex> hold(lock);
    const auto it = known.constFind(key);
    if (it != known.constEnd()) return *it;
    const double a = designedAscent(f);
    known.insert(key, a);
    return a;
}

}  // namespace vbqt
