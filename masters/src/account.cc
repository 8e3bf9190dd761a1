// clsAccount: one row of ACC_MASTER with its details object; Save, Read and Delete, and the
// member table of the whole interface (the queries live in account_queries.cc).
#include "classes.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/db/unit.h"

namespace orv::masters {
namespace {

using db::FieldSpec;
using db::ReadMode;
using namespace db::field_table;

// Property, type, column, read mode, dispatch id (0x6803000B down; AD, 0x68030000, follows).
// Save writes every column; LevelNo and AccountType are written as derived from the group.
constexpr FieldSpec kFields[] = {
    {"AccountId", kInt16, "AM_AccId", kNotRead, 0x6803000B},  // Read's argument
    {"AccountName", kText, "AM_AccName", kStrict, 0x6803000A},
    {"AccountAlias", kText, "AM_Alias", kNullTolerant, 0x68030009},
    {"AccountType", kText, "AM_AccType", kStrict, 0x68030008},
    {"OpeningBalance", kDouble, "AM_OpeningBal", kNumeric, 0x68030007},
    {"OpeningBalanceSign", kText, "AM_OpeningBalSign", kNullTolerant, 0x68030006},
    {"GroupFlag", kText, "AM_GrpFlag", kNullTolerant, 0x68030005},
    {"GroupNo", kInt16, "AM_GrpNo", kStrict, 0x68030004},
    {"LevelNo", kInt16, "AM_LevelNo", kStrict, 0x68030003},
    {"ClosingBalance", kDouble, "AM_ClosingBal", kNumeric, 0x68030002},
    {"ClosingBalanceSign", kText, "AM_ClosingBalSign", kNullTolerant, 0x68030001},
};
constexpr DispId kDispIdAD = 0x68030000;

constexpr size_t kAccountType = 3;
constexpr size_t kGroupNo = 7;
constexpr size_t kLevelNo = 8;
constexpr size_t kFieldCount = std::size(kFields);
static_assert(kFields[Account::kAccountId].property == "AccountId" &&
              kFields[Account::kAccountName].property == "AccountName");
static_assert(kFields[kAccountType].property == "AccountType" &&
              kFields[kGroupNo].property == "GroupNo" && kFields[kLevelNo].property == "LevelNo");

// The months of a fiscal year: April to December of its first year, January to March of the
// second.
constexpr const char* kFirstYearMonths[] = {"04", "05", "06", "07", "08", "09", "10", "11", "12"};
constexpr const char* kSecondYearMonths[] = {"01", "02", "03"};

std::string MasterTable(int16_t y1, int16_t y2) {
  return "ACC_MASTER" + db::YearSuffix(y1, y2);
}

std::string WhereAccId(int16_t id) {
  return " where AM_AccId=" + std::to_string(id);
}

// The group's level (strict), or 0 when the group is not in the table.
int16_t GetLevelNo(int16_t group_no, const Variant& cn, int16_t y1, int16_t y2) {
  db::Recordset rs;
  rs.Open("Select AM_LevelNo from " + MasterTable(y1, y2) + WhereAccId(group_no), cn);
  if (rs.Eof()) return 0;
  return db::ReadAs(rs.Field("AM_LevelNo"), ReadMode::kStrict, VarType::Int16).int16();
}

// The group's account type (strict), or "" when the group is not in the table.
std::string GetAccountType(int16_t group_no, const Variant& cn, int16_t y1, int16_t y2) {
  db::Recordset rs;
  rs.Open("Select AM_AccType from " + MasterTable(y1, y2) + WhereAccId(group_no), cn);
  if (rs.Eof()) return {};
  return db::ReadAs(rs.Field("AM_AccType"), ReadMode::kStrict, VarType::Text).text();
}

// A group flag compared as the original compares it: exactly, and a Null equals nothing.
bool FlagIs(const Variant& flag, std::string_view expected) {
  return flag.type() == VarType::Text && flag.text() == expected;
}

// The object put into AD: a clsAccountDetails, or nothing.
Ref<AccountDetails> DetailsOf(const Variant& v) {
  Ref<Object> obj = v.ToObject();
  if (!obj) return nullptr;
  void* p = obj->QueryInterface(AccountDetails::Type_().iid);
  if (!p) ThrowTypeMismatch();
  // Dispatch::QueryInterface answers the class's own interface with the Dispatch base.
  return Ref<AccountDetails>(static_cast<AccountDetails*>(static_cast<Dispatch*>(p)));
}

}  // namespace

Account::Account() : values(kFields), details(MakeRef<AccountDetails>()) {}

std::span<const db::FieldSpec> Account::Fields() {
  return kFields;
}

AccountDetails& Account::Details() const {
  if (!details) ThrowObjectNotSet();
  return *details;
}

void Account::Save(const std::string& save_flag, int16_t account_id, const Variant& cn, int16_t y1,
                   int16_t y2) {
  // The account row, its details row and its monthly rows are written together or not at all.
  db::WriteUnit unit(cn);
  {
    std::string sql;  // stays empty for a flag other than "New" and "Edit": the open fails
    if (save_flag == "New")
      sql = "Select * from " + MasterTable(y1, y2);
    else if (save_flag == "Edit")
      sql = "Select * from " + MasterTable(y1, y2) + WhereAccId(account_id);
    db::Recordset rs;
    rs.Open(sql, cn);
    if (save_flag == "New") rs.AddNew();
    // The key column first: an "Edit" of a missing id stops here, before the group lookups.
    db::WriteFields(rs, values, kAccountId, kAccountId + 1);
    db::Record row = values;
    const int16_t group_no = values.Int16(kGroupNo);
    row.Set(kLevelNo, Variant(AddInt16(GetLevelNo(group_no, cn, y1, y2), 1)));
    row.Set(kAccountType, Variant(GetAccountType(group_no, cn, y1, y2)));
    db::WriteFields(rs, row, kAccountId + 1, kFieldCount);
    rs.Update();
  }
  Details().Save(save_flag, account_id, cn, y1, y2);
  if (save_flag == "New") {
    db::IConnection& c = db::ConnectionOf(cn);
    const std::string insert = "Insert into ACC_BALANCE" + db::YearSuffix(y1, y2) + " values (" +
                               std::to_string(values.Int16(kAccountId)) + ",'";
    for (const char* month : kFirstYearMonths)
      c.Execute(insert + std::to_string(y1) + month + "',0,0)");
    for (const char* month : kSecondYearMonths)
      c.Execute(insert + std::to_string(y2) + month + "',0,0)");
  }
  unit.Commit();
}

void Account::Read(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2) {
  values.Set(kAccountId, Variant(account_id));
  {
    db::Recordset rs;
    rs.Open("Select * from " + MasterTable(y1, y2) + WhereAccId(account_id), cn);
    if (rs.Eof()) return;
    db::ReadFields(rs, values, kAccountId + 1, kFieldCount);
  }
  Details().Read(account_id, cn, y1, y2);
}

bool Account::Delete(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2) {
  // The checks and the three deletes run as one unit: no posting can slip in between, and a
  // failing delete takes the earlier ones back.
  db::WriteUnit unit(cn);
  const std::string suffix = db::YearSuffix(y1, y2);
  const std::string key = std::to_string(account_id);
  bool result = true;
  {
    db::Recordset rs;
    rs.Open("Select * from " + MasterTable(y1, y2) + WhereAccId(account_id), cn);
    const Variant flag = rs.Field("AM_GrpFlag");  // no current record for a missing account
    db::Recordset counts;
    const auto any = [&](const std::string& sql) {
      if (counts.State() == db::kStateOpen) counts.Close();
      counts.Open(sql, cn);
      return counts.Field(0).ToDouble() > 0;
    };
    if (FlagIs(flag, "G")) {
      if (any("Select count(*) from ACC_MASTER" + suffix + " where AM_GrpNo=" + key))
        result = false;
    } else if (FlagIs(flag, "L")) {
      if (any("Select count(*) from VOUCHERS" + suffix + " where V_AccId=" + key)) result = false;
      if (any("Select count(*) from STOCK" + suffix + " where S_AcctId=" + key)) result = false;
    }
  }
  if (result) {
    db::IConnection& c = db::ConnectionOf(cn);
    c.Execute("Delete from ACC_MASTER" + suffix + " where AM_AccId=" + key);
    c.Execute("Delete from Acc_Details" + suffix + " where AD_AccId=" + key);
    c.Execute("Delete from ACC_BALANCE" + suffix + " where AB_AccId=" + key);
  }
  unit.Commit();
  return result;
}

const ClassTable<Account>& Account::Table() {
  static const ClassTable<Account> table = [] {
    std::vector<MemberDef<Account>> defs;
    db::AddFieldMembers(defs, Fields(), &Account::values);
    // AD is a plain put that keeps the caller's object: both then share it.
    defs.push_back({{"AD", kDispIdAD, kPropertyGet | kPropertyPut, VarType::Object},
                    [](Account& a) { return Variant(a.details); },
                    [](Account& a, const Variant& v) { a.details = DetailsOf(v); }});

    const ParamInfo cn{"cn", VarType::Object, true};
    const ParamInfo acc_id{"intAccId", VarType::Int16};
    const ParamInfo y1{"intY1", VarType::Int16}, y2{"intY2", VarType::Int16};
    const ParamInfo year1{"intYear1", VarType::Int16}, year2{"intYear2", VarType::Int16};
    const ParamInfo a1{"a1", VarType::Array, true};
    using Args = std::span<Variant>;

    defs.push_back({{"Get_Accounts_With_Id",
                     0x6003000C,
                     kMethod,
                     VarType::Int16,
                     {{"intGrpNo", VarType::Int16},
                      {"strGrpFlag", VarType::Text},
                      {"strAccType", VarType::Text},
                      {"strLevelFlag", VarType::Text},
                      {"intLevelNo", VarType::Int16},
                      {"strSortBy", VarType::Text},
                      cn,
                      year1,
                      year2,
                      a1}},
                    nullptr,
                    nullptr,
                    [](Account&, Args a) {
                      return Variant(GetAccountsWithId(a[0].ToInt16(), a[1].ToText(), a[2].ToText(),
                                                       a[3].ToText(), a[4].ToInt16(), a[5].ToText(),
                                                       a[6], a[7].ToInt16(), a[8].ToInt16(), a[9]));
                    }});
    defs.push_back({{"Save",
                     0x6003000D,
                     kMethod,
                     VarType::Empty,
                     {{"SaveFlag", VarType::Text}, acc_id, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Account& self, Args a) {
                      self.Save(a[0].ToText(), a[1].ToInt16(), a[2], a[3].ToInt16(),
                                a[4].ToInt16());
                      return Variant();
                    }});
    defs.push_back({{"Read", 0x6003000E, kMethod, VarType::Empty, {acc_id, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Account& self, Args a) {
                      self.Read(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16());
                      return Variant();
                    }});
    defs.push_back(
        {{"Get_OpeningBalSign", 0x60030011, kMethod, VarType::Text, {acc_id, cn, y1, y2}},
         nullptr,
         nullptr,
         [](Account&, Args a) {
           return Variant(GetOpeningBalSign(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16()));
         }});
    defs.push_back({{"Get_AccountName", 0x60030012, kMethod, VarType::Text, {acc_id, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Account&, Args a) {
                      return Variant(
                          GetAccountName(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16()));
                    }});
    defs.push_back({{"Get_AccountSum",
                     0x60030013,
                     kMethod,
                     VarType::Double,
                     {{"strSignFlag", VarType::Text}, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Account&, Args a) {
                      return Variant(
                          GetAccountSum(a[0].ToText(), a[1], a[2].ToInt16(), a[3].ToInt16()));
                    }});
    defs.push_back({{"Get_Accounts_With_Details",
                     0x60030015,
                     kMethod,
                     VarType::Int16,
                     {{"strSQL", VarType::Text}, cn, year1, year2, a1}},
                    nullptr,
                    nullptr,
                    [](Account&, Args a) {
                      return Variant(GetAccountsWithDetails(a[0].ToText(), a[1], a[2].ToInt16(),
                                                            a[3].ToInt16(), a[4]));
                    }});
    defs.push_back({{"Delete", 0x60030016, kMethod, VarType::Bool, {acc_id, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Account& self, Args a) {
                      return Variant(
                          self.Delete(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16()));
                    }});
    return ClassTable<Account>("clsAccount", "{0C3559DC-5C85-438E-A03B-893719458854}",
                               "_clsAccount", "{449C31D1-898C-4461-B0C4-E3ACC1E0A2D3}",
                               std::move(defs));
  }();
  return table;
}

}  // namespace orv::masters
