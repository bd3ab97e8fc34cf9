#include "model/project_file.h"

#include "engine/kv.h"
#include "model/base_data.h"
#include "model/file_util.h"
#include "model/globals.h"
#include "model/stress.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <random>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace model {

namespace {

static_assert(std::endian::native == std::endian::little, "the file codec assumes a little-endian machine");

// Visits the elements of array fields in file order, the first index
// fastest, for the visitors that only read the record.
template <class Self>
class ArrayFields {
public:
    template <typename T, long Lo, long Hi>
    void field(const vb::Array<T, Lo, Hi>& a)
    {
        for (long i = Lo; i <= Hi; ++i) static_cast<Self&>(*this).field(a(i));
    }
    template <typename T, long Lo1, long Hi1, long Lo2, long Hi2>
    void field(const vb::Array2<T, Lo1, Hi1, Lo2, Hi2>& a)
    {
        for (long j = Lo2; j <= Hi2; ++j)
            for (long i = Lo1; i <= Hi1; ++i) static_cast<Self&>(*this).field(a(i, j));
    }
};

// Appends fields in file form.
class ByteWriter : public ArrayFields<ByteWriter> {
public:
    using ArrayFields<ByteWriter>::field;
    std::string bytes;

    void field(int16_t v) { put(&v, 2); }
    void field(int32_t v) { put(&v, 4); }
    void field(double v) { put(&v, 8); }
    template <std::size_t N>
    void field(const text::FixedText<N>& t)
    {
        bytes += t.toFile();
    }
    void skip(std::size_t n) { bytes.append(n, '\0'); }

private:
    void put(const void* p, std::size_t n) { bytes.append(static_cast<const char*>(p), n); }
};

// Reads fields in file form from a span that the caller has sized.
class ByteReader {
public:
    explicit ByteReader(std::string_view b) : bytes_(b) {}

    void field(int16_t& v) { get(&v, 2); }
    void field(int32_t& v) { get(&v, 4); }
    void field(double& v) { get(&v, 8); }
    template <std::size_t N>
    void field(text::FixedText<N>& t)
    {
        need(N);
        t.fromFile(bytes_.data() + pos_, N);
        pos_ += N;
    }
    template <typename T, long Lo, long Hi>
    void field(vb::Array<T, Lo, Hi>& a)
    {
        for (long i = Lo; i <= Hi; ++i) field(a(i));
    }
    template <typename T, long Lo1, long Hi1, long Lo2, long Hi2>
    void field(vb::Array2<T, Lo1, Hi1, Lo2, Hi2>& a)
    {
        for (long j = Lo2; j <= Hi2; ++j)
            for (long i = Lo1; i <= Hi1; ++i) field(a(i, j));
    }
    void skip(std::size_t n)
    {
        need(n);
        pos_ += n;
    }
    void seek(std::size_t at)
    {
        if (at > bytes_.size()) fail();
        pos_ = at;
    }
    std::size_t pos() const { return pos_; }

private:
    void get(void* p, std::size_t n)
    {
        need(n);
        std::memcpy(p, bytes_.data() + pos_, n);
        pos_ += n;
    }
    void need(std::size_t n) const
    {
        if (pos_ + n > bytes_.size()) fail();
    }
    [[noreturn]] static void fail() { throw ProjectFileError("the record ends early"); }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Field lists, shared by the writer and the reader. Rec is const for writing.

// Offsets 0..71: every layout starts with these.
template <typename IO, typename Rec>
void ProjectHeadFields(IO& io, Rec& c)
{
    io.field(c.ColCount);
    io.field(c.Bukken);
    io.field(c.ShortCalcMode);
    io.field(c.UltCalcMode);
    io.field(c.GammaX);
    io.field(c.Fc);
}

// Offsets 72..135 of versions 2.00 and later.
template <typename IO, typename Rec>
void ProjectVersionFields(IO& io, Rec& c)
{
    io.field(c.Version);
    io.field(c.GFactor);
    io.field(c.DevNum);
    io.field(c.UltJadge);
    io.field(c.SMode);
}

template <typename IO, typename Rec>
void ProjectFields(IO& io, Rec& c)
{
    ProjectHeadFields(io, c);
    ProjectVersionFields(io, c);
    io.field(c.ImportApp);
    io.field(c.Tantou);
    io.field(c.BukkenDate);
    io.field(c.ImportDir);
    io.field(c.ImportFile);
    io.field(c.DesignRootX);
    io.field(c.DesignRootY);
    io.field(c.GammaY);
    io.field(c.SCondition);
    io.field(c.Alpha1);
    io.field(c.Alpha2);
    io.field(c.Lw1);
    io.field(c.Lw2);
    io.field(c.FcSrc);
    io.field(c.AxisCountX);
    io.field(c.AxisCountY);
    io.field(c.SymmetryX);
    io.field(c.SymmetryY);
    io.field(c.UltMQMode);
    io.field(c.BrBeta1);
    io.field(c.BrBeta2);
    io.field(c.Reserve);
}

// Offsets 0..205 of every column layout.
template <typename IO, typename Rec>
void ColumnHeadFields(IO& io, Rec& c)
{
    io.field(c.ColName);
    io.field(c.KolvanID);
    io.field(c.KvV);
    io.field(c.AbNum);
    io.field(c.KvRotate);
    io.field(c.KvDir);
    io.field(c.ColV);
    io.field(c.ColSize);
    io.field(c.ColT);
    io.field(c.ColID);
    io.field(c.HDim);
    io.field(c.ColMatCode);
    io.field(c.ColF);
    io.field(c.ColSpec);
    io.field(c.ColSpecUser);
}

// SrcColSpec .. RTabane: at 208 in the current layout, at 1060 in 4.0x.
template <typename IO, typename Rec>
void ColumnSrcFields(IO& io, Rec& c)
{
    io.field(c.SrcColSpec);
    io.field(c.RBarMat);
    io.field(c.RBarVal);
    io.field(c.RtN);
    io.field(c.RmN);
    io.field(c.RqN);
    io.field(c.RTensN);
    io.field(c.rD);
    io.field(c.SrcHDim);
    io.field(c.SrcDim5);
    io.field(c.cD);
    io.field(c.cD2);
    io.field(c.RTabane);
}

template <typename IO, typename Rec>
void ColumnFields(IO& io, Rec& c)
{
    ColumnHeadFields(io, c);
    io.field(c.ColXYDiffer);
    ColumnSrcFields(io, c);
    io.field(c.BPLen);
    io.field(c.LoadTbl);
    io.field(c.AxisXNo);
    io.field(c.AxisYNo);
    io.field(c.AxisXName);
    io.field(c.AxisYName);
    io.field(c.Fc);
    io.field(c.CSizeKind);
    io.field(c.CSizeVal6);
    io.field(c.LumoQuCond);
    io.field(c.RebarZone);
    io.field(c.HoopSize);
    io.field(c.HoopMat);
    io.field(c.HoopN);
    io.field(c.HoopPitch);
    io.field(c.CenColWall);
    io.field(c.FShear);
    io.field(c.SlabFc);
    io.field(c.SlabQ_d1);
    io.field(c.SlabQ_d2);
    io.field(c.SlabQ_B1X);
    io.field(c.SlabQ_B1Y);
    io.field(c.SlabQ_B2X);
    io.field(c.SlabQ_B2Y);
    io.field(c.LoadTblBR);
    io.field(c.Reserve);
}

// Offsets 0..297: the whole base record of the oldest layout.
template <typename IO, typename Rec>
void KvBaseHeadFields(IO& io, Rec& b)
{
    io.field(b.ID);
    io.field(b.KvName);
    io.field(b.KvV);
    io.field(b.KvLen);
    io.field(b.KvH);
    io.field(b.KvT);
    io.field(b.KvWeight);
    io.field(b.HenshinE);
    io.field(b.AbV);
    io.field(b.AbN);
    io.field(b.AbF);
    io.field(b.AbNum);
    io.field(b.AbD);
    io.field(b.AbA);
    io.field(b.AbAe);
    io.field(b.Kbs);
    io.field(b.RotateMode);
    io.field(b.EXY);
    io.field(b.EXYMode);
}

template <typename IO, typename Rec>
void KvBaseTailFields(IO& io, Rec& b)
{
    io.field(b.KbsSI);
    io.field(b.PartsWeight);
    io.field(b.LenE);
    io.field(b.LenF);
    io.field(b.LenW);
    io.field(b.LenG);
    io.field(b.eAx1);
    io.field(b.eAx2);
    io.field(b.eAy1);
    io.field(b.eAy2);
    io.field(b.L_tf1);
    io.field(b.L_lf);
    io.field(b.L_tf2);
    io.field(b.L_y1);
    io.field(b.L_y2);
    io.field(b.L_y3);
    io.field(b.L_l1);
    io.field(b.NAlpha);
    io.field(b.L1);
    io.field(b.L_C);
    io.field(b.ColSize);
    io.field(b.KvLenC_SV);
    io.field(b.bb_SV);
    io.field(b.Tu);
    io.field(b.Reserve);
}

// Visits the fields of a record and notes whether every double is finite.
class FiniteCheck : public ArrayFields<FiniteCheck> {
public:
    using ArrayFields<FiniteCheck>::field;
    bool ok = true;

    void field(int16_t) {}
    void field(int32_t) {}
    void field(double v)
    {
        if (!std::isfinite(v)) ok = false;
    }
    template <std::size_t N>
    void field(const text::FixedText<N>&)
    {
    }
};

// column: 0 for a value of the project's own record.
void RequireRange(long v, long lo, long hi, const std::string& what, long column)
{
    if (v < lo || v > hi)
        throw ProjectFileError(what + " " + std::to_string(v) + " is outside " + std::to_string(lo) + " to " +
                                   std::to_string(hi),
                               column);
}

// Numbers that no saved project holds: the engine and the column check would
// otherwise store them and fail on them, so they are refused before anything
// is touched.
void CheckProjectValues(const ProjectCondTbl& cond, const ColumnArray<ColumnDataTbl>& columns,
                        const ColumnArray<KvBaseTbl>& bases, long count)
{
    FiniteCheck f;
    ProjectFields(f, cond);
    if (!f.ok) throw ProjectFileError("the project record holds a number that is not finite", 0);
    if (!(cond.GFactor > 0))
        throw ProjectFileError("the unit factor " + vb::Str(cond.GFactor) + " is not positive", 0);
    RequireRange(cond.ShortCalcMode, 0, 1, "the short-term mode", 0);
    RequireRange(cond.UltCalcMode, 0, 1, "the ultimate mode", 0);
    RequireRange(cond.SCondition, 0, 2, "the snow handling", 0);
    for (long i = 1; i <= count; ++i) {
        const std::string col = "column " + std::to_string(i) + ": ";
        ColumnFields(f, columns(i));
        if (!f.ok) throw ProjectFileError(col + "a number that is not finite", i);
        KvBaseHeadFields(f, bases(i));
        KvBaseTailFields(f, bases(i));
        if (!f.ok) throw ProjectFileError(col + "a base number that is not finite", i);
        RequireRange(columns(i).AbNum, 1, 4, col + "the anchor-bolt variant", i);
        RequireRange(columns(i).KvRotate, 0, 1, col + "the base rotation", i);
        RequireRange(columns(i).KvDir, 0, 3, col + "the base orientation", i);
    }
}

OldColumnRecord DecodeOldColumnRecord(std::string_view bytes, FileLayout layout)
{
    OldColumnRecord old;
    ByteReader r(bytes);
    ColumnHeadFields(r, old.c);
    r.field(old.load);  // component fastest, as the table
    r.seek(782);
    r.field(old.c.ColXYDiffer);
    if (layout == FileLayout::V4) {
        r.seek(1060);
        ColumnSrcFields(r, old.c);
    }
    return old;
}

OldProjectRecord DecodeOldProjectRecord(std::string_view bytes, bool withVersion)
{
    OldProjectRecord old;
    ByteReader r(bytes);
    ProjectHeadFields(r, old.c);
    if (withVersion) ProjectVersionFields(r, old.c);
    return old;
}

template <typename Extra>
void ConvertColRecords(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                       const ProjectCondTbl& cond, Extra extra)
{
    for (long i = 1; i <= count; ++i) {
        const ColumnDataTbl& o = old(i).c;
        ColumnDataTbl c = gColumnDefaultSrc;
        c.ColName = o.ColName;
        c.KolvanID = o.KolvanID;
        c.Fc = FixStrengthUnit(cond.Fc, gSIDisp);
        c.KvV = o.KvV;
        c.AbNum = o.AbNum;
        c.KvRotate = o.KvRotate;
        c.KvDir = o.KvDir;
        c.ColV = o.ColV;
        c.ColSize = o.ColSize;
        c.ColT = o.ColT;
        c.ColID = o.ColID;
        c.HDim = o.HDim;
        c.ColMatCode = o.ColMatCode;
        c.ColF = o.ColF;
        c.ColSpec = o.ColSpec;
        c.ColSpecUser = o.ColSpecUser;
        c.ColXYDiffer = o.ColXYDiffer;
        MapImportedStresses(c.LoadTbl, old(i).load);
        extra(c, o);
        dst(i) = c;
    }
}

void SelectEngine(kv::KV& engine, const ColumnDataTbl& c)
{
    engine.setKolvanID(c.KolvanID);
    engine.setAbNum(c.AbNum);
}

void AdjustCurrentColumn(const std::string& v, ColumnDataTbl& c, KvBaseTbl& b, bool sMode, kv::KV& engine)
{
    const bool si = gSIDisp;
    if (v == "Version 5.04" || v == "Version 5.05" || v == "Version 5.06") {
        c.Fc = FixStrengthUnit(c.Fc, si);
        c.SlabFc = FixStrengthUnit(c.SlabFc, si);
        return;
    }
    if (v == "Version 5.03") {
        if (c.SlabFc < 18) c.SlabFc = 18;
        c.Fc = FixStrengthUnit(c.Fc, si);
        c.SlabFc = FixStrengthUnit(c.SlabFc, si);
        SelectEngine(engine, c);
        b.ColSize = engine.KvData().ColSize;
        SetColumnBaseGeometry(c, b, sMode);
        return;
    }
    if (v == "Version 5.00") {
        for (long d = 0; d <= 1; ++d) c.LumoQuCond(d, 1) = c.LumoQuCond(d, 2) == 1 ? kTrue : kFalse;
        c.RebarZone(0, 1) = 2;
        c.HoopSize = "13";
        c.HoopMat = "SD295";
        c.HoopN(0) = c.HoopN(1) == 1 ? kTrue : kFalse;
        c.HoopPitch = 150;
    }
    // 5.00 to 5.02.
    c.Fc = FixStrengthUnit(c.Fc, si);
    if (v != "Version 5.02") c.CenColWall.fill(0);
    SelectEngine(engine, c);
    const kv::KvDataTblC d = engine.KvData();
    b.L1 = d.L1;
    b.ColSize = d.ColSize;
    c.FShear.fill(0);
    c.SlabFc = si ? 18 : 180;
    SetColumnBaseGeometry(c, b, sMode);
}

std::size_t ProjectSize(FileLayout l)
{
    switch (l) {
    case FileLayout::Current: return kProjectRecordSize;
    case FileLayout::V4:
    case FileLayout::V3: return kV2ProjectRecordSize;
    case FileLayout::Oldest: return kOldProjectRecordSize;
    }
    return 0;
}

std::size_t ColumnSize(FileLayout l)
{
    switch (l) {
    case FileLayout::Current: return kColumnRecordSize;
    case FileLayout::V4: return kV4ColumnRecordSize;
    case FileLayout::V3: return kV3ColumnRecordSize;
    case FileLayout::Oldest: return kOldColumnRecordSize;
    }
    return 0;
}

std::size_t KvBaseSize(FileLayout l) { return l == FileLayout::Oldest ? kOldKvBaseRecordSize : kKvBaseRecordSize; }

// The longest file any layout gives: the current one with 32767 columns.
constexpr std::uintmax_t kMaxProjectFileBytes =
    kProjectRecordSize + 32767ull * (kColumnRecordSize + kKvBaseRecordSize);

std::string ReadWholeFile(const std::string& path)
{
    try {
        return ReadRegularFile(path, kMaxProjectFileBytes);
    } catch (const Failure& e) {
        // No project is that long.
        if (e.kind() == FailureKind::FileTooLarge) throw ProjectFileError(e.what());
        throw;
    }
}

double FileDate(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        throw ReadFailure(err, "cannot read the date of " + path, path);
    }
    return OleDateOfTime(st.st_mtime);
}

}  // namespace

FileLayout LayoutOfVersion(std::string_view v)
{
    for (const char* s : {"Version 5.06", "Version 5.05", "Version 5.04", "Version 5.03", "Version 5.02",
                          "Version 5.01", "Version 5.00"})
        if (v == s) return FileLayout::Current;
    for (const char* s : {"Version 4.03", "Version 4.02", "Version 4.01", "Version 4.00"})
        if (v == s) return FileLayout::V4;
    for (const char* s : {"Version 3.01", "Version 3.00", "Version 2.00"})
        if (v == s) return FileLayout::V3;
    return FileLayout::Oldest;
}

std::string EncodeProjectRecord(const ProjectCondTbl& c)
{
    ByteWriter w;
    ProjectFields(w, c);
    return std::move(w.bytes);
}

std::string EncodeColumnRecord(const ColumnDataTbl& c)
{
    ByteWriter w;
    ColumnFields(w, c);
    return std::move(w.bytes);
}

std::string EncodeKvBaseRecord(const KvBaseTbl& b)
{
    ByteWriter w;
    KvBaseHeadFields(w, b);
    KvBaseTailFields(w, b);
    return std::move(w.bytes);
}

ProjectCondTbl DecodeProjectRecord(std::string_view bytes)
{
    ProjectCondTbl c;
    ByteReader r(bytes);
    ProjectFields(r, c);
    return c;
}

ColumnDataTbl DecodeColumnRecord(std::string_view bytes)
{
    ColumnDataTbl c;
    ByteReader r(bytes);
    ColumnFields(r, c);
    return c;
}

KvBaseTbl DecodeKvBaseRecord(std::string_view bytes, std::size_t size)
{
    KvBaseTbl b;
    ByteReader r(bytes);
    KvBaseHeadFields(r, b);
    if (size > kOldKvBaseRecordSize) KvBaseTailFields(r, b);
    return b;
}

double FixStrengthUnit(double f, bool siDisp)
{
    if (siDisp && f > 100) return f / 10;
    if (!siDisp && f < 100) return f * 10;
    return f;
}

void UpgradeProjectRecord(ProjectCondTbl& dst, const OldProjectRecord& old, double fileDate)
{
    dst = gCondDefault;
    dst.ColCount = old.c.ColCount;
    dst.Bukken = old.c.Bukken;
    dst.ShortCalcMode = old.c.ShortCalcMode;
    dst.UltCalcMode = old.c.UltCalcMode;
    dst.GammaX = old.c.GammaX;
    dst.Fc = old.c.Fc;
    dst.BukkenDate = fileDate;
    dst.Fc = FixStrengthUnit(dst.Fc, gSIDisp);
}

void UpgradeProjectRecordByVersion(ProjectCondTbl& dst, const OldProjectRecord& old, double fileDate)
{
    const std::string v = vb::Trim(old.c.Version.value());
    dst = gCondDefault;
    dst.ColCount = old.c.ColCount;
    dst.Bukken = old.c.Bukken;
    dst.UltCalcMode = old.c.UltCalcMode;
    dst.GammaX = old.c.GammaX;
    dst.Fc = old.c.Fc;
    dst.ShortCalcMode = 0;
    dst.DesignRootX = dst.DesignRootY = old.c.UltCalcMode != 0 ? 3 : 2;
    dst.GammaY = old.c.GammaX;
    if (v == "Version 4.03" || v == "Version 4.02" || v == "Version 4.01" || v == "Version 4.00") {
        dst.GFactor = old.c.GFactor;
        dst.DevNum = old.c.DevNum;
        dst.UltJadge = old.c.UltJadge;
        dst.SMode = old.c.SMode;
    } else if (v == "Version 3.01") {
        dst.GFactor = old.c.GFactor;
        dst.DevNum = old.c.DevNum;
        dst.UltJadge = old.c.UltJadge;
        dst.SMode = kTrue;
    } else if (v == "Version 2.00" || v == "Version 3.00") {
        dst.GFactor = old.c.GFactor;
        dst.DevNum = 6;
        dst.UltJadge = kFalse;
        dst.SMode = kTrue;
    }
    dst.BukkenDate = fileDate;
    dst.Fc = FixStrengthUnit(dst.Fc, gSIDisp);
}

void ConvertColRecordsV2(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond)
{
    ConvertColRecords(dst, old, count, cond, [](ColumnDataTbl&, const ColumnDataTbl&) {});
}

void ConvertColRecordsV3(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond)
{
    ConvertColRecords(dst, old, count, cond, [](ColumnDataTbl&, const ColumnDataTbl&) {});
}

void ConvertColRecordsV4(ColumnArray<ColumnDataTbl>& dst, const ColumnArray<OldColumnRecord>& old, int16_t count,
                         const ProjectCondTbl& cond)
{
    ConvertColRecords(dst, old, count, cond, [](ColumnDataTbl& c, const ColumnDataTbl& o) {
        for (long d = 0; d <= 1; ++d)
            for (long k = 1; k <= 3; ++k) c.SrcColSpec(d, k) = o.SrcColSpec(d, k);
        c.RBarMat = o.RBarMat;
        c.RBarVal = o.RBarVal;
        c.RtN = o.RtN;
        c.RmN = o.RmN;
        c.RqN = o.RqN;
        c.RTensN = o.RTensN;
        c.rD = o.rD;
        c.SrcHDim = o.SrcHDim;
        c.SrcDim5 = o.SrcDim5;
        c.cD = o.cD;
        c.cD2 = o.cD2;
        c.RTabane = o.RTabane;
    });
}

void ConvertKvRecordsV2(ColumnArray<KvBaseTbl>& dst, const ColumnArray<KvBaseTbl>& old, int16_t count)
{
    for (long i = 1; i <= count; ++i) {
        KvBaseTbl b;
        const KvBaseTbl& o = old(i);
        // The oldest record ends with EXYMode; what follows stays zero.
        ByteWriter w;
        KvBaseHeadFields(w, o);
        ByteReader r(w.bytes);
        KvBaseHeadFields(r, b);
        dst(i) = b;
    }
}

ProjectFileData ReadProjectBytes(std::string_view bytes, double fileDate, kv::KV& engine)
{
    if (bytes.size() < 2) throw ProjectFileError("the file is too short to be a project");
    ProjectFileData out;
    FixedText<50> versionField;
    if (bytes.size() >= 122) versionField.fromFile(bytes.data() + 72, 50);
    const std::string v = vb::Trim(versionField.value());
    FileLayout layout = LayoutOfVersion(v);
    out.layout = layout;
    if (layout != FileLayout::Oldest) {
        out.version = v;
        out.shortVersion = text::Right(v, 4);
    }

    int16_t count = 0;
    std::memcpy(&count, bytes.data(), 2);
    if (count < 1) throw ProjectFileError("the file holds no columns (count " + std::to_string(count) + ")");
    const std::size_t need = ProjectSize(layout) + static_cast<std::size_t>(count) * (ColumnSize(layout) + KvBaseSize(layout));
    if (bytes.size() < need)
        throw ProjectFileError("the file ends before its " + std::to_string(count) + " columns (" +
                               std::to_string(bytes.size()) + " of " + std::to_string(need) + " bytes)");

    std::size_t at = ProjectSize(layout);
    const std::size_t colSize = ColumnSize(layout);
    const std::size_t kvSize = KvBaseSize(layout);
    out.columns.redim(count);
    out.kvBase.redim(count);

    if (layout == FileLayout::Current) {
        out.cond = DecodeProjectRecord(bytes.substr(0, kProjectRecordSize));
        versionField = out.cond.Version;
        const bool sMode = out.cond.SMode != kFalse;
        for (long i = 1; i <= count; ++i) {
            out.columns(i) = DecodeColumnRecord(bytes.substr(at, colSize));
            out.kvBase(i) = DecodeKvBaseRecord(bytes.substr(at + colSize, kvSize));
            at += colSize + kvSize;
        }
        // The adjustments of the older versions ask the engine.
        CheckProjectValues(out.cond, out.columns, out.kvBase, count);
        for (long i = 1; i <= count; ++i) AdjustCurrentColumn(v, out.columns(i), out.kvBase(i), sMode, engine);
        return out;
    }

    const OldProjectRecord oldCond = DecodeOldProjectRecord(bytes.substr(0, ProjectSize(layout)), layout != FileLayout::Oldest);
    if (layout == FileLayout::Oldest)
        UpgradeProjectRecord(out.cond, oldCond, fileDate);
    else
        UpgradeProjectRecordByVersion(out.cond, oldCond, fileDate);

    ColumnArray<OldColumnRecord> oldCols;
    oldCols.redim(count);
    ColumnArray<KvBaseTbl> oldBases;
    oldBases.redim(count);
    for (long i = 1; i <= count; ++i) {
        oldCols(i) = DecodeOldColumnRecord(bytes.substr(at, colSize), layout);
        oldBases(i) = DecodeKvBaseRecord(bytes.substr(at + colSize, kvSize), kvSize);
        at += colSize + kvSize;
    }
    switch (layout) {
    case FileLayout::V4:
        ConvertColRecordsV4(out.columns, oldCols, count, out.cond);
        out.kvBase = oldBases;
        break;
    case FileLayout::V3:
        ConvertColRecordsV3(out.columns, oldCols, count, out.cond);
        out.kvBase = oldBases;
        break;
    default:
        ConvertColRecordsV2(out.columns, oldCols, count, out.cond);
        ConvertKvRecordsV2(out.kvBase, oldBases, count);
        break;
    }
    CheckProjectValues(out.cond, out.columns, out.kvBase, count);
    return out;
}

ProjectFileData ReadProjectFile(const std::string& path, kv::KV& engine)
{
    const std::string bytes = ReadWholeFile(path);
    return ReadProjectBytes(bytes, FileDate(path), engine);
}

std::string EncodeProjectFile(const ProjectCondTbl& cond, const ColumnArray<ColumnDataTbl>& columns,
                              const ColumnArray<KvBaseTbl>& kvBase)
{
    if (cond.ColCount < 1 || cond.ColCount > columns.ubound() || cond.ColCount > kvBase.ubound())
        throw std::runtime_error("the project's column count does not match its columns");
    ProjectCondTbl c = cond;
    c.Version = kCurrentFileVersion;
    std::string bytes = EncodeProjectRecord(c);
    bytes.reserve(kProjectRecordSize + static_cast<std::size_t>(c.ColCount) * (kColumnRecordSize + kKvBaseRecordSize));
    for (long i = 1; i <= c.ColCount; ++i) {
        bytes += EncodeColumnRecord(columns(i));
        bytes += EncodeKvBaseRecord(kvBase(i));
    }
    return bytes;
}

std::string ResolveLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path p(path);
    // As many links as the system itself follows before it gives up.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p.lexically_normal().string();
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) throw WriteFailure(ec.value(), "cannot follow the link " + p.string() + ": " + ec.message(), path);
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    throw WriteFailure(ELOOP, "too many levels of links at " + path, path);
}

namespace {

std::string SystemError(int err) { return std::system_category().message(err); }

// The failure of writing `file`, with the system's text for standard error.
[[noreturn]] void Fail(int err, const std::string& what, const std::string& file)
{
    throw WriteFailure(err, what + ": " + SystemError(err), file);
}

class TemporaryFiles {
public:
    TemporaryFiles() = default;
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;
    ~TemporaryFiles()
    {
        for (const Temp& t : temps_) {
            if (!t.path.empty()) ::unlink(t.path.c_str());
            if (t.fd >= 0) ::close(t.fd);
        }
    }

    // A new file beside `target` holding `bytes`, synced, with the target's
    // permission bits when it has any (else those of a new file). Where the
    // file system allows, it has no name until it is whole and about to
    // replace the target: a save killed part way leaves nothing behind.
    void write(const std::string& target, std::string_view bytes, const struct stat* existing)
    {
        namespace fs = std::filesystem;
        fs::path dir = fs::path(target).parent_path();
        if (dir.empty()) dir = ".";
        Temp& t = temps_.emplace_back();
        t.target = target;
        t.fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (t.fd < 0) {
            t.path = FreeHiddenName(target, [&t](const std::string& name) {
                t.fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                return t.fd >= 0;
            });
        }

        int err = 0;
        if (existing != nullptr && ::fchmod(t.fd, existing->st_mode & 07777) != 0) err = errno;
        for (std::size_t done = 0; err == 0 && done < bytes.size();) {
            const ssize_t n = ::write(t.fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno != EINTR) err = errno;
            } else {
                done += static_cast<std::size_t>(n);
            }
        }
        if (err == 0 && ::fsync(t.fd) != 0) err = errno;
        if (err != 0) Fail(err, "cannot write " + target, target);
        // Nothing is put in place that does not read back as it was meant:
        // a write cut short without an error is caught here.
        if (!ReadsBack(t.fd, bytes))
            throw Failure(FailureKind::WriteFailed,
                          "cannot write " + target + ": the new file did not read back as it was written",
                          FailureValues::File(target));
    }

    // Puts the file in place of its target.
    void place(std::size_t i)
    {
        Temp& t = temps_[i];
        if (t.path.empty()) {
            // The unnamed file gets a hidden name beside the target first:
            // a rename is what replaces a file in one step.
            const std::string self = "/proc/self/fd/" + std::to_string(t.fd);
            t.path = FreeHiddenName(t.target, [&t, &self](const std::string& name) {
                return ::linkat(t.fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0 ||
                       ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
            });
        }
        if (::rename(t.path.c_str(), t.target.c_str()) != 0) {
            const int err = errno;
            Fail(err, "cannot replace " + t.target, t.target);
        }
        // In place: nothing to clean up.
        t.path.clear();
    }

private:
    struct Temp {
        std::string target;
        std::string path;  // its name while it has one that is not the target's
        int fd = -1;
    };

    static std::string HiddenName(const std::string& target)
    {
        namespace fs = std::filesystem;
        static std::random_device rd;
        fs::path dir = fs::path(target).parent_path();
        if (dir.empty()) dir = ".";
        return (dir / ("." + fs::path(target).filename().string() + ".tmp" + std::to_string(rd() % 1000000))).string();
    }

    // A hidden name beside `target` that `take` makes a file of (false and
    // errno set when it cannot); a name already taken is tried again with
    // another.
    template <typename Take>
    static std::string FreeHiddenName(const std::string& target, Take take)
    {
        for (int tries = 0; tries < 100; ++tries) {
            std::string name = HiddenName(target);
            if (take(name)) return name;
            if (const int err = errno; err != EEXIST) Fail(err, "cannot write " + target, target);
        }
        Fail(EEXIST, "cannot write " + target + ": no free temporary name", target);
    }

    static bool ReadsBack(int fd, std::string_view bytes)
    {
        std::string back(bytes.size() + 1, '\0');
        std::size_t have = 0;
        while (have < back.size()) {
            const ssize_t n = ::pread(fd, back.data() + have, back.size() - have, static_cast<off_t>(have));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            have += static_cast<std::size_t>(n);
        }
        return have == bytes.size() && std::string_view(back.data(), have) == bytes;
    }

    std::vector<Temp> temps_;
};

void SyncFolder(const std::string& dir)
{
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // A file system that cannot sync a folder still has the files renamed.
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void WriteFilesAtomically(const std::vector<FileToWrite>& files)
{
    namespace fs = std::filesystem;
    std::vector<std::string> targets;
    std::vector<std::optional<struct stat>> existing;
    for (const FileToWrite& f : files) {
        std::string t = ResolveLinks(f.path);
        for (const std::string& other : targets)
            if (other == t) throw std::runtime_error(f.path + " would be written twice");
        struct stat st {};
        if (::stat(t.c_str(), &st) == 0) {
            if (!S_ISREG(st.st_mode))
                throw Failure(FailureKind::TargetNotAFile, "cannot replace " + t + ": it is not a regular file",
                              FailureValues::File(t));
            existing.emplace_back(st);
        } else if (errno == ENOENT) {
            existing.emplace_back();
        } else {
            const int err = errno;
            Fail(err, "cannot write " + t, t);
        }
        targets.push_back(std::move(t));
    }

    TemporaryFiles temps;
    for (std::size_t i = 0; i < files.size(); ++i)
        temps.write(targets[i], files[i].bytes, existing[i] ? &*existing[i] : nullptr);

    for (std::size_t i = 0; i < targets.size(); ++i) temps.place(i);
    std::vector<std::string> folders;
    for (const std::string& t : targets) {
        const std::string d = fs::path(t).parent_path().string();
        if (std::find(folders.begin(), folders.end(), d) == folders.end()) folders.push_back(d);
    }
    for (const std::string& d : folders) SyncFolder(d);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    WriteFilesAtomically({FileToWrite{path, bytes}});
}

bool DesignFactorAccepted(double v) { return std::isfinite(v) && v >= 0 && v <= kDesignFactorMax; }

std::string DesignFactorRangeText(const std::string& name)
{
    return name + "には0～" + vb::CStr(kDesignFactorMax) + "の数値を入力してください。";
}

}  // namespace model
