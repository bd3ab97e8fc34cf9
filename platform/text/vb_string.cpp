#include "platform/text/vb.h"

namespace vb {
namespace {

// Full-width Latin letters: U+FF21..FF3A are EF BC A1..BA and U+FF41..FF5A
// are EF BD 81..9A. 0xEF only ever starts a character, so matching it at any
// byte is safe.
bool Matches(std::string_view s, std::size_t i, unsigned char second, unsigned char lo, unsigned char hi)
{
    if (i + 2 >= s.size() || static_cast<unsigned char>(s[i]) != 0xEF) return false;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    const auto b2 = static_cast<unsigned char>(s[i + 2]);
    return b1 == second && b2 >= lo && b2 <= hi;
}

}  // namespace

std::string LTrim(std::string_view s)
{
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s)
{
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s)
{
    return LTrim(RTrim(s));
}

std::string UCase(std::string_view s)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] >= 'a' && out[i] <= 'z') {
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        } else if (Matches(out, i, 0xBD, 0x81, 0x9A)) {
            out[i + 1] = static_cast<char>(0xBC);
            out[i + 2] = static_cast<char>(static_cast<unsigned char>(out[i + 2]) + 0x20);
            i += 2;
        }
    }
    return out;
}

std::string LCase(std::string_view s)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] >= 'A' && out[i] <= 'Z') {
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
        } else if (Matches(out, i, 0xBC, 0xA1, 0xBA)) {
            out[i + 1] = static_cast<char>(0xBD);
            out[i + 2] = static_cast<char>(static_cast<unsigned char>(out[i + 2]) - 0x20);
            i += 2;
        }
    }
    return out;
}

}  // namespace vb
