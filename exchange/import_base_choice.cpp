#include "exchange/import_base_choice.h"

#include "model/catalogue.h"
#include "model/globals.h"
#include "platform/store/store.h"
#include "platform/text/vb.h"

namespace exchange {

using namespace model;

namespace {

// The nominal column size of 柱成 as a query number; empty when table 柱 has no
// such size (or only one whose nominal size is no number).
std::string NominalSize(store::Database& db, double colSize)
{
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱.呼び柱成 From 柱 WHERE ((柱.柱成)=" +
                               store::Quote(QueryNumber(colSize)) + ") ");
    if (rs.eof() || rs.isNull(0)) return {};
    const std::string nominal = vb::Trim(rs.text(0));
    // The text goes into the next query as a number.
    if (!vb::IsNumeric(nominal)) return {};
    return QueryNumber(vb::Val(nominal));
}

bool Listed(const std::string& name, int64_t dispF)
{
    if (!gShowKCModels && vb::Trim(name).rfind("KC", 0) == 0) return false;
    return dispF == 1 || (dispF == 2 && gShowDispF2);
}

double NumberOr0(const store::Recordset& rs, const char* field)
{
    return rs.isNull(field) ? 0.0 : rs.number(field);
}

}  // namespace

bool msub_CheckBaseFits(double E, double F, double W, double G, double H, double B, double tw, double tf)
{
    if (!(E - 6 >= H)) return false;
    if (!(H - 2 * tf >= F - 16)) return false;
    if (!(G - 10 >= B)) return false;
    return W / 1.5 >= tw;
}

ImportKvCandidates ListImportKvCandidates(const ColumnDataTbl& col)
{
    ImportKvCandidates out;
    if (col.ColV < 0 || col.ColV > 2) return out;
    store::Database db = OpenCatalogue();
    const std::string nominal = NominalSize(db, col.ColSize);
    if (nominal.empty()) return out;
    out.sized = true;
    const std::string series = std::to_string(gKvSeries);
    const bool h = col.ColV == 2;
    std::string sql;
    if (!h) {
        sql = "SELECT DISTINCTROW 柱脚.形式名,柱脚.ID,柱脚.DispF From 柱脚 WHERE (((柱脚.ColSize)=" + nominal +
              ") AND (((柱脚.KvV)=" + series + ") OR ((柱脚.KvV)=2) OR ((柱脚.KvV)=4) OR ((柱脚.KvV)=5))" +
              "AND ((柱脚.ColV)=" + std::to_string(col.ColV) + "))";
    } else {
        // A base's ColWidth is the widest flange it takes, as in the column
        // dialog: it is compared with the flange width B, not the depth.
        sql = "SELECT DISTINCTROW 柱脚.形式名,柱脚.ID,柱脚.E,柱脚.F,柱脚.W,柱脚.G From 柱脚 WHERE (((柱脚.ColSize)=" +
              nominal + ") AND ((柱脚.ColWidth)>=" + QueryNumber(col.HDim(2)) + ") AND (((柱脚.KvV)=" + series +
              ") OR ((柱脚.KvV)=2) OR ((柱脚.KvV)=4)) AND ((柱脚.ColV)=2)) ";
    }
    auto rs = db.openRecordset(sql);
    bool first = true;
    for (; !rs.eof(); rs.moveNext()) {
        const std::string name = rs.isNull("形式名") ? std::string() : vb::Trim(rs.text("形式名"));
        if (first) {
            out.firstId = CatalogueInt32(rs, "ID");
            first = false;
        }
        bool listed;
        if (!h) {
            listed = Listed(name, rs.isNull("DispF") ? 0 : rs.integer("DispF"));
        } else {
            listed = msub_CheckBaseFits(NumberOr0(rs, "E"), NumberOr0(rs, "F"), NumberOr0(rs, "W"), NumberOr0(rs, "G"),
                                        col.HDim(1), col.HDim(2), col.HDim(3), col.HDim(4));
        }
        if (listed && !name.empty()) out.names.push_back(name);
    }
    return out;
}

int32_t ImportKvIdOfName(const std::string& name)
{
    store::Database db = OpenCatalogue();
    auto rs = db.openRecordset("SELECT DISTINCTROW 柱脚.ID From 柱脚 WHERE ((柱脚.形式名)=" + store::Quote(vb::Trim(name)) +
                               ") ");
    if (rs.eof()) return 0;
    return CatalogueInt32(rs, "ID");
}

ImportKvBolts ImportKvDiameters(int32_t kvId)
{
    ImportKvBolts out;
    store::Database db = OpenCatalogue();
    auto rs = db.openRecordset(
        "SELECT DISTINCTROW 柱脚.KvV, 柱脚.AbCount, 柱脚.Ab径1, 柱脚.Ab径2, 柱脚.Ab径3, 柱脚.Ab径4 From 柱脚 WHERE ((柱脚.ID)=" +
        std::to_string(kvId) + ") ");
    if (rs.eof()) return out;
    out.kvV = CatalogueInt16(rs, "KvV");
    if (out.kvV == 2) return out;
    const int16_t count = CatalogueInt16(rs, "AbCount");
    for (int i = 1; i <= count && i <= 4; ++i) {
        const std::string field = "Ab径" + std::to_string(i);
        if (rs.isNull(field)) break;
        out.diameters.push_back("M" + QueryNumber(rs.number(field)));
    }
    return out;
}

}  // namespace exchange
