// The year database: one file per company and fiscal year holding the year's tables, each
// named by its base name and the year suffix.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::db {

// The database password every year database is created with and checked against.
inline constexpr std::string_view kDatabasePassword = "K58!q47T%61d25&w84R";

struct ColumnDef {
  std::string_view name;
  std::string_view sql_type;  // SMALLINT, DOUBLE, TEXT, BOOLEAN or DATETIME
  bool not_null = false;
  std::string_view default_value;  // SQL literal, or empty for none
};

struct TableDef {
  std::string_view base_name;
  std::vector<ColumnDef> columns;                      // in table order
  std::vector<std::vector<std::string_view>> unique;   // natural keys
  std::vector<std::vector<std::string_view>> indexes;  // further lookups
};

// The ten tables of a year, in the order the company names them.
const std::vector<TableDef>& YearTables();

// <folder>/<short>/<short>_<y1>_<y2>.mdb
std::filesystem::path YearDatabaseFile(const std::filesystem::path& folder,
                                       std::string_view short_name, int16_t y1, int16_t y2);

// The connection string the company component builds for `file`.
std::string ConnectionStringFor(const std::filesystem::path& file);

// Creates the year database with every table, key and index, owner-only permissions and the
// database password. Refuses to overwrite an existing file; on failure nothing is left behind.
void CreateYearDatabase(const std::filesystem::path& file, int16_t y1, int16_t y2);

struct CheckReport {
  bool ok = true;
  std::vector<std::string> problems;
  std::vector<std::pair<std::string, int64_t>> row_counts;  // per table found
};

// Checks a year database: the engine's integrity check, and every table and column that the
// components use. Takes the years from the file.
CheckReport CheckYearDatabase(const std::filesystem::path& file);

}  // namespace orv::db
