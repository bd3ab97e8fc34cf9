// Full-width letters, digits, signs and katakana to their half-width forms,
// as the rebar-setting program expects model names. Hiragana, kanji and
// characters without a half-width form are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace text {

// U+FF01..U+FF5E become ASCII, U+3000 a blank, katakana the half-width
// katakana with separate voicing marks (ガ -> ｶﾞ, パ -> ﾊﾟ), and ー ・ 「 」 。 、
// their half-width forms.
std::string ToHalfWidth(std::string_view utf8);

}  // namespace text
