#include "exchange/import_file.h"

#include "model/base_data.h"
#include "model/file_util.h"
#include "model/globals.h"
#include "model/project_file.h"
#include "model/sections.h"
#include "platform/text/cp932.h"
#include "platform/text/fixed_text.h"
#include "platform/text/native_path.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <unistd.h>

namespace exchange {

using namespace model;

namespace {

const char* const kErrorTitle = "インポート時のエラー";
const char* const kUnknownKind = "柱の種類の指定に誤りがあります。\r\r強制的に角形鋼管に設定します。";
const char* const kBadRoute = "設計ルートの値が不正です。強制終了します。";

constexpr long kMaxColumns = 32767;
// Far above the largest analysis output: 32767 columns of some hundred lines.
constexpr std::uintmax_t kMaxImportFileBytes = 1024u << 20;

std::string Quoted(const std::string& keyword, const std::string& field)
{
    return "（" + keyword + " : " + field + "）";
}

// A decimal field; the import stops on anything that is no number.
double Number(const std::string& s, const std::string& keyword)
{
    if (vb::IsNumeric(s)) {
        try {
            const double v = vb::Val(s);
            if (std::isfinite(v)) return v;
        } catch (const vb::Error&) {
        }
    }
    throw ImportError("数値として読めない値があります。" + Quoted(keyword, s));
}

// A seismic or snow factor: a project holding one outside the range the
// program keeps would be saved and then not open again.
double Factor(const std::string& s, const std::string& keyword)
{
    const double v = Number(s, keyword);
    if (!DesignFactorAccepted(v))
        throw ImportError("γ・αの値が0～" + vb::CStr(kDesignFactorMax) + "の範囲を超えています。" + Quoted(keyword, s));
    return v;
}

// A whole-number field: rounded as the 16-bit conversion does.
int16_t Whole(const std::string& s, const std::string& keyword)
{
    const double v = Number(s, keyword);
    try {
        return vb::CInt(v);
    } catch (const vb::Error&) {
        throw ImportError("整数の範囲（-32768～32767）を超える値があります。" + Quoted(keyword, s));
    }
}

// The leading number of a text, 0 when there is none, rounded down.
double FlooredLeading(const std::string& s, const std::string& keyword)
{
    try {
        const double v = std::floor(vb::Val(s));
        if (std::isfinite(v)) return v;
    } catch (const vb::Error&) {
    }
    throw ImportError("数値として読めない値があります。" + Quoted(keyword, s));
}

std::string Field(const std::vector<std::string>& f, std::size_t i) { return i < f.size() ? f[i] : std::string(); }

// The remembered MCST and CSIZE fields before any such line: empty texts.
double RememberedNumber(const std::vector<std::string>& f, std::size_t i, const char* keyword)
{
    const std::string s = Field(f, i);
    return s.empty() ? 0.0 : Number(s, keyword);
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Route text of ROOT; 0 for a text that names none.
int16_t RouteCode(const std::string& t)
{
    if (t == "1" || t == "1-1" || t == "11") return 11;
    if (t == "1-2" || t == "12") return 12;
    if (t == "2") return 2;
    if (t == "3") return 3;
    return 0;
}

struct LoadKey {
    const char* suffix;
    int16_t cases[2];
};

constexpr LoadKey kLoadKeys[] = {
    {"LL", {1, 2}},   {"LX", {1, 0}},   {"LY", {2, 0}},   {"EXL", {3, 0}},  {"EXR", {4, 0}},  {"EYL", {5, 0}},
    {"EYR", {6, 0}},  {"WXL", {7, 0}},  {"WXR", {8, 0}},  {"WYL", {9, 0}},  {"WYR", {10, 0}}, {"LS", {11, 12}},
    {"SX", {11, 0}},  {"SY", {12, 0}},  {"UXL", {15, 0}}, {"UXR", {16, 0}}, {"UYL", {17, 0}}, {"UYR", {18, 0}},
};

const LoadKey* LoadKeyOf(const std::string& suffix)
{
    for (const LoadKey& k : kLoadKeys)
        if (suffix == k.suffix) return &k;
    return nullptr;
}

bool IsDigit(const std::string& c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

// The parser's working state over one file.
class Parser {
public:
    Parser(const ImportBaseChooser& chooser) : chooser_(chooser) {}

    void run(const std::vector<std::string>& lines, const std::string& folder, const std::string& fileName);

private:
    void line(std::string text);
    void header(const std::string& key, const std::vector<std::string>& f, int last);
    bool column(const std::string& key, std::vector<std::string>& f);
    void identifyBase(const std::string& name);
    void orient(const std::string& key, const std::vector<std::string>& f);
    void columnEnd();
    // The name as the project file will hold it, the base-rebar list too.
    void setColumnName(const std::string& name)
    {
        work_.ColName = text::AsStoredText(name, work_.ColName.size());
    }
    bool loadBase(int32_t n);
    void choose(int32_t n);
    void dropColumn(int32_t n);
    void askLumoGrade(int32_t n);

    const ImportBaseChooser& chooser_;
    ColumnDataTbl work_;
    std::vector<std::string> axisX_;
    std::vector<std::string> axisY_;
    bool siFile_ = false;
    std::vector<std::string> mcst_ = std::vector<std::string>(8);
    std::vector<std::string> csize_ = std::vector<std::string>(8);
    std::string kind_;
    bool notIdentified_ = false;
    std::string closing_;
    // A CAXIS line has started a column that has not ended yet.
    bool open_ = false;
    long starts_ = 0;
};

std::string ClosingKeyword(const std::vector<std::string>& lines)
{
    const long n = static_cast<long>(lines.size());
    // Count up to the second column start; the last line is never looked at.
    long j = 0;
    long starts = 0;
    for (long i = 1; i < n; ++i) {
        if (StartsWith(vb::Trim(lines[i - 1]), "CAXIS")) ++starts;
        ++j;
        if (starts == 2) break;
    }
    long first;
    long last;
    if (starts < 2) {
        // One column: its block ends with the file, so its last lines count.
        first = std::max(1L, n - 3);
        last = n;
    } else if (j < 5) {
        first = 1;
        last = std::min(4L, n);
    } else {
        first = j - 4;
        last = j - 1;
    }
    const char* const none = "柱データの終わりを示す行が見つかりません。";
    for (long i = last; i >= first; --i) {
        const std::string& l = lines[i - 1];
        if (l.empty()) continue;
        const std::string t = vb::Trim(l);
        const auto comma = t.find(',');
        if (comma == std::string::npos) throw ImportError(none, i);
        const std::string key = vb::Trim(t.substr(0, comma));
        if (key.empty()) throw ImportError(none, i);
        return key;
    }
    throw ImportError(none);
}

void Parser::run(const std::vector<std::string>& lines, const std::string& folder, const std::string& fileName)
{
    gCond = gCondDefault;
    // Always a steel-column project, whatever the structure switch left in
    // the template.
    gCond.SMode = kTrue;
    gCond.Fc = gSIDisp ? 21 : 210;
    work_ = gColumnDefault;
    gCond.ImportDir = folder;
    gCond.ImportFile = fileName;

    closing_ = ClosingKeyword(lines);

    // Room for every column start; the caller trims what skipped columns
    // leave at the end.
    const long starts = CountColumnStarts(lines);
    gColumns.redim(starts);
    gKvBase.redim(starts);
    gResults.redim(starts);
    gCond.ColCount = 0;
    long number = 0;
    try {
        for (const std::string& l : lines) {
            ++number;
            line(l);
        }
    } catch (const ImportError& e) {
        if (e.line() != 0) throw;
        throw ImportError(e.what(), number);
    }
    if (open_) throw ImportError("柱データが途中で終わっています。", number);
    gDataChanged = true;
}

void Parser::line(std::string text)
{
    std::vector<std::string> f;
    int last = 0;
    SplitCsvFields(text, f, last);
    const std::string key = vb::Trim(f[0]);

    if (!column(key, f)) header(key, f, last);

    if (key == closing_) {
        if (open_) {
            columnEnd();
        } else if (starts_ == 0) {
            throw ImportError("柱データ（CAXIS）より前に柱データの終わりを示す行（" + closing_ + "）があります。");
        }
        // Another closing line right after a column end ends nothing.
    }
}

void Parser::header(const std::string& key, const std::vector<std::string>& f, int last)
{
    if (key == "TITLE") {
        gCond.Bukken = vb::Trim(f[1]);
    } else if (key == "APP") {
        gCond.ImportApp = vb::Trim(f[2]) + " : " + vb::Trim(f[1]);
    } else if (key == "NAME") {
        gCond.Tantou = vb::Trim(f[1]);
    } else if (key == "DATE") {
        gCond.BukkenDate = ReadImportDate(NormalizeDateText(f[1]));
    } else if (key == "UNIT") {
        siFile_ = vb::Trim(f[1]) != "2";
    } else if (key == "AXIS") {
        const int16_t nx = Whole(f[1], key);
        const int16_t ny = Whole(f[2], key);
        if (nx < 0 || ny < 0) throw ImportError("軸の数が正しくありません。" + Quoted(key, f[1] + "," + f[2]));
        gCond.AxisCountX = nx;
        gCond.AxisCountY = ny;
        axisX_.assign(static_cast<std::size_t>(nx), std::string());
        axisY_.assign(static_cast<std::size_t>(ny), std::string());
    } else if (key == "BPANX" || key == "BPANY") {
        std::vector<std::string>& names = key == "BPANX" ? axisX_ : axisY_;
        if (static_cast<std::size_t>(last) < names.size())
            throw ImportError("軸名の数が軸の数より少なくなっています。（" + key + "）");
        for (std::size_t i = 0; i < names.size(); ++i) names[i] = vb::Trim(f[i + 1]);
    } else if (key == "ROOT") {
        const int16_t x = RouteCode(vb::Trim(f[1]));
        const int16_t y = RouteCode(vb::Trim(f[2]));
        if (x == 0 || y == 0) throw ImportError(kBadRoute);
        gCond.DesignRootX = x;
        gCond.DesignRootY = y;
        if (gCond.DesignRootX == 3) gCond.UltCalcMode = 1;
    } else if (key == "BPGAM") {
        gCond.GammaX = Factor(f[1], key);
        gCond.GammaY = Factor(f[2], key);
    } else if (key == "BRBET") {
        gCond.BrBeta1 = Number(f[1], key);
        gCond.BrBeta2 = Number(f[2], key);
    } else if (key == "LS") {
        gCond.SCondition = Whole(f[1], key);
        gCond.Alpha1 = Factor(f[2], key);
        gCond.Alpha2 = Factor(f[3], key);
    } else if (key == "LW") {
        gCond.Lw1 = Whole(f[1], key);
        gCond.Lw2 = Whole(f[2], key);
    }
}

bool Parser::column(const std::string& key, std::vector<std::string>& f)
{
    if (key == "CAXIS") {
        if (open_) throw ImportError("柱データが途中で終わっています（次の CAXIS の前に終わりの行がありません）。");
        const int16_t ix = Whole(f[1], key);
        const int16_t iy = Whole(f[2], key);
        if (ix < 1 || ix > static_cast<long>(axisX_.size()) || iy < 1 || iy > static_cast<long>(axisY_.size()))
            throw ImportError("軸番号が軸の数の範囲外です。" + Quoted(key, f[1] + "," + f[2]));
        if (gCond.ColCount >= kMaxColumns) throw ImportError("柱の数が多すぎます（32767まで）。");
        ++gCond.ColCount;
        ++starts_;
        open_ = true;
        notIdentified_ = false;
        work_.AxisXNo = ix;
        work_.AxisYNo = iy;
        work_.AxisXName = axisX_[static_cast<std::size_t>(ix - 1)];
        work_.AxisYName = axisY_[static_cast<std::size_t>(iy - 1)];
        setColumnName(vb::Trim(work_.AxisXName.value()) + "-" + vb::Trim(work_.AxisYName.value()));
    } else if (key == "CNAME") {
        setColumnName(vb::Trim(f[1]) + "(" + vb::Trim(work_.AxisXName.value()) + "-" +
                      vb::Trim(work_.AxisYName.value()) + ")");
    } else if (key == "MCON") {
        const double v = Number(f[1], key);
        if (siFile_)
            work_.Fc = gSIDisp ? v : v * 10;
        else
            work_.Fc = gSIDisp ? v / 10 : v;
    } else if (key == "MCST") {
        mcst_ = f;
    } else if (key == "CSIZE") {
        csize_ = f;
    } else if (key == "BPNAME" || key == "KVNAME") {
        identifyBase(vb::Trim(f[1]));
    } else if (key == "CENTER" || key == "KVE") {
        orient(key, f);
    } else if (key == "BPLEN" || key == "FLEN") {
        work_.BPLen = Number(f[1], key);
    } else if (StartsWith(key, "BP") || StartsWith(key, "BR")) {
        const LoadKey* k = LoadKeyOf(key.substr(2));
        if (!k) return false;
        LoadTable& table = key[1] == 'P' ? work_.LoadTbl : work_.LoadTblBR;
        for (int16_t c : k->cases)
            if (c != 0) AddImportedLoads(table, f, c, siFile_);
    } else {
        return false;
    }
    return true;
}

void Parser::identifyBase(const std::string& n)
{
    kind_.clear();
    const std::string c1 = text::Left(n, 1);
    const std::string c2 = text::Mid(n, 2, 1);
    enum class How { None, Suffix, Whole } how = How::None;
    std::string name = n;
    if (c1 == "Q" || c1 == "R") {
        how = How::Suffix;
    } else if (c1 == "K") {
        if (c2 != "P") how = How::Suffix;
        if (c2 == "C") kind_ = "KC";
        if (c2 == "S") kind_ = "KS";
    } else if (c1 == "Z" || c1 == "W" || c1 == "V") {
        how = How::Whole;
    } else if (c1 == "H") {
        if (text::Mid(n, 5, 1) == "X") name = text::Left(n, 4) + "×" + text::Mid(n, 6);
        how = How::Suffix;
    }
    if (how == How::None) {
        notIdentified_ = true;
        return;
    }
    int16_t bolt = 0;
    if (how == How::Suffix) {
        const long len = static_cast<long>(text::CharCount(name));
        const std::string d1 = text::Mid(name, len - 1, 1);
        const std::string d2 = text::Mid(name, len, 1);
        if (len < 4 || !IsDigit(d1) || !IsDigit(d2)) {
            notIdentified_ = true;
            return;
        }
        bolt = static_cast<int16_t>((d1[0] - '0') * 10 + (d2[0] - '0'));
        name = text::Left(name, len - 3);
    }
    int32_t id = 0;
    int16_t series = 0;
    int16_t abNum = 0;
    const KvLookup found = GetKvIdByModelName(name, bolt, id, series, abNum);
    work_.KolvanID = id;
    work_.KvV = series;
    work_.AbNum = abNum;
    if (found != KvLookup::Found) notIdentified_ = true;
}

void Parser::orient(const std::string& key, const std::vector<std::string>& f)
{
    if (kind_ != "KS" && kind_ != "KC") return;
    const double a = FlooredLeading(f[1], key);
    const double b = FlooredLeading(f[2], key);
    const bool center = key == "CENTER";
    if (kind_ == "KS") {
        work_.KvDir = 0;
        if (a > 0) {
            work_.KvDir = center ? 2 : 0;
            work_.KvRotate = 0;
        } else if (a < 0) {
            work_.KvDir = center ? 0 : 2;
            work_.KvRotate = 0;
        } else if (b > 0) {
            work_.KvDir = center ? 3 : 1;
            work_.KvRotate = 1;
        } else if (b < 0) {
            work_.KvDir = center ? 1 : 3;
            work_.KvRotate = 1;
        }
        return;
    }
    work_.KvRotate = 0;
    int16_t dir = -1;
    if (a > 0 && b > 0) dir = 3;
    if (a > 0 && b < 0) dir = 2;
    if (a < 0 && b > 0) dir = 0;
    if (a < 0 && b < 0) dir = 1;
    if (dir < 0) return;
    work_.KvDir = center ? dir : static_cast<int16_t>((dir + 2) % 4);
}

void Parser::choose(int32_t n)
{
    if (chooser_)
        chooser_(n);
    else
        gColumns(n).KolvanID = 0;
}

// Base data of column n after a choice; false when the user skipped it.
bool Parser::loadBase(int32_t n)
{
    ColumnDataTbl& col = gColumns(n);
    if (col.KolvanID == 0) return false;
    KvBaseTbl& kvb = gKvBase(n);
    LoadKvBaseData(col.KolvanID, col.AbNum, kvb);
    // The column follows its base, as the base dialog leaves it.
    kvb.AbNum = col.AbNum;
    col.KvV = kvb.KvV;
    SetColumnBaseGeometry(col, kvb, true);
    return true;
}

void Parser::dropColumn(int32_t n)
{
    // The next column takes this index; it must not show this one's base.
    gColumns(n) = ColumnDataTbl{};
    gKvBase(n) = KvBaseTbl{};
    --gCond.ColCount;
}

void Parser::columnEnd()
{
    open_ = false;
    const int32_t n = gCond.ColCount;
    BuildImportedColumnSection(work_, mcst_, csize_, notIdentified_);
    GetColumnSectionData(work_);
    gColumns(n) = work_;
    work_ = gColumnDefault;
    work_.KvDir = 0;
    work_.KvRotate = 0;

    const bool choice = notIdentified_;
    notIdentified_ = false;
    if (choice) choose(n);
    if (!loadBase(n)) {
        dropColumn(n);
        return;
    }

    const double s = gColumns(n).ColSize;
    const double step = (s > 170 && s < 180) ? 25 : 50;
    const double nominal = step * std::floor(s / step + 0.5);
    if (std::trunc(gKvBase(n).ColSize) != nominal) {
        choose(n);
        if (!loadBase(n)) {
            dropColumn(n);
            return;
        }
    }
    askLumoGrade(n);
}

void Parser::askLumoGrade(int32_t n)
{
    ColumnDataTbl& col = gColumns(n);
    const KvBaseTbl& kvb = gKvBase(n);
    const int16_t code = col.ColMatCode;
    if (!StartsWith(vb::Trim(kvb.KvName.value()), "W") || !(kvb.KvT(2) > 40)) return;
    if (code != 2 && code != 4 && code != 6) return;
    const std::string lower = GetSteelMaterialName(static_cast<int16_t>(code - 1));
    const std::string text = std::string("コルヴァン・ルモシリーズのベース板厚が40mmを超える形式は\r") +
                             "　　F値325N/mm2の柱に適用できません。\r" + "　　           　(柱名称 : " +
                             vb::Trim(col.ColName.value()) + ")\r" + "　　           　(形式 : " +
                             vb::Trim(kvb.KvName.value()) + ")\r" + "\r" + "　柱材質を変更しますか？" +
                             GetSteelMaterialName(code) + " ⇒ " + lower;
    if (ui::Current().question(text, kErrorTitle, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    col.ColMatCode = static_cast<int16_t>(code - 1);
    // The lower grade's strength goes with it.
    col.ColF = GetSteelFValue(col.ColMatCode);
}

}  // namespace

std::vector<std::string> DecodeImportLines(std::string_view bytes)
{
    const char* const wrong = "ファイルの文字コードが正しくありません。シフトJISのテキストファイルを指定してください。";
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") throw ImportError(wrong);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        // Text has no control characters but tab, the line ends and the
        // old end-of-file mark.
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != 0x1A) throw ImportError(wrong);
    }
    const std::optional<std::string> decoded = text::FromCp932Strict(bytes);
    if (!decoded) throw ImportError(wrong);
    const std::string& textUtf8 = *decoded;
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = textUtf8.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = textUtf8[i];
        if (c != '\r' && c != '\n') continue;
        lines.push_back(textUtf8.substr(start, i - start));
        if (c == '\r' && i + 1 < n && textUtf8[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.push_back(textUtf8.substr(start));
    return lines;
}

std::string ReadImportBytes(const std::string& path)
{
    const std::string native = text::ToNativePath(path);
    try {
        return ReadRegularFile(native, kMaxImportFileBytes);
    } catch (const std::runtime_error&) {
        // A name that is missing or barred says so; a folder, a device, a
        // file too large or a failed read cannot be read. The reason follows.
        if (::access(native.c_str(), R_OK) != 0) std::throw_with_nested(ImportError("ファイルを開けませんでした。"));
        std::throw_with_nested(ImportError("ファイルを読み込めませんでした。"));
    }
}

long CountColumnStarts(const std::vector<std::string>& lines)
{
    long n = 0;
    for (const std::string& l : lines)
        if (StartsWith(vb::Trim(l), "CAXIS")) ++n;
    return n;
}

void SplitCsvFields(std::string& line, std::vector<std::string>& fields, int& lastIndex)
{
    while (!line.empty() && line.back() == ',') line.pop_back();
    std::size_t commas = 0;
    for (const char c : line)
        if (c == ',') ++commas;
    fields.assign(std::max<std::size_t>(commas, 6) + 2, "0");
    std::size_t start = 0;
    for (std::size_t i = 0; i <= commas; ++i) {
        std::size_t end = line.find(',', start);
        if (end == std::string::npos) end = line.size();
        if (end > start) fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
    lastIndex = static_cast<int>(commas);
}

std::string NormalizeDateText(const std::string& t)
{
    if (t.find('/') != std::string::npos) return vb::Trim(t);
    std::string r = t;
    int dots = 0;
    for (char& c : r)
        if (c == '.') {
            c = '/';
            ++dots;
        }
    // No date: the date reader takes today's.
    return dots == 2 ? r : std::string();
}

double ReadImportDate(const std::string& text)
{
    const std::string t = vb::Trim(text);
    int part[3] = {0, 0, 0};
    int count = 0;
    int digits = 0;
    int yearDigits = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
        if (i == t.size() || t[i] == '/') {
            if (digits == 0 || count == 3) return TodayOleDate();
            if (count == 0) yearDigits = digits;
            ++count;
            digits = 0;
            continue;
        }
        if (t[i] < '0' || t[i] > '9' || digits >= 4) return TodayOleDate();
        part[count] = part[count] * 10 + (t[i] - '0');
        ++digits;
    }
    if (count != 3 || yearDigits != 4) return TodayOleDate();
    using namespace std::chrono;
    const year_month_day d{year{part[0]}, month{static_cast<unsigned>(part[1])}, day{static_cast<unsigned>(part[2])}};
    if (!d.ok()) return TodayOleDate();
    return OleDateOf(d);
}

void AddImportedLoads(LoadTable& table, std::vector<std::string>& fields, int16_t loadCase, bool siFile)
{
    if (fields.size() < 6) fields.resize(8, "0");
    for (std::size_t i = 1; i <= 5; ++i)
        if (fields[i].find("#R") != std::string::npos || fields[i].find("#J") != std::string::npos) fields[i] = "0";
    const std::string key = vb::Trim(fields[0]);
    double v[6];
    for (std::size_t i = 1; i <= 5; ++i) v[i] = Number(fields[i], key);
    const double divisor = siFile ? gCond.GFactor : 1.0;
    table(1, loadCase) += v[1] / divisor;
    table(2, loadCase) += v[2] / divisor;
    table(3, loadCase) += v[3] / divisor;
    table(4, loadCase) += v[1] / divisor;
    table(5, loadCase) += v[4] / divisor;
    table(6, loadCase) += v[5] / divisor;
}

void BuildImportedColumnSection(ColumnDataTbl& col, const std::vector<std::string>& mcst,
                                const std::vector<std::string>& csize, bool& notIdentified)
{
    const int16_t code = GetSteelMaterialCode(vb::Trim(Field(mcst, 1)));
    col.ColMatCode = code;
    if (code >= 0 && code <= 4) {
        col.ColF = GetSteelFValue(code);
    } else {
        double taken = RememberedNumber(mcst, 2, "MCST");
        if (!(taken > 2)) taken = RememberedNumber(mcst, 3, "MCST");
        if (taken > 2) col.ColF = (taken == 295 || taken == 3.0) ? 3.0 : (taken == 325 || taken == 3.3) ? 3.3 : 2.4;
    }

    const std::string kind = vb::Trim(Field(csize, 1));
    col.CSizeKind = kind;
    for (int i = 1; i <= 4; ++i) col.HDim(i) = RememberedNumber(csize, static_cast<std::size_t>(i + 1), "CSIZE");
    col.CSizeVal6 = RememberedNumber(csize, 6, "CSIZE");

    const double f = col.ColF;
    auto boxGrade = [&] {
        if (f == 3.0) {
            col.ColMatCode = 0;
        } else if (f == 3.3) {
            col.ColMatCode = 4;
        } else {
            col.ColF = 2.4;
            col.ColMatCode = 3;
        }
    };
    auto outsideOf = [&](int16_t lo, int16_t hi) { return col.ColMatCode < lo || col.ColMatCode > hi; };

    if (kind == "B" || kind == "RB") {
        col.ColV = 0;
        col.ColSize = col.HDim(1);
        col.ColT = col.HDim(3);
        if (outsideOf(0, 4)) boxGrade();
    } else if (kind == "P" || kind == "R") {
        col.ColV = 1;
        col.ColSize = col.HDim(1);
        col.ColT = col.HDim(2);
        if (outsideOf(5, 6)) {
            if (f == 3.0 || f == 2.4) col.ColMatCode = 5;
            else if (f == 3.3) col.ColMatCode = 6;
        }
    } else if (kind == "HX" || kind == "X: H" || kind == "HY" || kind == "Y: H") {
        const bool turned = kind == "HY" || kind == "Y: H";
        col.ColV = 2;
        col.KvRotate = turned ? 1 : 0;
        col.KvDir = turned ? 1 : 0;
        col.ColXYDiffer = kTrue;
        if (outsideOf(7, 10)) {
            if (f == 3.0 || f == 2.4) col.ColMatCode = 9;
            else if (f == 3.3) col.ColMatCode = 10;
        }
    } else {
        ui::Current().message(kUnknownKind, kErrorTitle, ui::MessageKind::Warning);
        col.ColV = 0;
        col.ColSize = col.HDim(1);
        col.ColT = col.HDim(3);
        notIdentified = true;
        boxGrade();
    }
}

void ImportColumnBaseLines(const std::vector<std::string>& lines, const std::string& folder,
                           const std::string& fileName, const ImportBaseChooser& chooser)
{
    Parser p(chooser);
    p.run(lines, folder, fileName);
}

void ImportColumnBaseFile(std::string& folder, std::string& fileName, const ImportBaseChooser& chooser)
{
    folder = vb::Trim(folder);
    fileName = vb::Trim(fileName);
    const std::vector<std::string> lines = DecodeImportLines(ReadImportBytes(folder + fileName));
    ImportColumnBaseLines(lines, folder, fileName, chooser);
}

}  // namespace exchange
