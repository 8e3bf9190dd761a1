// The queries of clsAccount over a year's ACC_MASTER: two lists that fill the caller's array
// with new account objects, two single-column lookups and the opening-balance sum.
#include <functional>

#include "classes.h"
#include "orv/db/read_mode.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"

namespace orv::masters {
namespace {

std::string MasterTable(int16_t y1, int16_t y2) {
  return "ACC_MASTER" + db::YearSuffix(y1, y2);
}

Variant Strict(const Variant& v, VarType type) {
  return db::ReadAs(v, db::ReadMode::kStrict, type);
}

// Replaces `a1` with count + 1 empty elements, then stores one new account per row, filled by
// `fill`, at 0, 1, ... The element of a row is stored before it is filled, so a failing row
// leaves its object in the array. The index is 16-bit: row 32769 overflows.
int16_t FillList(db::Recordset& rs, Variant& a1,
                 const std::function<void(Account&, db::Recordset&)>& fill) {
  const int32_t count = rs.RecordCount();
  SafeArray list;
  list.items.resize(size_t(count) + 1);
  a1 = Variant(std::move(list));
  int16_t index = 0;
  while (!rs.Eof()) {
    Ref<Account> account = MakeRef<Account>();
    a1.array().items[size_t(index)] = Variant(account);
    fill(*account, rs);
    rs.MoveNext();
    index = AddInt16(index, 1);
  }
  return index;
}

// The single column of the one account's row (strict), or "" when there is no such account.
std::string LookupText(std::string_view column, int16_t account_id, const Variant& cn, int16_t y1,
                       int16_t y2) {
  db::Recordset rs;
  rs.Open("Select " + std::string(column) + " from " + MasterTable(y1, y2) +
              " where AM_AccId=" + std::to_string(account_id),
          cn);
  if (rs.Eof()) return {};
  return Strict(rs.Field(column), VarType::Text).text();
}

}  // namespace

int16_t Account::GetAccountsWithId(int16_t group_no, const std::string& group_flag,
                                   const std::string& account_type, const std::string& level_flag,
                                   int16_t level_no, const std::string& sort_by, const Variant& cn,
                                   int16_t y1, int16_t y2, Variant& a1) {
  // The caller's fragments go into the text verbatim: refuse anything but a comparison and a
  // sort list before anything runs.
  if (!level_flag.empty()) db::CheckComparison(level_flag);
  if (!sort_by.empty()) db::CheckSortList(sort_by);
  std::string sql = "Select AM_AccId,AM_AccName from " + MasterTable(y1, y2) +
                    " where AM_GrpFlag=" + db::Quote(group_flag);
  if (group_no > 0) sql += " And AM_GrpNo=" + std::to_string(group_no);
  if (!account_type.empty()) sql += " And AM_AccType=" + db::Quote(account_type);
  if (!level_flag.empty()) sql += " And AM_LevelNo" + level_flag + std::to_string(level_no);
  if (!sort_by.empty()) sql += " Order By " + sort_by;
  db::Recordset rs;
  rs.Open(sql, cn);
  return FillList(rs, a1, [](Account& account, db::Recordset& row) {
    account.values.Set(Account::kAccountId, Strict(row.Field("AM_AccId"), VarType::Int16));
    account.values.Set(Account::kAccountName, Strict(row.Field("AM_AccName"), VarType::Text));
  });
}

int16_t Account::GetAccountsWithDetails(const std::string& sql, const Variant& cn, int16_t y1,
                                        int16_t y2, Variant& a1) {
  db::Recordset rs;
  if (!sql.empty()) {
    // The caller's whole statement: one statement that only reads, or nothing runs.
    db::CheckReadOnlyQuery(db::ConnectionOf(cn), sql);
    rs.Open(sql, cn);
  }
  // Without a query the recordset is closed and the count fails, leaving `a1` as it was.
  return FillList(rs, a1, [&cn, y1, y2](Account& account, db::Recordset& row) {
    account.Read(Strict(row.Field("AM_AccId"), VarType::Int16).int16(), cn, y1, y2);
  });
}

std::string Account::GetAccountName(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2) {
  return LookupText("AM_AccName", account_id, cn, y1, y2);
}

std::string Account::GetOpeningBalSign(int16_t account_id, const Variant& cn, int16_t y1,
                                       int16_t y2) {
  return LookupText("AM_OpeningBalSign", account_id, cn, y1, y2);
}

double Account::GetAccountSum(const std::string& sign_flag, const Variant& cn, int16_t y1,
                              int16_t y2) {
  db::Recordset rs;
  rs.Open("Select SUM(AM_OpeningBal) from " + MasterTable(y1, y2) + " where AM_OpeningBalSign=" +
              db::Quote(sign_flag) + " and AM_GrpFlag='L' and AM_AccId>0",
          cn);
  if (rs.Eof()) return 0;
  return rs.Field(0).ParseNumber();  // a sum over no rows is Null: 0
}

}  // namespace orv::masters
