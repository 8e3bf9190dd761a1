#include "voucher_plan.h"

#include <array>
#include <sstream>
#include <stdexcept>

#include "orv/registry.h"

namespace orv::reliability {
namespace {

struct LegNames {
  const char* account;
  const char* amount;
  const char* sign;
};

// The legs of each class in entry order (entry number = position + 1).
constexpr std::array<LegNames, 5> kReceiptLegs = {
    {{"BankAccId", "BankAmt", "BankAmtSign"},
     {"SalesReturnAccId", "SalesReturnAmt", "SalesReturnAmtSign"},
     {"RateDiffAccId", "RateDiffAmt", "RateDiffAmtSign"},
     {"DiscAccId", "DiscAmt", "DiscAmtSign"},
     {"CustomerAccId", "CustomerAmt", "CustomerAmtSign"}}};
constexpr std::array<LegNames, 5> kSaleLegs = {{{"CustomerAccId", "CustomerAmt", "CustomerAmtSign"},
                                                {"SalesAccId", "SalesAmt", "SalesAmtSign"},
                                                {"VatAccId", "VatAmt", "VatAmtSign"},
                                                {"AddTaxAccId", "AddTaxAmt", "AddTaxAmtSign"},
                                                {"RndOffAccId", "RndOffAmt", "RndOffAmtSign"}}};

int16_t FirstAccount(VoucherKind kind) {
  return kind == VoucherKind::kReceipt ? 101 : 201;
}

const char* TypeText(VoucherKind kind) {
  return kind == VoucherKind::kReceipt ? "Receipt" : "Sales";
}

// A sale leaves out one of its legs 2 to 5 (amount 0), a different one from id to id.
int16_t ZeroLegOfSale(int16_t id) {
  return int16_t(2 + (id / 2) % 4);
}

}  // namespace

VoucherKind KindOf(int16_t id) {
  return id % 2 == 0 ? VoucherKind::kReceipt : VoucherKind::kSale;
}

std::string RemarksOf(int16_t id) {
  return "voucher " + std::to_string(id);
}

std::vector<int16_t> LegAccounts() {
  std::vector<int16_t> ids;
  for (VoucherKind kind : {VoucherKind::kReceipt, VoucherKind::kSale})
    for (int16_t e = 0; e < 5; ++e) ids.push_back(int16_t(FirstAccount(kind) + e));
  return ids;
}

std::vector<PlannedRow> PlannedRows(int16_t id) {
  const VoucherKind kind = KindOf(id);
  std::vector<PlannedRow> rows;
  for (int16_t entry = 1; entry <= 5; ++entry) {
    // Quarters are exact in binary, so stored amounts compare exactly.
    const double amount = 100.0 + id + 0.25 * entry;
    if (kind == VoucherKind::kSale && entry == ZeroLegOfSale(id)) continue;
    rows.push_back(
        {entry, int16_t(FirstAccount(kind) + entry - 1), amount, entry == 1 ? "Dr" : "Cr"});
  }
  return rows;
}

void Post(int16_t id, const Variant& cn) {
  const VoucherKind kind = KindOf(id);
  Ref<Dispatch> v =
      CreateObject(kind == VoucherKind::kReceipt ? "ORVVouchers.clsRcptVoucher" : "ORVVchr.Sales");
  v->Put("V_Id", Variant(id));
  v->Put("V_Date", Variant(MakeDate({2008, 4 + id % 9, 1 + id % 28})));
  v->Put("V_VoucherType", Variant(TypeText(kind)));
  v->Put("V_Remarks", Variant(RemarksOf(id)));
  const auto& legs = kind == VoucherKind::kReceipt ? kReceiptLegs : kSaleLegs;
  // Legs not planned (a sale's zero leg) still get their account and sign, with amount 0.
  for (size_t k = 0; k < legs.size(); ++k) {
    v->Put(legs[k].account, Variant(int16_t(FirstAccount(kind) + k)));
    v->Put(legs[k].amount, Variant(0.0));
    v->Put(legs[k].sign, Variant(k == 0 ? "Dr" : "Cr"));
  }
  for (const PlannedRow& r : PlannedRows(id))
    v->Put(legs[size_t(r.entry - 1)].amount, Variant(r.amount));
  v->Call("Save", {Variant("New"), cn, Variant(kY1), Variant(kY2)});
}

void AddLegAccounts(const Variant& cn) {
  for (int16_t id : LegAccounts()) {
    Ref<Dispatch> a = CreateObject("ORVMasters.clsAccount");
    a->Put("AccountId", Variant(id));
    a->Put("AccountName", Variant("Account " + std::to_string(id)));
    a->Put("GroupFlag", Variant("L"));
    AsDispatch(a->Get("AD"))->Put("AccountId", Variant(id));
    a->Call("Save", {Variant("New"), Variant(id), cn, Variant(kY1), Variant(kY2)});
  }
}

int64_t Census::Complete() const {
  int64_t n = 0;
  for (const auto& [id, state] : vouchers)
    if (state == VoucherState::kComplete) ++n;
  return n;
}

Census TakeCensus(sqlite3* db) {
  struct Row {
    int16_t entry, account;
    double amount;
    std::string sign, remarks, type;
  };
  std::map<int16_t, std::vector<Row>> found;
  Census census;
  sqlite3_stmt* stmt = nullptr;
  const std::string sql =
      std::string("SELECT V_Id, V_EntryNo, V_AccId, V_Amt, V_AmtSign, V_Remarks, ") +
      "V_VoucherType FROM " + kVoucherTable + " ORDER BY V_Id, V_EntryNo";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string("census: ") + sqlite3_errmsg(db));
  auto text = [&](int col) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
    return t ? std::string(t, size_t(sqlite3_column_bytes(stmt, col))) : std::string("<null>");
  };
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    found[int16_t(sqlite3_column_int(stmt, 0))].push_back(
        {int16_t(sqlite3_column_int(stmt, 1)), int16_t(sqlite3_column_int(stmt, 2)),
         sqlite3_column_double(stmt, 3), text(4), text(5), text(6)});
    ++census.rows;
  }
  const std::string error = sqlite3_errmsg(db);
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) throw std::runtime_error("census: " + error);

  for (const auto& [id, rows] : found) {
    const std::vector<PlannedRow> planned = PlannedRows(id);
    bool same = rows.size() == planned.size();
    for (size_t i = 0; same && i < rows.size(); ++i)
      same = rows[i].entry == planned[i].entry && rows[i].account == planned[i].account &&
             rows[i].amount == planned[i].amount && rows[i].sign == planned[i].sign &&
             rows[i].remarks == RemarksOf(id) && rows[i].type == TypeText(KindOf(id));
    census.vouchers[id] = same ? VoucherState::kComplete : VoucherState::kBroken;
    if (!same) {
      std::ostringstream os;
      os << "voucher " << id << " has " << rows.size() << " of its " << planned.size()
         << " rows (entries";
      for (const Row& r : rows) os << " " << r.entry;
      os << ") or a row that is not its own";
      census.problems.push_back(os.str());
    }
  }
  return census;
}

RawDatabase::RawDatabase(const std::filesystem::path& file, bool read_only) {
  const int flags = read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close_v2(db_);
    throw std::runtime_error("cannot open " + file.string() + ": " + message);
  }
  sqlite3_busy_timeout(db_, 30000);
}

RawDatabase::~RawDatabase() {
  sqlite3_close_v2(db_);
}

int64_t RawDatabase::Int(const std::string& sql) const {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
  const int rc = sqlite3_step(stmt);
  const int64_t value = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
  const std::string error = sqlite3_errmsg(db_);
  sqlite3_finalize(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + error);
  return value;
}

}  // namespace orv::reliability
