#include "orv/db/schema.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine_error.h"
#include "orv/db/connection.h"
#include "orv/db/connection_string.h"
#include "orv/db/sql.h"

namespace orv::db {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kInt = "SMALLINT";
constexpr std::string_view kDbl = "DOUBLE";
constexpr std::string_view kTxt = "TEXT";
constexpr std::string_view kBool = "BOOLEAN";
constexpr std::string_view kDate = "DATETIME";

ColumnDef Col(std::string_view name, std::string_view type) {
  return {name, type};
}
ColumnDef Required(std::string_view name, std::string_view type) {
  return {name, type, true};
}
ColumnDef Flag(std::string_view name) {
  return {name, kBool, true, "0"};
}

std::vector<TableDef> BuildTables() {
  std::vector<TableDef> t;
  t.push_back({"ACC_MASTER",
               {Required("AM_AccId", kInt), Required("AM_AccName", kTxt), Col("AM_Alias", kTxt),
                Col("AM_OpeningBal", kDbl), Col("AM_OpeningBalSign", kTxt), Col("AM_GrpFlag", kTxt),
                Col("AM_GrpNo", kInt), Required("AM_LevelNo", kInt), Required("AM_AccType", kTxt),
                Col("AM_ClosingBal", kDbl), Col("AM_ClosingBalSign", kTxt)},
               {{"AM_AccId"}},
               {{"AM_GrpNo"}}});
  TableDef details{"ACC_DETAILS", {Required("AD_AccId", kInt)}, {{"AD_AccId"}}, {}};
  for (auto name : {"AD_Ct_Person1", "AD_Ct_Person2", "AD_Address", "AD_R_Phone", "AD_S_Phone",
                    "AD_Mobile", "AD_Fax", "AD_Email", "AD_WebPage", "AD_CST_No", "AD_GST_No",
                    "AD_IT_No", "AD_ST_Type", "AD_Purch_Type", "AD_InvoiceType"})
    details.columns.push_back(Col(name, kTxt));
  details.columns.insert(
      details.columns.end(),
      {Col("AD_AgentId", kInt), Col("AD_Transport", kTxt), Flag("AD_UsedInVat"),
       Col("AD_TaxClassId", kInt), Col("AD_TaxTypeId", kInt), Col("AD_TaxPerc", kDbl),
       Col("AD_VatType", kTxt), Col("AD_VatInvType", kInt), Col("AD_ATVatAccId", kInt)});
  for (auto name : {"AD_Extra1", "AD_Extra2", "AD_Extra3", "AD_Extra4", "AD_ECCNo", "AD_Range",
                    "AD_Div", "AD_Comm", "AD_FormType", "AD_PymtDays"})
    details.columns.push_back(Col(name, kTxt));
  details.columns.insert(
      details.columns.end(),
      {Col("AD_Limit", kDbl), Col("AD_Area", kTxt), Col("AD_State", kTxt), Col("AD_Pincode", kTxt),
       Col("AD_PrintAddress", kTxt), Flag("AD_BillwiseReceipt"), Flag("AD_InterestCalc"),
       Col("AD_Interest_Rate", kDbl), Flag("AD_TDS"), Col("AD_TDS_Perc", kDbl)});
  for (auto name :
       {"AD_TDS_Type", "AD_Extra11", "AD_Extra12", "AD_Extra13", "AD_Extra14", "AD_Extra15"})
    details.columns.push_back(Col(name, kTxt));
  t.push_back(std::move(details));
  // Rows are inserted without column names: the column order is part of the contract.
  t.push_back({"ACC_BALANCE",
               {Required("AB_AccId", kInt), Required("AB_Month", kTxt), Col("AB_Dr", kDbl),
                Col("AB_Cr", kDbl)},
               {{"AB_AccId", "AB_Month"}},
               {}});
  t.push_back(
      {"ITEMS",
       {Required("IM_ItemId", kInt), Required("IM_ItemName", kTxt), Col("IM_Alias", kTxt),
        Col("IM_GrpFlag", kTxt),     Col("IM_GrpNo", kInt),         Col("IM_GrpLevel", kInt),
        Col("IM_OpeningBal", kDbl),  Col("IM_ClosingBal", kDbl),    Col("IM_UnitId", kInt),
        Col("IM_Unit", kTxt),        Col("IM_ItemRate", kDbl),      Col("IM_MRP", kDbl),
        Col("IM_ReOrder", kDbl),     Col("IM_CSTPerc", kDbl),       Col("IM_HSNCode", kTxt),
        Col("IM_VATPerc", kDbl),     Col("IM_Remarks", kTxt),       Col("IM_ItemPurchRate", kDbl),
        Col("IM_Extra2", kTxt),      Col("IM_Extra3", kTxt),        Col("IM_BrandId", kDbl),
        Col("IM_ColorId", kDbl),     Col("IM_SizeId", kDbl),        Col("IM_StyleId", kDbl),
        Col("IM_Packing", kTxt),     Col("IM_ImagePath", kTxt),     Col("IM_CutAverage", kTxt)},
       {{"IM_ItemId"}},
       {{"IM_GrpFlag"}}});
  t.push_back({"VOUCHERS",
               {Required("V_Id", kInt),      Col("V_AccId", kInt),
                Col("V_Date", kDate),        Col("V_Amt", kDbl),
                Col("V_AmtSign", kTxt),      Col("V_VoucherType", kTxt),
                Required("V_EntryNo", kInt), Col("V_Remarks", kTxt),
                Col("V_PVoucherNo", kInt),   Col("V_PVoucherType", kTxt),
                Col("V_VchPrefix", kTxt),    Col("V_VchPrefix2", kTxt),
                Col("V_VchSuffix", kTxt),    Col("V_VchSuffix2", kTxt),
                Col("V_VchNo", kInt),        Col("V_StrVchNo", kTxt),
                Col("V_VchType1", kTxt),     Col("V_VchType2", kTxt),
                Col("V_VchType3", kTxt),     Flag("V_VchFlag"),
                Flag("V_Cleared"),           Flag("V_Audit"),
                Col("V_Extra1", kTxt),       Col("V_Extra2", kTxt),
                Col("V_Extra3", kTxt),       Col("V_Extra4", kTxt),
                Col("V_Extra5", kTxt)},
               {{"V_Id", "V_EntryNo"}},
               {{"V_AccId"}}});
  t.push_back({"VOUCHER_DETAILS",
               {Col("VD_Id", kInt), Col("VD_EntryNo", kInt), Col("VD_ItemId", kInt),
                Col("VD_Qty", kDbl), Col("VD_Rate", kDbl)},
               {},
               {}});
  t.push_back({"PURCHASES",
               {Col("P_Id", kInt), Col("P_Date", kDate), Col("P_BillNo", kTxt), Col("P_Amt", kDbl)},
               {},
               {}});
  t.push_back({"CUSTOMER_ITEM_RATE",
               {Col("CIR_AccId", kInt), Col("CIR_ItemId", kInt), Col("CIR_Rate", kDbl)},
               {},
               {}});
  t.push_back({"REFERENCE", {Col("R_Id", kInt), Col("R_Name", kTxt), Flag("R_Active")}, {}, {}});
  t.push_back(
      {"STOCK",
       {Col("S_AcctId", kInt), Col("S_ItemId", kInt), Col("S_Qty", kDbl), Col("S_Date", kDate)},
       {},
       {{"S_AcctId"}}});
  return t;
}

std::string CreateTableSql(const TableDef& t, const std::string& suffix) {
  std::string sql = "CREATE TABLE \"" + std::string(t.base_name) + suffix + "\" (";
  for (size_t i = 0; i < t.columns.size(); ++i) {
    const ColumnDef& c = t.columns[i];
    if (i) sql += ", ";
    sql += "\"" + std::string(c.name) + "\" " + std::string(c.sql_type);
    if (c.sql_type == kTxt) sql += " COLLATE NOCASE";
    if (c.not_null) sql += " NOT NULL";
    if (!c.default_value.empty()) sql += " DEFAULT " + std::string(c.default_value);
  }
  return sql + ")";
}

std::string IndexSql(const TableDef& t, const std::string& suffix,
                     const std::vector<std::string_view>& cols, bool unique, int n) {
  const std::string table = std::string(t.base_name) + suffix;
  std::string sql = std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + "\"" + table +
                    (unique ? "_key" : "_ix") + std::to_string(n) + "\" ON \"" + table + "\" (";
  for (size_t i = 0; i < cols.size(); ++i) sql += (i ? ", \"" : "\"") + std::string(cols[i]) + "\"";
  return sql + ")";
}

void Exec(sqlite3* db, const std::string& sql) {
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
    ThrowEngineError(db, sql);
}

// Reads one text from ORV_DATABASE; empty when missing.
std::string Meta(sqlite3* db, const char* key) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT value FROM ORV_DATABASE WHERE key=?", -1, &raw, nullptr) !=
      SQLITE_OK)
    return {};
  StmtPtr s(raw);
  sqlite3_bind_text(s.get(), 1, key, -1, SQLITE_STATIC);
  if (sqlite3_step(s.get()) != SQLITE_ROW) return {};
  const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
  return v ? v : "";
}

}  // namespace

const std::vector<TableDef>& YearTables() {
  static const std::vector<TableDef> tables = BuildTables();
  return tables;
}

fs::path YearDatabaseFile(const fs::path& folder, std::string_view short_name, int16_t y1,
                          int16_t y2) {
  return folder / std::string(short_name) / (std::string(short_name) + YearSuffix(y1, y2) + ".mdb");
}

std::string ConnectionStringFor(const fs::path& file) {
  return ConnectionStringFor(std::string_view(file.string()));
}

void CreateYearDatabase(const fs::path& file, int16_t y1, int16_t y2) {
  std::error_code ec;
  if (fs::exists(file, ec)) ThrowDb(3204, "Database already exists: " + file.string());
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  if (ec)
    ThrowDb(3044, "'" + file.parent_path().string() + "' is not a valid path: " + ec.message());
  // Create the file exclusively with owner-only permissions before the engine opens it.
  const int fd = ::open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) ThrowDb(3204, "Cannot create " + file.string() + ": " + std::strerror(errno));
  ::close(fd);
  try {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    DbPtr db(raw);
    if (rc != SQLITE_OK) ThrowEngineError(db.get(), file.string());
    Exec(db.get(), "PRAGMA journal_mode=WAL");
    Exec(db.get(), "BEGIN");
    Exec(db.get(), "CREATE TABLE ORV_DATABASE (key TEXT PRIMARY KEY, value TEXT)");
    const std::string suffix = YearSuffix(y1, y2);
    for (const TableDef& t : YearTables()) {
      Exec(db.get(), CreateTableSql(t, suffix));
      int n = 0;
      for (const auto& u : t.unique) Exec(db.get(), IndexSql(t, suffix, u, true, ++n));
      for (const auto& ix : t.indexes) Exec(db.get(), IndexSql(t, suffix, ix, false, ++n));
    }
    Exec(db.get(), "INSERT INTO ORV_DATABASE VALUES ('format','orv-year-database 1'), ('year1'," +
                       Quote(std::to_string(y1)) + "), ('year2'," + Quote(std::to_string(y2)) +
                       "), ('password'," + Quote(PasswordCheck(kDatabasePassword)) + ")");
    Exec(db.get(), "COMMIT");
  } catch (...) {
    fs::remove(file, ec);
    fs::remove(file.string() + "-wal", ec);
    fs::remove(file.string() + "-shm", ec);
    throw;
  }
}

CheckReport CheckYearDatabase(const fs::path& file) {
  CheckReport report;
  auto problem = [&](std::string p) {
    report.ok = false;
    report.problems.push_back(std::move(p));
  };
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    problem("no such file: " + file.string());
    return report;
  }
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  DbPtr db(raw);
  if (rc != SQLITE_OK) {
    problem(std::string("cannot open: ") + sqlite3_errmsg(db.get()));
    return report;
  }
  sqlite3_busy_timeout(db.get(), 30000);
  {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA integrity_check", -1, &s, nullptr) != SQLITE_OK) {
      problem(std::string("integrity check failed: ") + sqlite3_errmsg(db.get()));
      return report;
    }
    StmtPtr stmt(s);
    int step;
    while ((step = sqlite3_step(stmt.get())) == SQLITE_ROW) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
      if (t && std::string_view(t) != "ok") problem(std::string("integrity: ") + t);
    }
    if (step != SQLITE_DONE) {
      problem(std::string("integrity check failed: ") + sqlite3_errmsg(db.get()));
      return report;
    }
  }
  const std::string y1 = Meta(db.get(), "year1"), y2 = Meta(db.get(), "year2");
  if (y1.empty() || y2.empty() || Meta(db.get(), "password").empty()) {
    problem("not a year database (its description table is missing or incomplete)");
    return report;
  }
  const std::string suffix = "_" + y1 + "_" + y2;
  for (const TableDef& t : YearTables()) {
    const std::string table = std::string(t.base_name) + suffix;
    sqlite3_stmt* s = nullptr;
    const std::string info = "SELECT name FROM pragma_table_info(" + Quote(table) + ")";
    if (sqlite3_prepare_v2(db.get(), info.c_str(), -1, &s, nullptr) != SQLITE_OK) {
      problem(std::string("cannot read the columns of ") + table + ": " + sqlite3_errmsg(db.get()));
      continue;
    }
    StmtPtr stmt(s);
    std::vector<std::string> have;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
      have.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    if (have.empty()) {
      problem("missing table " + table);
      continue;
    }
    for (const ColumnDef& c : t.columns) {
      bool found = false;
      for (const std::string& h : have)
        if (strcasecmp(h.c_str(), std::string(c.name).c_str()) == 0) found = true;
      if (!found) problem("missing column " + table + "." + std::string(c.name));
    }
    const std::string count = "SELECT count(*) FROM \"" + table + "\"";
    if (sqlite3_prepare_v2(db.get(), count.c_str(), -1, &s, nullptr) == SQLITE_OK) {
      StmtPtr c(s);
      if (sqlite3_step(c.get()) == SQLITE_ROW)
        report.row_counts.emplace_back(table, sqlite3_column_int64(c.get(), 0));
      else
        problem("cannot count " + table + ": " + sqlite3_errmsg(db.get()));
    } else {
      problem("cannot count " + table + ": " + sqlite3_errmsg(db.get()));
    }
  }
  return report;
}

}  // namespace orv::db
