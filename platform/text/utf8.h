// Character-wise string functions on UTF-8 text, 1-based like the language
// the program was first written in. A character is one code point; a
// malformed byte counts as a character of its own, so the functions never cut
// inside a well-formed character and never fail on bad input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

std::size_t CharCount(std::string_view s) noexcept;

// Byte offset where the character starting at byte `pos` ends.
std::size_t NextChar(std::string_view s, std::size_t pos) noexcept;

// Negative lengths and a start below 1 throw vb::InvalidCall; counts past
// the end are clamped.
std::string Left(std::string_view s, long n);
std::string Right(std::string_view s, long n);
std::string Mid(std::string_view s, long start);
std::string Mid(std::string_view s, long start, long length);

// The first n characters, padded with blanks to n characters.
std::string FitChars(std::string_view s, std::size_t n);

}  // namespace text
