// Fixed-width text fields of the project records.
//
// In memory a field holds exactly N characters: a field never assigned is N
// NUL characters, an assigned one is the text cut to N characters and padded
// with blanks (a character is a code point; everything a field can store in a
// file lies in the Basic Multilingual Plane, so this matches the original's
// 16-bit units). In a file the field is N bytes of code page 932, left-aligned
// and blank-padded; a double-byte character that would not fit whole is
// dropped rather than split. The NUL characters of a never-assigned field are
// written as NUL bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text/utf8.h"

namespace text {

// `utf8` as exactly n bytes of code page 932.
std::string ToFixedBytes(std::string_view utf8, std::size_t n);

// `utf8` as a field of n bytes gives it back from a file: cut before the
// character that would not fit whole, a character code page 932 cannot hold
// as '?', without the blanks that pad it.
std::string AsStoredText(std::string_view utf8, std::size_t n);

// The n bytes of a field as UTF-8, blanks and NULs kept.
std::string FromFixedBytes(const char* bytes, std::size_t n);
std::string FromFixedBytes(std::string_view bytes);

template <std::size_t N>
class FixedText {
public:
    static constexpr std::size_t size() noexcept { return N; }

    FixedText() : value_(N, '\0') {}
    explicit FixedText(std::string_view s) : value_(FitChars(s, N)) {}

    FixedText& operator=(std::string_view s)
    {
        value_ = FitChars(s, N);
        return *this;
    }

    const std::string& value() const noexcept { return value_; }

    std::string toFile() const { return ToFixedBytes(value_, N); }

    void fromFile(const char* bytes, std::size_t n) { value_ = FitChars(FromFixedBytes(bytes, n), N); }

    friend bool operator==(const FixedText&, const FixedText&) = default;

private:
    std::string value_;
};

// A fixed-width field's text without its padding; a field never filled
// holds NULs, which count as blanks.
template <std::size_t N>
std::string FieldText(const FixedText<N>& field)
{
    std::string v = field.value();
    for (char& c : v)
        if (c == '\0') c = ' ';
    const auto first = v.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return v.substr(first, v.find_last_not_of(' ') - first + 1);
}

}  // namespace text
