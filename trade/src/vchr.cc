#include <stdexcept>
#include <string>

#include "classes.h"
#include "orv/db/account_lookup.h"
#include "orv/db/connection.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/db/unit.h"

namespace orv::trade {
namespace {

using db::FieldSpec;
using db::ReadMode;
using namespace db::field_table;
// The key is set from Read's arguments, the account name by the account master.
constexpr ReadMode kFromCall = kNotRead;

// The properties of _clsVchr in interface order. Save writes every column in this order; Read
// fills the properties in this order by their read modes.
constexpr FieldSpec kFields[] = {
    {"V_Id", kInt16, "V_Id", kFromCall, 0x40030000},
    {"V_AccId", kInt16, "V_AccId", kStrict, 0x40030001},
    {"V_Date", kDate, "V_Date", kStrict, 0x40030002},
    {"V_Amt", kDouble, "V_Amt", kStrict, 0x40030003},
    {"V_AmtSign", kText, "V_AmtSign", kStrict, 0x40030004},
    {"V_VoucherType", kText, "V_VoucherType", kStrict, 0x40030005},
    {"V_EntryNo", kInt16, "V_EntryNo", kFromCall, 0x40030006},
    {"V_Remarks", kText, "V_Remarks", kNullTolerant, 0x40030007},
    {"V_PVoucherNo", kInt16, "V_PVoucherNo", kStrict, 0x40030008},
    {"V_PVoucherType", kText, "V_PVoucherType", kStrict, 0x40030009},
    {"V_VchPrefix", kText, "V_VchPrefix", kNullTolerant, 0x4003000A},
    {"V_VchPrefix2", kText, "V_VchPrefix2", kNullTolerant, 0x4003000B},
    {"V_VchSuffix", kText, "V_VchSuffix", kNullTolerant, 0x4003000C},
    {"V_VchSuffix2", kText, "V_VchSuffix2", kNullTolerant, 0x4003000D},
    {"V_VchNo", kInt16, "V_VchNo", kNumeric, 0x4003000E},
    {"V_StrVchNo", kText, "V_StrVchNo", kNullTolerant, 0x4003000F},
    {"V_VchType1", kText, "V_VchType1", kNullTolerant, 0x40030010},
    {"V_VchType2", kText, "V_VchType2", kNullTolerant, 0x40030011},
    {"V_VchType3", kText, "V_VchType3", kNullTolerant, 0x40030012},
    {"V_VchFlag", kBool, "V_VchFlag", kStrict, 0x40030013},
    {"V_Cleared", kBool, "V_Cleared", kStrict, 0x40030014},
    {"V_Audit", kBool, "V_Audit", kStrict, 0x40030015},
    {"V_Extra1", kText, "V_Extra1", kNullTolerant, 0x40030016},
    {"V_Extra2", kText, "V_Extra2", kNullTolerant, 0x40030017},
    {"V_Extra3", kText, "V_Extra3", kNullTolerant, 0x40030018},
    {"V_Extra4", kText, "V_Extra4", kNullTolerant, 0x40030019},
    {"V_Extra5", kText, "V_Extra5", kNullTolerant, 0x4003001A},
    {"V_AccountName", kText, "", kFromCall, 0x68030000, /*get_only=*/true},
};

constexpr size_t IndexOf(std::string_view property) {
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (kFields[i].property == property) return i;
  // A name the table lacks: a compile error in a constant expression, else a logic error.
  throw std::logic_error("clsVchr has no property " + std::string(property));
}

constexpr size_t kId = IndexOf("V_Id");
constexpr size_t kAccId = IndexOf("V_AccId");
constexpr size_t kAmt = IndexOf("V_Amt");
constexpr size_t kEntryNo = IndexOf("V_EntryNo");
constexpr size_t kAccountName = IndexOf("V_AccountName");

std::string TableName(int16_t y1, int16_t y2) {
  return "VOUCHERS" + db::YearSuffix(y1, y2);
}

std::string KeyCondition(int16_t id, int16_t entry_no) {
  return " where V_Id=" + std::to_string(id) + " And V_EntryNo=" + std::to_string(entry_no);
}

}  // namespace

std::span<const FieldSpec> Vchr::Fields() {
  return kFields;
}

size_t Vchr::FieldIndex(std::string_view property) {
  return IndexOf(property);
}

Vchr::Vchr() : values_(kFields) {}

int16_t Vchr::Save(const Variant& cn, int16_t y1, int16_t y2) {
  db::IConnection& c = db::ConnectionOf(cn);
  // The old row goes only if the new one can be written.
  db::WriteUnit unit(c);
  Replace(c, y1, y2);
  unit.Commit();
  return 0;
}

void Vchr::Replace(db::IConnection& c, int16_t y1, int16_t y2) const {
  const std::string table = TableName(y1, y2);
  c.Execute("Delete from " + table + KeyCondition(values_.Int16(kId), values_.Int16(kEntryNo)));
  if (values_.Double(kAmt) > 0) {
    db::Recordset rs;
    rs.Open("Select * from " + table, c);
    rs.AddNew();
    db::WriteFields(rs, values_, 0, std::size(kFields));
    rs.Update();
  }
}

void Vchr::Read(int16_t id, int16_t entry_no, const Variant& cn, int16_t y1, int16_t y2) {
  // Created before anything changes: if the account master cannot be loaded, nothing has.
  const Ref<Dispatch> account = db::NewAccountObject();
  Load(*account, id, entry_no, cn, y1, y2);
}

void Vchr::Load(Dispatch& account, int16_t id, int16_t entry_no, const Variant& cn, int16_t y1,
                int16_t y2) {
  values_.Set(kId, Variant(id));
  values_.Set(kEntryNo, Variant(entry_no));
  db::Recordset rs;
  rs.Open("Select * from " + TableName(y1, y2) + KeyCondition(id, entry_no), cn);
  if (rs.Eof()) return;
  db::ReadFields(rs, values_, 0, std::size(kFields));
  rs.Close();
  values_.Set(kAccountName, Variant(db::AccountName(account, values_.Int16(kAccId), cn, y1, y2)));
}

const ClassTable<Vchr>& Vchr::Table() {
  static const ClassTable<Vchr> table = [] {
    std::vector<MemberDef<Vchr>> defs;
    db::AddFieldMembers(defs, Fields(), &Vchr::values_);
    const ParamInfo cn{"cn", VarType::Object, true}, y1{"intY1", kInt16}, y2{"intY2", kInt16};
    defs.push_back({{"Save", 0x60030001, kMethod, kInt16, {{"SaveFlag", kText}, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    // The flag is not looked at: every save replaces the row.
                    [](Vchr& v, std::span<Variant> a) {
                      return Variant(v.Save(a[1], a[2].ToInt16(), a[3].ToInt16()));
                    }});
    defs.push_back({{"Read",
                     0x60030002,
                     kMethod,
                     VarType::Empty,
                     {{"intVId", kInt16}, {"VEntryNo", kInt16}, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Vchr& v, std::span<Variant> a) {
                      v.Read(a[0].ToInt16(), a[1].ToInt16(), a[2], a[3].ToInt16(), a[4].ToInt16());
                      return Variant();
                    }});
    return ClassTable<Vchr>("clsVchr", "{DF2700EC-1DE4-453F-8C29-097E8EFC7D95}", "_clsVchr",
                            "{CF6709E1-4B78-439C-B5FE-BF0A93045A41}", std::move(defs));
  }();
  return table;
}

}  // namespace orv::trade
