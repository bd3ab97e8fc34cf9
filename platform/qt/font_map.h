// The Japanese system fonts the program names do not exist here; they map to
// the IPA faces, made with the same advance widths (half-width letters and
// digits half an em wide in the fixed-pitch faces), with the Noto CJK faces
// behind them where those are missing.
#pragma once

#include <QFont>
#include <QString>

#include <string>

namespace vbqt {

struct StdFont;

// "ＭＳ 明朝" -> "IPAMincho", "ＭＳ Ｐ明朝" -> "IPAPMincho", "ＭＳ ゴシック" ->
// "IPAGothic", "ＭＳ Ｐゴシック" and "MS UI Gothic" -> "IPAPGothic" (blanks
// and half- or full-width spellings alike); any other name is kept.
QString mapVbFontName(const QString& name);

// A Qt font for a font object; the point size is kept as given.
QFont toQFont(const StdFont& f);

// Both targets lay texts out in the cell the program's positions were worked
// out for: the em box of the font size, its top at the current y, the
// baseline at the em's ascent as the face designs it (the OS/2 typo ascender
// and descender), not at the taller line box the face reports for spacing.
// The part of the em above the baseline, 0 < a < 1.
double emAscent(const QFont& f);

}  // namespace vbqt
