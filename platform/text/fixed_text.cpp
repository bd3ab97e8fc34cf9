#include "platform/text/fixed_text.h"

#include "platform/text/cp932.h"

namespace text {

std::string ToFixedBytes(std::string_view utf8, std::size_t n)
{
    std::string bytes = ToCp932(utf8);
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t len = IsCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + len > n) break;
        end += len;
    }
    bytes.resize(end);
    bytes.append(n - end, ' ');
    return bytes;
}

std::string AsStoredText(std::string_view utf8, std::size_t n)
{
    std::string s = FromCp932(ToFixedBytes(utf8, n));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string FromFixedBytes(const char* bytes, std::size_t n)
{
    return FromCp932(std::string_view(bytes, n));
}

std::string FromFixedBytes(std::string_view bytes)
{
    return FromCp932(bytes);
}

}  // namespace text
