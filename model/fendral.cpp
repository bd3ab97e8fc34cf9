#include "model/fendral.h"

#include "model/failure.h"
#include "model/file_util.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace model {

clsFendral gFendral;

namespace {

constexpr const char* kSeparator = "-+-";

// Far above the list of the most columns a project has; a file beyond it is
// refused before it is read.
constexpr std::uintmax_t kMaxListFileBytes = 128u << 20;

// The file read the way the list was always read: numbers one field at a
// time (a field ends at a comma or at the end of the line, leading blanks
// skipped), texts as whole lines. Lines are decoded one at a time as the
// reading reaches them.
class ListReader {
public:
    explicit ListReader(std::string bytes) : bytes_(std::move(bytes))
    {
        for (const char c : bytes_) {
            if (c == '\n') ++lines_;
            if (c == ',') ++slots_;
        }
        if (!bytes_.empty() && bytes_.back() != '\n') ++lines_;
        slots_ += lines_;
        load();
    }

    std::string lineText()
    {
        need();
        fieldLine_ = line_;
        std::string s = cur_.substr(pos_);
        next();
        return s;
    }

    double number() { return toNumber(field()); }

    int16_t int16() { return toInt16(number()); }
    int32_t int32() { return toInt32(number()); }
    uint8_t byte()
    {
        const int16_t v = int16();
        if (v < 0 || v > 255) fail("a byte was expected: " + std::to_string(v));
        return static_cast<uint8_t>(v);
    }
    int16_t boolean()
    {
        const std::string f = field();
        if (f == "#TRUE#") return -1;
        if (f == "#FALSE#") return 0;
        return toNumber(f) != 0 ? -1 : 0;
    }

    // A count of things that take at least fieldsEach fields each: checked
    // against what the rest of the file can hold before anything is sized
    // by it.
    int32_t count(const char* what, std::size_t fieldsEach)
    {
        const std::string f = field();
        if (f.empty()) fail(std::string("the ") + what + " count is blank");
        const int32_t n = toInt32(toNumber(f));
        if (n < 0) fail(std::string("negative ") + what + " count: " + f);
        if (static_cast<std::size_t>(n) > fieldsLeft() / fieldsEach)
            fail(std::string("the ") + what + " count " + f + " is more than the rest of the file holds");
        return n;
    }

    // Discards up to and including the next line that is exactly "-+-".
    void skipToSeparator()
    {
        if (pos_ != 0) next();
        while (line_ < lines_) {
            const bool sep = cur_ == kSeparator;
            next();
            if (sep) return;
        }
    }

    // The line of the field read last.
    [[noreturn]] void fail(const std::string& what) const
    {
        const long line = static_cast<long>(fieldLine_) + 1;
        throw Failure(FailureKind::RebarListRefused, "base-rebar list, line " + std::to_string(line) + ": " + what,
                      FailureValues::Line(line));
    }

private:
    std::string field()
    {
        need();
        fieldLine_ = line_;
        std::size_t p = pos_;
        while (p < cur_.size() && (cur_[p] == ' ' || cur_[p] == '\t')) ++p;
        const std::size_t comma = cur_.find(',', p);
        std::string f = cur_.substr(p, comma == std::string::npos ? std::string::npos : comma - p);
        while (!f.empty() && (f.back() == ' ' || f.back() == '\t')) f.pop_back();
        if (comma == std::string::npos)
            next();
        else
            pos_ = comma + 1;
        return f;
    }

    double toNumber(const std::string& f) const
    {
        if (f.empty()) return 0;
        std::string_view v = f;
        bool negative = false;
        if (v.front() == '+' || v.front() == '-') {
            negative = v.front() == '-';
            v.remove_prefix(1);
        }
        double d = 0;
        const char* first = v.data();
        const char* last = v.data() + v.size();
        const auto [end, ec] = std::from_chars(first, last, d, std::chars_format::general);
        if (v.empty() || ec != std::errc() || end != last || !std::isfinite(d)) fail("a number was expected: " + f);
        return negative ? -d : d;
    }

    int16_t toInt16(double d) const
    {
        try {
            return vb::CInt(d);
        } catch (const vb::Error&) {
            fail("the number " + FendralNumberText(d) + " is out of range");
        }
    }
    int32_t toInt32(double d) const
    {
        try {
            return vb::CLng(d);
        } catch (const vb::Error&) {
            fail("the number " + FendralNumberText(d) + " is out of range");
        }
    }

    // Fields the rest of the file can hold at most: one per line and one
    // more per comma.
    std::size_t fieldsLeft() const { return slots_ - slotsBefore_; }

    void need()
    {
        if (line_ >= lines_) {
            fieldLine_ = lines_;
            fail("the file ends inside a record");
        }
    }
    void load()
    {
        if (line_ >= lines_) {
            cur_.clear();
            return;
        }
        std::size_t end = bytes_.find('\n', start_);
        if (end == std::string::npos) end = bytes_.size();
        std::string_view raw(bytes_.data() + start_, end - start_);
        slotsNow_ = 1 + static_cast<std::size_t>(std::count(raw.begin(), raw.end(), ','));
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        cur_ = text::FromCp932(std::string(raw));
        nextStart_ = end + 1;
    }
    void next()
    {
        ++line_;
        pos_ = 0;
        slotsBefore_ += slotsNow_;
        start_ = nextStart_;
        load();
    }

    std::string bytes_;
    std::size_t lines_ = 0;
    std::size_t slots_ = 0;        // lines plus commas of the whole file
    std::size_t slotsBefore_ = 0;  // of the lines before the current one
    std::size_t slotsNow_ = 0;     // of the current line
    std::size_t line_ = 0;
    std::size_t start_ = 0;      // first byte of the current line
    std::size_t nextStart_ = 0;  // first byte of the next line
    std::string cur_;            // the current line, decoded
    std::size_t pos_ = 0;
    std::size_t fieldLine_ = 0;
};

class ListWriter {
public:
    void text(const std::string& s)
    {
        // A line break would end the field early and shift every later value.
        std::string t = s;
        for (char& c : t)
            if (c == '\r' || c == '\n') c = ' ';
        out_ += text::ToCp932(t);
        out_ += "\r\n";
    }
    void number(double v) { raw(FendralNumberText(v)); }
    void integer(long long v) { raw(std::to_string(v)); }
    void boolean(int16_t v) { raw(v != 0 ? "#TRUE#" : "#FALSE#"); }
    void raw(const std::string& s)
    {
        out_ += s;
        out_ += "\r\n";
    }
    const std::string& bytes() const { return out_; }

private:
    std::string out_;
};

void ReadSide(ListReader& r, FendralSideTbl& s)
{
    s.Value = r.number();
    s.Count1 = r.int16();
    s.Count2 = r.int16();
    s.Value2 = r.number();
    s.Value3 = r.number();
    s.PairCount = r.count("pair", 2);
    s.Pairs.assign(static_cast<std::size_t>(s.PairCount) + 1, FendralPair{});
    for (int32_t k = 1; k <= s.PairCount; ++k) {
        s.Pairs[static_cast<std::size_t>(k)].First = r.byte();
        s.Pairs[static_cast<std::size_t>(k)].Second = r.byte();
    }
    s.ItemCount = r.count("item", 2);
    s.Items.assign(static_cast<std::size_t>(s.ItemCount) + 1, FendralItem{});
    for (int32_t k = 1; k <= s.ItemCount; ++k) {
        s.Items[static_cast<std::size_t>(k)].Kind = r.byte();
        s.Items[static_cast<std::size_t>(k)].Value = r.number();
    }
}

void WriteSide(ListWriter& w, const FendralSideTbl& s)
{
    w.number(s.Value);
    w.integer(s.Count1);
    w.integer(s.Count2);
    w.number(s.Value2);
    w.number(s.Value3);
    w.integer(s.PairCount);
    for (int32_t k = 1; k <= s.PairCount; ++k) {
        const FendralPair p = static_cast<std::size_t>(k) < s.Pairs.size() ? s.Pairs[static_cast<std::size_t>(k)]
                                                                            : FendralPair{};
        w.integer(p.First);
        w.integer(p.Second);
    }
    w.integer(s.ItemCount);
    for (int32_t k = 1; k <= s.ItemCount; ++k) {
        const FendralItem it = static_cast<std::size_t>(k) < s.Items.size() ? s.Items[static_cast<std::size_t>(k)]
                                                                             : FendralItem{};
        w.integer(it.Kind);
        w.number(it.Value);
    }
}

// A version is digits, a point and two digits, "1.00" or later. A later one
// than "1.04" is read as "1.04": its extra fields stand before each record's
// separator, which the reader skips to.
bool IsReadableVersion(const std::string& v)
{
    const std::size_t dot = v.find('.');
    if (dot == std::string::npos || dot == 0 || v.size() != dot + 3) return false;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (i != dot && (v[i] < '0' || v[i] > '9')) return false;
    return v >= "1.00";
}

// The fields a record of that version has at the least, with empty pair and
// item lists.
std::size_t FieldsPerRecord(const std::string& version)
{
    constexpr std::size_t side = 7;
    constexpr std::size_t block = 8 + 2 * side;
    std::size_t n = 21 + 4 * block;
    if (version > "1.00") n += 4;
    if (version > "1.01") n += 1;
    if (version > "1.02") n += 11;
    if (version > "1.03") n += 2;
    return n;
}

void ReadRecord(ListReader& r, FendralTbl& f, const std::string& version)
{
    f.ID = r.int32();
    f.Flag = r.byte();
    f.ColName = r.lineText();
    f.ModelName = r.lineText();
    f.ProductCode = r.int16();
    f.SeriesCode = r.int16();
    f.WallCode = r.byte();
    f.RebarZone = r.byte();
    f.cDx = r.number();
    f.cDy = r.number();
    f.BarDia = r.number();
    f.RmNx = r.int16();
    f.RmNy = r.int16();
    f.HoopDia = r.number();
    f.HoopPitch = r.number();
    f.rDx = r.number();
    f.DefaultExtra = r.number();
    f.Text1 = r.lineText();
    f.Text2 = r.lineText();
    f.Pair(0) = r.number();
    f.Pair(1) = r.number();
    for (long b = 1; b <= 4; ++b) {
        FendralBlockTbl& blk = f.Blocks(b);
        blk.Kind = r.byte();
        blk.Name = r.lineText();
        for (long k = 1; k <= 6; ++k) blk.Values(k) = r.number();
        ReadSide(r, blk.Sides(0));
        ReadSide(r, blk.Sides(1));
        blk.Extra = version > "1.00" ? r.number() : f.DefaultExtra;
        r.skipToSeparator();
    }
    if (version > "1.01") f.Fc = r.number();
    if (version > "1.02") {
        f.AbD = r.number();
        f.AbV = r.int16();
        f.RotateMode = r.boolean();
        for (long k = 1; k <= 6; ++k) f.KvLen(k) = r.number();
        f.HenshinE(0) = r.number();
        f.HenshinE(1) = r.number();
    }
    if (version > "1.03") {
        f.Rotation = r.int16();
        f.BaseDir = r.int16();
    }
    r.skipToSeparator();
}

void WriteRecord(ListWriter& w, const FendralTbl& f)
{
    w.integer(f.ID);
    w.integer(f.Flag);
    w.text(f.ColName);
    w.text(f.ModelName);
    w.integer(f.ProductCode);
    w.integer(f.SeriesCode);
    w.integer(f.WallCode);
    w.integer(f.RebarZone);
    w.number(f.cDx);
    w.number(f.cDy);
    w.number(f.BarDia);
    w.integer(f.RmNx);
    w.integer(f.RmNy);
    w.number(f.HoopDia);
    w.number(f.HoopPitch);
    w.number(f.rDx);
    w.number(f.DefaultExtra);
    w.text(f.Text1);
    w.text(f.Text2);
    w.number(f.Pair(0));
    w.number(f.Pair(1));
    for (long b = 1; b <= 4; ++b) {
        const FendralBlockTbl& blk = f.Blocks(b);
        w.integer(blk.Kind);
        w.text(blk.Name);
        for (long k = 1; k <= 6; ++k) w.number(blk.Values(k));
        WriteSide(w, blk.Sides(0));
        WriteSide(w, blk.Sides(1));
        w.number(blk.Extra);
        w.raw(kSeparator);
    }
    w.number(f.Fc);
    w.number(f.AbD);
    w.integer(f.AbV);
    w.boolean(f.RotateMode);
    for (long k = 1; k <= 6; ++k) w.number(f.KvLen(k));
    w.number(f.HenshinE(0));
    w.number(f.HenshinE(1));
    w.integer(f.Rotation);
    w.integer(f.BaseDir);
    w.raw(kSeparator);
}

std::string DirectoryOf(const std::string& file)
{
    const auto p = file.find_last_of("/\\");
    return p == std::string::npos ? std::string() : file.substr(0, p + 1);
}

}  // namespace

std::string FendralNumberText(double v)
{
    if (v == 0 || !std::isfinite(v)) return "0";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    (void)ec;
    const std::string sci(buf, end);
    const auto e = sci.find('e');
    const int exponent = std::stoi(sci.substr(e + 1));
    if (exponent >= 15 || exponent < -4) {
        std::string mantissa = sci.substr(0, e);
        const int a = exponent < 0 ? -exponent : exponent;
        std::string digits = std::to_string(a);
        if (digits.size() < 2) digits.insert(0, 1, '0');
        return mantissa + "E" + (exponent < 0 ? "-" : "+") + digits;
    }
    const auto [fend, fec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    (void)fec;
    return std::string(buf, fend);
}

std::string clsFendral::ResolvePath(const std::string& vstrPath, const std::string& vstrFolderName,
                                    const std::string& vstrFileName)
{
    std::string folder;
    if (vstrFolderName == "****") {
        folder = "SFKOLCHK\\";
    } else if (!vstrFolderName.empty()) {
        folder = vstrFolderName;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    }
    return ToNativePath(vstrPath + folder + (vstrFileName.empty() ? std::string("Fendral.Dat") : vstrFileName));
}

int32_t clsFendral::GetList(std::vector<int32_t>& ids) const
{
    ids.assign(recs_.size(), 0);
    for (std::size_t i = 1; i < recs_.size(); ++i) ids[i] = recs_[i].ID;
    return GetCount();
}

int32_t clsFendral::Data_Read(const std::string& vstrPath, const std::string& vstrFolderName,
                              const std::string& vstrFileName)
{
    const std::string file = ResolvePath(vstrPath, vstrFolderName, vstrFileName);
    const zDLFile_Vendra fileUtil;
    const std::string dir = DirectoryOf(file);
    if (!dir.empty() && !fileUtil.ChkFolderExists(dir)) fileUtil.MakeFolder(dir);

    clsFendral fresh;
    if (!fileUtil.ChkFileExists(file)) {
        *this = std::move(fresh);
        return 0;
    }
    ListReader r(ReadRegularFile(file, kMaxListFileBytes));
    r.lineText();  // title
    fresh.readVersion_ = r.lineText();
    if (!IsReadableVersion(fresh.readVersion_)) r.fail("unknown version " + fresh.readVersion_);
    const int32_t count = r.count("record", FieldsPerRecord(fresh.readVersion_));
    // Records are added as they are read: memory follows what the file
    // really holds, not what its count claims.
    for (int32_t i = 1; i <= count; ++i) {
        FendralTbl& f = fresh.recs_.emplace_back();
        ReadRecord(r, f, fresh.readVersion_);
        if (f.ID > fresh.maxId_) fresh.maxId_ = f.ID;
    }
    r.skipToSeparator();
    *this = std::move(fresh);
    return 0;
}

int32_t clsFendral::Data_Write(const std::string& vstrPath, const std::string& vstrFolderName,
                               const std::string& vstrFileName) const
{
    const std::string file = ResolvePath(vstrPath, vstrFolderName, vstrFileName);
    const zDLFile_Vendra fileUtil;
    const std::string dir = DirectoryOf(file);
    if (!dir.empty() && !fileUtil.ChkFolderExists(dir)) fileUtil.MakeFolder(dir);

    // The stream leaves the system's reason in errno.
    const auto fail = [&file] {
        const int err = errno;
        throw WriteFailure(err, "base-rebar list: cannot write " + file + ": " + std::strerror(err), file);
    };
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) fail();
    out << FileBytes();
    out.close();
    if (!out) fail();
    return 0;
}

std::string clsFendral::FileBytes() const
{
    ListWriter w;
    w.text(kTitle);
    w.raw(kVersion);
    w.integer(GetCount());
    for (std::size_t i = 1; i < recs_.size(); ++i) WriteRecord(w, recs_[i]);
    w.raw(kSeparator);
    return w.bytes();
}

std::size_t clsFendral::slot(long pos) const
{
    if (pos < 1 || pos > GetCount()) vb::ThrowSubscript(pos, 1, GetCount());
    return static_cast<std::size_t>(pos);
}

long clsFendral::findId(int32_t id) const
{
    for (std::size_t i = 1; i < recs_.size(); ++i)
        if (recs_[i].ID == id) return static_cast<long>(i);
    return 0;
}

int32_t clsFendral::Get_Data(int32_t key, FendralTbl& rec, uint8_t byPosition) const
{
    rec = FendralTbl{};
    const long pos = byPosition != 0 ? static_cast<long>(slot(key)) : findId(key);
    if (pos == 0) return -1;
    rec = recs_[static_cast<std::size_t>(pos)];
    return 0;
}

int32_t clsFendral::Add_Data(FendralTbl& rec, uint8_t flag)
{
    if (maxId_ == std::numeric_limits<int32_t>::max() || GetCount() == std::numeric_limits<int32_t>::max())
        throw vb::Overflow();
    rec.ID = ++maxId_;
    rec.Flag = flag;
    recs_.push_back(rec);
    return rec.ID;
}

void clsFendral::Edit_DataPosPos(int16_t vintPos1, int16_t vintPos2)
{
    const std::size_t a = slot(vintPos1);
    const std::size_t b = slot(vintPos2);
    recs_[a] = recs_[b];
}

int32_t clsFendral::Del_Data(int32_t vlngID, uint8_t vbytType)
{
    long pos = 0;
    if (vbytType != 0)
        pos = vlngID >= 1 && vlngID <= GetCount() ? vlngID : 0;
    else
        pos = findId(vlngID);
    if (pos == 0) return -1;
    recs_.erase(recs_.begin() + pos);
    return 0;
}

int32_t clsFendral::Set_Data(int32_t key, const FendralTbl& rec, uint8_t byPosition)
{
    const long pos = byPosition != 0 ? static_cast<long>(slot(key)) : findId(key);
    if (pos == 0) return -1;
    FendralTbl& target = recs_[static_cast<std::size_t>(pos)];
    const int32_t id = target.ID;
    target = rec;
    target.ID = id;
    return 0;
}

int32_t clsFendral::Set_DataFlag(int32_t id, uint8_t flag)
{
    const long pos = findId(id);
    if (pos == 0) return -1;
    recs_[static_cast<std::size_t>(pos)].Flag = flag;
    return 0;
}

bool clsFendral::CheckNameExist(const std::string& vstrName, int32_t vlngCheckID) const
{
    for (std::size_t i = 1; i < recs_.size(); ++i) {
        if (recs_[i].ColName != vstrName) continue;
        if (vlngCheckID == 0 || recs_[i].ID != vlngCheckID) return true;
    }
    return false;
}

int16_t clsFendral::OrderData(int32_t vlngIDCt, const std::vector<int32_t>& vlngID)
{
    if (vlngIDCt != GetCount()) return 0;
    if (static_cast<std::size_t>(vlngIDCt) >= vlngID.size())
        vb::ThrowSubscript(vlngIDCt, 0, static_cast<long>(vlngID.size()) - 1);
    std::vector<FendralTbl> ordered = recs_;
    for (int32_t i = 1; i <= vlngIDCt; ++i) {
        const long pos = findId(vlngID[static_cast<std::size_t>(i)]);
        if (pos != 0) ordered[static_cast<std::size_t>(i)] = recs_[static_cast<std::size_t>(pos)];
    }
    recs_ = std::move(ordered);
    return 1;
}

void clsFendral::Swap_DataByIndex(int32_t vlngIndex1, int32_t vlngIndex2)
{
    std::swap(recs_[slot(vlngIndex1)], recs_[slot(vlngIndex2)]);
}

}  // namespace model
