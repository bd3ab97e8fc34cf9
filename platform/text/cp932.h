// Conversion between the program's UTF-8 text and code page 932, the encoding
// of project files, import files and CSV.
//
// Conversion never throws on data and never stops early: a character that
// code page 932 cannot hold, a malformed UTF-8 sequence or a byte sequence
// that is not code page 932 each becomes one '?', and the rest of the text is
// converted as usual. The descriptors are cached per thread, so the functions
// may be called from any thread. If the C library lacks the CP932 converter
// altogether a std::runtime_error is thrown: that is a broken installation,
// not bad data.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

std::string ToCp932(std::string_view utf8);
std::string FromCp932(std::string_view bytes);
// The same without substitution: nullopt when any byte sequence, a character
// cut off at the end included, is not code page 932.
std::optional<std::string> FromCp932Strict(std::string_view bytes);

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsCp932LeadByte(unsigned char b) noexcept
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace text
