#include "platform/text/cp932.h"

#include <cerrno>
#include <iconv.h>
#include <optional>
#include <stdexcept>

#include "platform/text/utf8.h"

namespace text {
namespace {

// "SHIFT_JIS" would turn 0x5C into the yen sign and lacks the NEC specials
// such as the Roman numerals, so the Windows variant is named explicitly.
constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf8 = "UTF-8";

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // skip(in, left) tells how many input bytes an unconvertible sequence
    // spans, so each bad character costs exactly one '?'. A strict run gives
    // up on the first such sequence instead.
    template <class Skip>
    std::optional<std::string> run(std::string_view in, Skip skip, bool strict = false)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 3 / 2 + 16, '\0');
        std::size_t used = 0;
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        auto put = [&](char c) {
            if (used == out.size()) out.resize(out.size() * 2);
            out[used++] = c;
        };
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            std::size_t dstLeft = out.size() - used;
            const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            used = static_cast<std::size_t>(dst - out.data());
            if (r != static_cast<std::size_t>(-1)) break;
            if (err == E2BIG) {
                out.resize(out.size() * 2);
            } else if (strict) {
                return std::nullopt;
            } else if (err == EINVAL) {
                // A character cut off at the end of the input.
                put('?');
                srcLeft = 0;
            } else {
                const std::size_t n = skip(std::string_view(src, srcLeft));
                src += n;
                srcLeft -= n;
                put('?');
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t SkipUtf8(std::string_view rest)
{
    return NextChar(rest, 0);
}

std::size_t SkipCp932(std::string_view rest)
{
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (IsCp932LeadByte(lead) && rest.size() >= 2) {
        const auto trail = static_cast<unsigned char>(rest[1]);
        // An unassigned double-byte code is one character; a lead byte
        // followed by a non-trail byte is a stray byte, and the next byte
        // is read on its own.
        if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC)) return 2;
    }
    return 1;
}

Converter& ToCp932Converter()
{
    thread_local Converter c(kCp932, kUtf8);
    return c;
}

Converter& FromCp932Converter()
{
    thread_local Converter c(kUtf8, kCp932);
    return c;
}

}  // namespace

std::string ToCp932(std::string_view utf8)
{
    if (utf8.empty()) return {};
    return *ToCp932Converter().run(utf8, SkipUtf8);
}

std::string FromCp932(std::string_view bytes)
{
    if (bytes.empty()) return {};
    return *FromCp932Converter().run(bytes, SkipCp932);
}

std::optional<std::string> FromCp932Strict(std::string_view bytes)
{
    if (bytes.empty()) return std::string();
    return FromCp932Converter().run(bytes, SkipCp932, true);
}

}  // namespace text
