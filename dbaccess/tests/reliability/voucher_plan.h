// The vouchers the reliability tests post, each wholly determined by its id, and the census
// that compares what a year database holds with them.
//
// An even id is a receipt (ORVVouchers.clsRcptVoucher: five legs, every one written); an odd id
// is a sale (ORVVchr.Sales) with one leg of amount 0, which a sale does not write, so it has
// four rows. Every row carries amounts, signs and remarks derived from the id, so a row of the
// wrong voucher, a missing leg or an extra one is told apart from a complete voucher.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "orv/variant.h"

namespace orv::reliability {

inline constexpr int16_t kY1 = 2008;
inline constexpr int16_t kY2 = 2009;
inline constexpr const char* kVoucherTable = "VOUCHERS_2008_2009";

enum class VoucherKind { kReceipt, kSale };
VoucherKind KindOf(int16_t id);

struct PlannedRow {
  int16_t entry;
  int16_t account;
  double amount;
  std::string sign;
};
// The rows voucher `id` writes, in entry order.
std::vector<PlannedRow> PlannedRows(int16_t id);
// The remarks every row of voucher `id` carries.
std::string RemarksOf(int16_t id);
// The accounts the legs post to (the account master rows a reader looks names up in).
std::vector<int16_t> LegAccounts();

// Posts voucher `id` through its class, created by ProgID and driven by late binding only.
void Post(int16_t id, const Variant& cn);
// Saves the leg accounts through the account master (ORVMasters.clsAccount), late bound.
void AddLegAccounts(const Variant& cn);

// What a file holds of each voucher, read in one read transaction.
enum class VoucherState { kComplete, kBroken };
struct Census {
  std::map<int16_t, VoucherState> vouchers;  // every id with at least one row
  std::vector<std::string> problems;         // one line per broken voucher
  int64_t rows = 0;
  int64_t Complete() const;
  bool Has(int16_t id) const { return vouchers.count(id) != 0; }
};
Census TakeCensus(sqlite3* db);

// A connection of the engine's own, outside the components, for looking at a file.
class RawDatabase {
 public:
  explicit RawDatabase(const std::filesystem::path& file, bool read_only = true);
  ~RawDatabase();
  RawDatabase(const RawDatabase&) = delete;
  RawDatabase& operator=(const RawDatabase&) = delete;

  sqlite3* get() const { return db_; }
  // The first column of the first row of `sql` as a number (0 when it returns no row).
  int64_t Int(const std::string& sql) const;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace orv::reliability
