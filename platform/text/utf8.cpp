#include "platform/text/utf8.h"

#include "platform/text/vberror.h"

namespace text {
namespace {

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Byte offset of character `index` (0-based), or s.size() past the end.
std::size_t OffsetOf(std::string_view s, std::size_t index)
{
    std::size_t pos = 0;
    while (index > 0 && pos < s.size()) {
        pos = NextChar(s, pos);
        --index;
    }
    return pos;
}

}  // namespace

std::size_t NextChar(std::string_view s, std::size_t pos) noexcept
{
    if (pos >= s.size()) return s.size();
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t len = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
    }
    std::size_t end = pos + 1;
    while (end < pos + len && end < s.size() && IsContinuation(static_cast<unsigned char>(s[end]))) ++end;
    return end;
}

std::size_t CharCount(std::string_view s) noexcept
{
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < s.size(); pos = NextChar(s, pos)) ++n;
    return n;
}

std::string Left(std::string_view s, long n)
{
    if (n < 0) throw vb::InvalidCall();
    return std::string(s.substr(0, OffsetOf(s, static_cast<std::size_t>(n))));
}

std::string Right(std::string_view s, long n)
{
    if (n < 0) throw vb::InvalidCall();
    const std::size_t count = CharCount(s);
    const auto keep = static_cast<std::size_t>(n);
    if (keep >= count) return std::string(s);
    return std::string(s.substr(OffsetOf(s, count - keep)));
}

std::string Mid(std::string_view s, long start)
{
    if (start < 1) throw vb::InvalidCall();
    return std::string(s.substr(OffsetOf(s, static_cast<std::size_t>(start - 1))));
}

std::string Mid(std::string_view s, long start, long length)
{
    if (length < 0) throw vb::InvalidCall();
    return Left(Mid(s, start), length);
}

std::string FitChars(std::string_view s, std::size_t n)
{
    const std::size_t end = OffsetOf(s, n);
    std::string out(s.substr(0, end));
    out.append(n - CharCount(out), ' ');
    return out;
}

}  // namespace text
