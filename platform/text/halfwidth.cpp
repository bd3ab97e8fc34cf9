#include "platform/text/halfwidth.h"

#include "platform/text/utf8.h"

#include <map>
#include <vector>

namespace text {

namespace {

// Characters of a UTF-8 text, one string each.
std::vector<std::string> Chars(std::string_view s)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t j = NextChar(s, i);
        out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

const std::map<std::string, std::string>& KanaTable()
{
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> t;
        const auto full = Chars("ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン。「」、・゛゜");
        const auto half = Chars("ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ｡｢｣､･ﾞﾟ");
        for (std::size_t i = 0; i < full.size() && i < half.size(); ++i) t[full[i]] = half[i];
        const auto voiced = Chars("ガギグゲゴザジズゼゾダヂヅデドバビブベボ");
        const auto voicedBase = Chars("ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ");
        for (std::size_t i = 0; i < voiced.size(); ++i) t[voiced[i]] = voicedBase[i] + "ﾞ";
        const auto semi = Chars("パピプペポ");
        const auto semiBase = Chars("ﾊﾋﾌﾍﾎ");
        for (std::size_t i = 0; i < semi.size(); ++i) t[semi[i]] = semiBase[i] + "ﾟ";
        t["ヴ"] = "ｳﾞ";
        return t;
    }();
    return table;
}

// Code point of a well-formed 3-byte UTF-8 character, else 0.
char32_t ThreeByteCodePoint(const std::string& c)
{
    if (c.size() != 3) return 0;
    const auto b0 = static_cast<unsigned char>(c[0]);
    const auto b1 = static_cast<unsigned char>(c[1]);
    const auto b2 = static_cast<unsigned char>(c[2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return 0;
    return (char32_t(b0 & 0x0F) << 12) | (char32_t(b1 & 0x3F) << 6) | char32_t(b2 & 0x3F);
}

}  // namespace

std::string ToHalfWidth(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto& kana = KanaTable();
    for (const std::string& c : Chars(utf8)) {
        const char32_t cp = ThreeByteCodePoint(c);
        if (cp >= 0xFF01 && cp <= 0xFF5E) {
            out += static_cast<char>(cp - 0xFF01 + 0x21);
        } else if (cp == 0x3000) {
            out += ' ';
        } else if (const auto it = kana.find(c); it != kana.end()) {
            out += it->second;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace text
