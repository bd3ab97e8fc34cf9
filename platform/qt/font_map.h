// The Japanese system fonts the program names do not exist here; they map to
// the Noto CJK faces.
#pragma once

#include <QFont>
#include <QString>

#include <string>

namespace vbqt {

struct StdFont;

// "ＭＳ 明朝" / "ＭＳ Ｐ明朝" -> "Noto Serif CJK JP"; "ＭＳ ゴシック" /
// "ＭＳ Ｐゴシック" (and the half-width spellings) -> "Noto Sans CJK JP";
// any other name is kept.
QString mapVbFontName(const QString& name);

// A Qt font for a font object; the point size is kept as given.
QFont toQFont(const StdFont& f);

}  // namespace vbqt
