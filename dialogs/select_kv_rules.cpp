#include "dialogs/select_kv_rules.h"

#include "model/catalogue.h"
#include "model/format.h"
#include "platform/store/store.h"
#include "platform/text/fixed_text.h"
#include "platform/text/vb.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace selkv {

namespace {

std::string ShapeStr(int16_t shape) { return vb::Str(shape); }

}  // namespace

std::string GradeCriterion(int16_t shape, int16_t code)
{
    switch (shape) {
    case kBox:
        if (code == 0 || code == 101) return "='BCR'";
        if (code == 1 || code == 2) return "='BCP'";
        if (code == 3 || code == 4 || code == 102 || code == 103) return "<>'BCR'";
        return {};
    case kRound: return code == 5 || code == 6 ? "='STK'" : std::string();
    case kH: return code >= 7 && code <= 10 ? "='SS'" : std::string();
    default: return {};
    }
}

std::string SqlText(const std::string& text, char quote)
{
    if (quote == '\'') return store::Quote(text);
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote) out += c;
    }
    out += quote;
    return out;
}

std::string SizeListQuery(int16_t shape, int16_t code)
{
    const std::string field = shape == kH ? "呼び柱成" : "柱成";
    return "SELECT DISTINCTROW First(柱." + field + ") AS 柱成ﾌｨｰﾙﾄﾞ " +
           "From 柱 GROUP BY 柱.柱成, 柱.柱種類, 柱.規格 " + "HAVING (((柱.柱種類)=" + std::to_string(shape) +
           ") AND ((柱.規格)" + GradeCriterion(shape, code) + "));";
}

std::string ThicknessListQuery(int16_t shape, const std::string& sizeText, int16_t code)
{
    return "SELECT DISTINCTROW 柱.柱成, 柱.フランジ厚 From 柱 WHERE (((柱.柱種類)=" + ShapeStr(shape) + ") " +
           "AND ((柱.柱成)=" + SqlText(sizeText) + ") " + "AND ((柱.規格)" + GradeCriterion(shape, code) + "))";
}

std::string SectionQuery(int16_t shape, const std::string& sizeText, int16_t code, const std::string& thicknessText)
{
    return "SELECT DISTINCTROW 柱.柱成, 柱.フランジ厚, 柱.断面積, 柱.Zx, 柱.Zpx , 柱.Zy, 柱.Zpy From 柱 "
           "WHERE (((柱.柱種類)=" +
           ShapeStr(shape) + ") " + "AND ((柱.柱成)=" + SqlText(sizeText) + ") " + "AND ((柱.規格)" +
           GradeCriterion(shape, code) + ")" + "AND ((柱.フランジ厚)=" + SqlText(thicknessText) + "))";
}

std::string FlangeWidthQuery(const std::string& sizeText)
{
    return "SELECT DISTINCTROW First(柱.呼びフランジ幅) AS 呼びフランジ幅ﾌｨｰﾙﾄﾞ From 柱 "
           "GROUP BY 柱.呼びフランジ幅, 柱.呼び柱成, 柱.柱種類, 柱.規格 HAVING (((柱.呼び柱成)=" +
           SqlText(vb::Trim(sizeText), '"') + ") AND ((柱.柱種類)=2) AND ((柱.規格)='SS'));";
}

std::string NominalSizeQuery(const std::string& sizeText)
{
    return "SELECT DISTINCTROW 柱.呼び柱成 From 柱 WHERE ((柱.柱成)=" + SqlText(sizeText) + ") ";
}

std::string ModelListQuery(const std::string& nominalSize, const std::string& seriesCondition, int16_t shape)
{
    return "SELECT DISTINCTROW 柱脚.形式名,柱脚.ID,柱脚.DispF From 柱脚 WHERE (((柱脚.ColSize)=" + nominalSize + ") " +
           "AND (" + seriesCondition + ")" + "AND ((柱脚.ColV)=" + ShapeStr(shape) + "))";
}

std::string UnquotedNumber(const std::string& text)
{
    const std::string t = vb::Trim(text);
    if (t.empty() || !vb::IsNumeric(t)) return {};
    try {
        return model::QueryNumber(vb::Val(t));
    } catch (const std::exception&) {
        return {};
    }
}

std::string HSectionListQuery(const std::string& sizeText, const std::string& widthText)
{
    return "SELECT DISTINCTROW 柱.ID, 柱.柱成, 柱.フランジ幅, 柱.ウェブ厚, 柱.フランジ厚 From 柱 WHERE (((柱.柱種類)=2) "
           "AND ((柱.呼び柱成)=" +
           SqlText(sizeText) + ") " + "AND ((柱.呼びフランジ幅)=" + SqlText(widthText) + ")) ";
}

std::string HSectionQuery(int32_t id)
{
    return "SELECT DISTINCTROW 柱.断面積, 柱.Zx, 柱.Zpx, 柱.Zy, 柱.Zpy , 柱.柱成, 柱.フランジ幅, 柱.ウェブ厚, 柱.フランジ厚 "
           "From 柱 WHERE ((柱.ID)=" +
           std::to_string(id) + ") ";
}

std::string HModelListQuery(const std::string& size, const std::string& width, int16_t kvSeries)
{
    return "SELECT DISTINCTROW 柱脚.形式名,柱脚.ID From 柱脚 WHERE (((柱脚.ColSize)=" + size + ") " +
           "AND ((柱脚.ColWidth)>=" + width + ") " + "AND (((柱脚.KvV)=" + std::to_string(kvSeries) +
           ") OR ((柱脚.KvV)=2) OR ((柱脚.KvV)=4)) " + "AND ((柱脚.ColV)=2)) ";
}

std::string ModelIdQuery(const std::string& name)
{
    return "SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.形式名)=" + SqlText(name) + ") ";
}

std::string ModelBoltsQuery(int32_t id)
{
    return "SELECT DISTINCTROW 柱脚.KvV, 柱脚.AbCount, 柱脚.Ab径1, 柱脚.Ab径2, 柱脚.Ab径3, 柱脚.Ab径4 From 柱脚 "
           "WHERE ((柱脚.ID)=" +
           std::to_string(id) + ") ";
}

std::string HFitQuery(int32_t id)
{
    return "SELECT DISTINCTROW 柱脚.E,柱脚.F,柱脚.W,柱脚.G From 柱脚 WHERE ((柱脚.ID)=" + std::to_string(id) + ") ";
}

bool IsHColumnOnBase(double E, double F, double W, double G, double H, double B, double tw, double tf)
{
    return E - 4 >= H && H - 2 * tf >= F + 16 && G - 10 > B && W / 1.5 > tw;
}

std::string ModelPrefix(const std::string& modelName) { return vb::Trim(modelName).substr(0, 2); }

CentreBox CentreColumnBox(int16_t series, const std::string& modelName)
{
    const std::string prefix = ModelPrefix(modelName);
    switch (series) {
    case 0:
    case 2: return {CentreCaption::Unchanged, false, false};
    case 1:
        if (prefix == "KS") return {CentreCaption::Pattern2, true, true};
        if (prefix == "KC") return {CentreCaption::Unchanged, false, false};
        return {CentreCaption::CentreColumn, true, false};
    case 4:
    case 5:
    case 6: return {CentreCaption::CentreColumn, true, false};
    default: return {CentreCaption::Unchanged, true, false};
    }
}

bool DirectionResets(const std::string& oldName, const std::string& newName)
{
    const std::string before = ModelPrefix(oldName);
    return (before == "KC" || before == "KS") && ModelPrefix(newName) != before;
}

int AllowedDirections(const std::string& modelName)
{
    const std::string n = vb::Trim(modelName);
    if (n.size() >= 2 && n[0] == 'K' && (n[1] == 'C' || n[1] == 'S')) return 4;
    if (!n.empty() && n[0] == 'H') return 2;
    return 0;
}

int16_t RotationOf(const std::string& modelName, int direction)
{
    if (ModelPrefix(modelName) == "KC") return 0;
    return static_cast<int16_t>(direction % 2);
}

bool SquarePlate(const model::KvBaseTbl& base)
{
    return std::floor(base.KvLen(0, 1)) == std::floor(base.KvLen(0, 2));
}

double PedestalFc(double fc) { return fc > 100 ? fc / 10 : fc; }

std::string MainBarText(const model::ColumnDataTbl& col)
{
    // A grade never filled in shows as nothing, not as its padding.
    return "D" + text::FieldText(col.RBarVal) + "(" + text::FieldText(col.RBarMat) + ")";
}

std::vector<std::string> SizeListTexts(const std::vector<double>& values)
{
    std::vector<double> sorted = values;
    // Stable: of equal values the first keeps its place.
    std::stable_sort(sorted.begin(), sorted.end());
    std::vector<std::string> texts;
    for (double v : sorted) {
        std::string t = model::FormatValue(v, -1);
        if (texts.empty() || texts.back() != t) texts.push_back(std::move(t));
    }
    return texts;
}

int16_t AdjustSeriesForQuery(int16_t shape, double size, int16_t series)
{
    if (shape == kBox) {
        if (size <= 175) return series == 1 || series == 5 ? 6 : series;
        if (size <= 300) return series;
        if (size <= 450) return series == 6 ? 4 : series;
        return series == 4 || series == 6 ? 1 : series;
    }
    if (shape == kRound && size > 460) return series == 4 || series == 6 ? 1 : series;
    return series;
}

std::string SeriesCondition(int16_t series)
{
    if (series == 1 || series == 5) return "((柱脚.KvV)=1) OR ((柱脚.KvV)=5)";
    if (series == 4 || series == 6) return "((柱脚.KvV)=" + std::to_string(series) + ")";
    return {};
}

std::array<SeriesOption, 3> ArrangeSeriesOptions(int16_t shape, double size)
{
    // Options 0 ルモ, 1 オルタ, 2 ソルヴェナス at the places 120, 2160, 4200.
    std::array<SeriesOption, 3> o{};
    const auto set = [&o](int option, int left, bool shown, int enabled = -1) {
        o[static_cast<std::size_t>(option)] = {true, shown, left, enabled};
    };
    if (shape == kBox && size >= 150 && size < 200) {
        set(2, 120, true);
        set(0, 2160, true);
        set(1, 4200, false);
    } else if (shape == kBox && size >= 200 && size <= 300) {
        set(2, 120, true);
        set(0, 2160, true);
        set(1, 4200, true, 1);
    } else if ((shape == kBox && size > 300 && size <= 450) || (shape == kRound && size >= 189 && size <= 450)) {
        set(0, 120, true);
        set(1, 2160, true, 1);
        set(2, 4200, false);
    } else if (((shape == kBox || shape == kRound) && size > 450 && size <= 1200) || shape == kH) {
        set(1, 120, true, 0);
        set(2, 2160, false);
        set(0, 4200, false);
    }
    return o;
}

int SeriesOptionOf(int16_t series)
{
    switch (series) {
    case 1:
    case 5: return 1;
    case 4: return 0;
    case 6: return 2;
    default: return -1;
    }
}

int16_t SeriesOfOption(int option, int16_t shape, double size)
{
    switch (option) {
    case 0: return 4;
    case 1: return shape == kBox && size >= 350 ? 5 : 1;
    case 2: return 6;
    default: return 0;
    }
}

std::vector<std::string> ListedModels(const std::vector<ModelRow>& rows, int32_t& kolvanId, bool showKCModels,
                                      bool showDispF2)
{
    std::vector<std::string> names;
    bool first = true;
    for (const ModelRow& r : rows) {
        const std::string name = vb::Trim(r.name);
        const bool hiddenKC = !showKCModels && name.rfind("KC", 0) == 0;
        const bool shown = r.dispF == 1 || (r.dispF == 2 && showDispF2);
        if (r.id == kolvanId || (!hiddenKC && shown)) names.push_back(name);
        if (first) {
            kolvanId = r.id;
            first = false;
        }
    }
    return names;
}

int16_t FirstGrade(int16_t shape) { return shape == kRound ? 5 : shape == kH ? 7 : 0; }

int16_t LastGrade(int16_t shape) { return shape == kBox ? 4 : shape == kRound ? 6 : 10; }

bool Bcp325Replaced(double storedSize, int16_t storedGrade) { return storedSize < 300 && storedGrade == 2; }

bool F325Column(int16_t shape, int16_t grade)
{
    return (shape == kBox && (grade == 2 || grade == 4)) || (shape == kRound && grade == 6);
}

bool LumoPlateRefused(int16_t shape, int16_t grade, const model::KvBaseTbl& base)
{
    return F325Column(shape, grade) && base.KvV == 4 && base.KvT(2) > 40;
}

void TakeUserSectionValues(model::ColumnDataTbl& col, const std::array<std::string, 5>& boxTexts)
{
    for (long d = 0; d <= 4; ++d) {
        if (vb::Trim(boxTexts[static_cast<std::size_t>(d)]) == model::FormatValue(col.ColSpec(d), -1)) {
            col.ColSpecUser(d) = 0;
            continue;
        }
        for (long i = 0; i <= 4; ++i) col.ColSpecUser(i) = vb::Val(boxTexts[static_cast<std::size_t>(i)]);
        return;
    }
}

bool ColumnXYDiffer(const model::ColumnDataTbl& col)
{
    const bool user = std::fabs(col.ColSpecUser(0)) >= 0.001;
    const double dz = user ? col.ColSpecUser(3) - col.ColSpecUser(1) : col.ColSpec(3) - col.ColSpec(1);
    return std::fabs(dz) > 0.001;
}

void SetSlabWidths(model::ColumnDataTbl& col)
{
    if (col.ColV == kBox || col.ColV == kRound) {
        col.SlabQ_B1X = col.SlabQ_B1Y = col.ColSize;
    } else if (col.ColV == kH && col.KvRotate == 0) {
        col.SlabQ_B1X = col.HDim(2);
        col.SlabQ_B1Y = col.HDim(1);
    } else if (col.ColV == kH && col.KvRotate == 1) {
        col.SlabQ_B1X = col.HDim(1);
        col.SlabQ_B1Y = col.HDim(2);
    } else {
        return;
    }
    col.SlabQ_B2X = col.cD(1);
    col.SlabQ_B2Y = col.cD(0);
}

void DropShearChoicesForNewBase(model::ColumnDataTbl& col, int32_t storedBaseId, int32_t newBaseId)
{
    if (storedBaseId == newBaseId) return;
    for (long k = 1; k <= 7; ++k)
        for (long d = 0; d <= 1; ++d) col.FShear(k, d) = 0;
}

}  // namespace selkv
