#include "voucher.h"

#include <string>

#include "orv/db/account_lookup.h"
#include "orv/db/read_snapshot.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/db/unit.h"

namespace orv::vouchers {
namespace {

using db::FieldSpec;
using namespace db::field_table;

// V_Id and V_EntryNo are written but never read from their columns: Read takes them from its
// arguments. V_AccountName is not a column.
constexpr FieldSpec kFields[] = {
    {"V_Id", kInt16, "V_Id", kNotRead, 0x40030000},
    {"V_AccId", kInt16, "V_AccId", kStrict, 0x40030001},
    {"V_Date", kDate, "V_Date", kStrict, 0x40030002},
    {"V_Amt", kDouble, "V_Amt", kStrict, 0x40030003},
    {"V_AmtSign", kText, "V_AmtSign", kStrict, 0x40030004},
    {"V_VoucherType", kText, "V_VoucherType", kStrict, 0x40030005},
    {"V_EntryNo", kInt16, "V_EntryNo", kNotRead, 0x40030006},
    {"V_Remarks", kText, "V_Remarks", kNullTolerant, 0x40030007},
    {"V_PVoucherNo", kInt16, "V_PVoucherNo", kStrict, 0x40030008},
    {"V_PVoucherType", kText, "V_PVoucherType", kStrict, 0x40030009},
    {"V_VchPrefix", kText, "V_VchPrefix", kNullTolerant, 0x4003000A},
    {"V_VchPrefix2", kText, "V_VchPrefix2", kNullTolerant, 0x4003000B},
    {"V_VchSuffix", kText, "V_VchSuffix", kNullTolerant, 0x4003000C},
    {"V_VchNo", kInt16, "V_VchNo", kNumeric, 0x4003000D},
    {"V_StrVchNo", kText, "V_StrVchNo", kNullTolerant, 0x4003000E},
    {"V_VchType1", kText, "V_VchType1", kNullTolerant, 0x4003000F},
    {"V_VchType2", kText, "V_VchType2", kNullTolerant, 0x40030010},
    {"V_VchType3", kText, "V_VchType3", kNullTolerant, 0x40030011},
    {"V_VchFlag", kBool, "V_VchFlag", kStrict, 0x40030012},
    {"V_Extra1", kText, "V_Extra1", kNullTolerant, 0x40030013},
    {"V_Extra2", kText, "V_Extra2", kNullTolerant, 0x40030014},
    {"V_Extra3", kText, "V_Extra3", kNullTolerant, 0x40030015},
    {"V_Extra4", kText, "V_Extra4", kNullTolerant, 0x40030016},
    {"V_Extra5", kText, "V_Extra5", kNullTolerant, 0x40030017},
    {"V_AccountName", kText, "", kNotRead, 0x68030000, /*get_only=*/true},
};
static_assert(std::size(kFields) == vf::kCount);

std::string TableName(int16_t y1, int16_t y2) {
  return "VOUCHERS" + db::YearSuffix(y1, y2);
}

std::string KeyCondition(int16_t id, int16_t entry_no) {
  return " where V_Id=" + std::to_string(id) + " And V_EntryNo=" + std::to_string(entry_no);
}

}  // namespace

std::span<const db::FieldSpec> VoucherFields() {
  return kFields;
}

const Guid Voucher::kRowIid = Guid::FromLiteral("{8C1F0A52-6B3E-4D27-9E48-2F5A7C9B1D06}");

Voucher::Voucher() : row(kFields) {}

void* Voucher::QueryInterface(const Guid& iid) noexcept {
  if (iid == kRowIid) return this;
  return Dispatch::QueryInterface(iid);
}

void Voucher::Write(const Variant& cn, int16_t y1, int16_t y2) {
  const std::string table = TableName(y1, y2);
  db::ConnectionOf(cn).Execute("Delete from " + table +
                               KeyCondition(row.Int16(vf::kId), row.Int16(vf::kEntryNo)));
  db::Recordset rs;
  rs.Open("Select * from " + table, cn);
  rs.AddNew();
  db::WriteFields(rs, row, 0, vf::kCount);
  rs.Update();
}

int16_t Voucher::Save(const Variant& cn, int16_t y1, int16_t y2) {
  db::WriteUnit unit(cn);
  Write(cn, y1, y2);
  unit.Commit();
  return 0;
}

void Voucher::Read(int16_t id, int16_t entry_no, const Variant& cn, int16_t y1, int16_t y2) {
  // The account object comes first: when it cannot be created nothing has changed.
  Ref<Dispatch> account = db::NewAccountObject();
  row.Set(vf::kId, Variant(id));
  row.Set(vf::kEntryNo, Variant(entry_no));
  db::ReadSnapshot snapshot(cn);  // the row and its account's name
  db::Recordset rs;
  rs.Open("Select * from " + TableName(y1, y2) + KeyCondition(id, entry_no), cn);
  if (rs.Eof()) return;
  db::ReadFields(rs, row, 0, vf::kCount);
  rs.Close();
  row.Set(vf::kAccountName, Variant(db::AccountName(*account, row.Int16(vf::kAccId), cn, y1, y2)));
}

Ref<Voucher> VoucherOf(const Variant& v) {
  Ref<Object> obj = v.ToObject();
  if (!obj) return nullptr;
  auto* row = static_cast<Voucher*>(obj->QueryInterface(Voucher::kRowIid));
  if (!row) ThrowTypeMismatch();
  return Ref<Voucher>(row);
}

const ClassTable<Voucher>& Voucher::Table() {
  static const ClassTable<Voucher> table = [] {
    std::vector<MemberDef<Voucher>> defs;
    db::AddFieldMembers(defs, VoucherFields(), &Voucher::row);
    const ParamInfo cn{"cn", VarType::Object, true}, y1{"intY1", VarType::Int16},
        y2{"intY2", VarType::Int16};
    defs.push_back(
        {{"Save", 0x60030001, kMethod, VarType::Int16, {{"SaveFlag", VarType::Text}, cn, y1, y2}},
         nullptr,
         nullptr,
         [](Voucher& v, std::span<Variant> a) {
           a[0].ToText();  // the flag is not looked at; every text replaces the row
           return Variant(v.Save(a[1], a[2].ToInt16(), a[3].ToInt16()));
         }});
    defs.push_back({{"Read",
                     0x60030002,
                     kMethod,
                     VarType::Empty,
                     {{"intVId", VarType::Int16}, {"VEntryNo", VarType::Int16}, cn, y1, y2}},
                    nullptr,
                    nullptr,
                    [](Voucher& v, std::span<Variant> a) {
                      v.Read(a[0].ToInt16(), a[1].ToInt16(), a[2], a[3].ToInt16(), a[4].ToInt16());
                      return Variant();
                    }});
    return ClassTable<Voucher>("clsVoucher", "{A10982FC-61F1-4C4B-863F-FFB2112009BE}",
                               "_clsVoucher", "{EA414491-0941-4AD7-B50E-7A7DA4D322F8}",
                               std::move(defs));
  }();
  return table;
}

}  // namespace orv::vouchers
