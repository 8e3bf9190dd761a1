#include "items.h"

#include <array>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/db/unit.h"

namespace orv::items {
namespace {

// How Save fills a property's column.
enum class Write : uint8_t {
  kNone,        // not written
  kValue,       // the property's value, of the property's type
  kAsDouble,    // the 16-bit number written as a double (the brand, colour, size and style ids)
  kItemFlag,    // always the item mark "I", whatever the property holds
  kGroupLevel,  // computed: the level of the row IM_GrpNo names, plus 1
};

// One property of clsItems. `prop` gives its name, type, the column Read takes it from, the read
// mode and the dispatch id; the rest says where Read and Save handle it.
struct ItemField {
  db::FieldSpec prop;
  int read_step;               // place among Read's assignments, from 1; 0: not set from the row
  std::string_view lookup_of;  // a name property: the number property whose row gives the name
  int save_step;               // place among Save's columns, from 1; 0: not written
  std::string_view save_column;
  Write write;
};

using namespace db::field_table;

// The properties in interface order. Two column names are spelled as the statements have always
// spelled them ("iM_OpeningBal", "IM_VATPerc"); names of columns match without regard to case.
//
// IM_GrpLevel: Read sets it from the row's column (numeric parse, so a Null level reads as 0),
// after every other column, so that the property tells the row's depth after a Read. Save never
// uses the property (it computes the level from the group row), so the rows written are the same
// either way.
// clang-format off
constexpr ItemField kFields[] = {
  // {{property, type, column read, read mode, dispatch id}, read step, name of, save step, column saved, write}
  {{"IM_Alias",         kText,   "IM_Alias",         kNullTolerant, 0x6803001F},  2, {},          3, "IM_Alias",         Write::kValue},
  {{"IM_GrpFlag",       kText,   "IM_GrpFlag",       kNullTolerant, 0x6803001E},  5, {},          4, "IM_GrpFlag",       Write::kItemFlag},
  {{"IM_GrpNo",         kInt16,  "IM_GrpNo",         kStrict,       0x6803001D},  6, {},          5, "IM_GrpNo",         Write::kValue},
  {{"IM_GrpLevel",      kInt16,  "IM_GrpLevel",      kNumeric,      0x6803001C}, 26, {},          6, "IM_GrpLevel",      Write::kGroupLevel},
  {{"IM_OpeningBal",    kDouble, "IM_OpeningBal",    kNumeric,      0x6803001B},  3, {},          7, "iM_OpeningBal",    Write::kValue},
  {{"IM_ClosingBal",    kDouble, "IM_ClosingBal",    kNumeric,      0x6803001A},  4, {},          8, "IM_ClosingBal",    Write::kValue},
  {{"IM_UnitId",        kInt16,  "IM_UnitId",        kStrict,       0x68030019},  7, {},          9, "IM_UnitId",        Write::kValue},
  {{"IM_Unit",          kText,   "IM_Unit",          kStrict,       0x68030018},  8, {},         10, "IM_Unit",          Write::kValue},
  {{"IM_ItemRate",      kDouble, "IM_ItemRate",      kNumeric,      0x68030017},  9, {},         11, "IM_ItemRate",      Write::kValue},
  {{"IM_MRP",           kDouble, "IM_MRP",           kNumeric,      0x68030016}, 10, {},         12, "IM_MRP",           Write::kValue},
  {{"IM_ReOrder",       kDouble, "IM_ReOrder",       kNumeric,      0x68030015}, 11, {},         13, "IM_ReOrder",       Write::kValue},
  {{"IM_VatPerc",       kDouble, "IM_VATPerc",       kNumeric,      0x68030014}, 14, {},         16, "IM_VATPerc",       Write::kValue},
  {{"IM_HSNCode",       kText,   "IM_HSNCode",       kNullTolerant, 0x68030013}, 13, {},         15, "IM_HSNCode",       Write::kValue},
  {{"IM_CSTPerc",       kDouble, "IM_CSTPerc",       kNumeric,      0x68030012}, 12, {},         14, "IM_CSTPerc",       Write::kValue},
  {{"IM_Remarks",       kText,   "IM_Remarks",       kNullTolerant, 0x68030011}, 15, {},         17, "IM_Remarks",       Write::kValue},
  {{"IM_ItemPurchRate", kDouble, "IM_ItemPurchRate", kNumeric,      0x68030010}, 16, {},         18, "IM_ItemPurchRate", Write::kValue},
  {{"IM_Extra2",        kText,   "IM_Extra2",        kNullTolerant, 0x6803000F}, 17, {},         19, "IM_Extra2",        Write::kValue},
  {{"IM_Extra3",        kText,   "IM_Extra3",        kNullTolerant, 0x6803000E}, 18, {},         20, "IM_Extra3",        Write::kValue},
  {{"IM_Packing",       kText,   "IM_Packing",       kNullTolerant, 0x6803000D}, 23, {},         25, "IM_Packing",       Write::kValue},
  {{"IM_ImagePath",     kText,   "IM_ImagePath",     kNullTolerant, 0x6803000C}, 24, {},         26, "IM_ImagePath",     Write::kValue},
  {{"IM_CutAverage",    kText,   "IM_CutAverage",    kNullTolerant, 0x6803000B}, 25, {},         27, "IM_CutAverage",    Write::kValue},
  {{"GroupName",        kText,   {},                 kNotRead,      0x6803000A}, 27, "IM_GrpNo",  0, {},                 Write::kNone},
  {{"BrandName",        kText,   {},                 kNotRead,      0x68030009}, 28, "BrandId",   0, {},                 Write::kNone},
  {{"StyleName",        kText,   {},                 kNotRead,      0x68030008}, 31, "StyleId",   0, {},                 Write::kNone},
  {{"ColorName",        kText,   {},                 kNotRead,      0x68030007}, 29, "ColorId",   0, {},                 Write::kNone},
  {{"SizeName",         kText,   {},                 kNotRead,      0x68030006}, 30, "SizeId",    0, {},                 Write::kNone},
  {{"ItemId",           kInt16,  {},                 kNotRead,      0x68030005},  0, {},          1, "IM_ItemId",        Write::kValue},
  {{"ItemName",         kText,   "IM_ItemName",      kStrict,       0x68030004},  1, {},          2, "IM_ItemName",      Write::kValue},
  {{"BrandId",          kInt16,  "IM_BrandId",       kNumeric,      0x68030003}, 19, {},         21, "IM_BrandId",       Write::kAsDouble},
  {{"StyleId",          kInt16,  "IM_StyleId",       kNumeric,      0x68030002}, 22, {},         24, "IM_StyleId",       Write::kAsDouble},
  {{"ColorId",          kInt16,  "IM_ColorId",       kNumeric,      0x68030001}, 20, {},         22, "IM_ColorId",       Write::kAsDouble},
  {{"SizeId",           kInt16,  "IM_SizeId",        kNumeric,      0x68030000}, 21, {},         23, "IM_SizeId",        Write::kAsDouble},
};
// clang-format on

constexpr size_t kFieldCount = std::size(kFields);
constexpr size_t kNoField = kFieldCount;

constexpr size_t IndexOf(std::string_view property) {
  for (size_t i = 0; i < kFieldCount; ++i)
    if (kFields[i].prop.property == property) return i;
  throw std::logic_error("no such item field");
}

constexpr size_t kItemId = IndexOf("ItemId");
constexpr size_t kGrpNo = IndexOf("IM_GrpNo");

// The FieldSpec rows alone, for the record and its property members.
constexpr auto kSpecs = [] {
  std::array<db::FieldSpec, kFieldCount> fields{};
  for (size_t i = 0; i < kFieldCount; ++i) fields[i] = kFields[i].prop;
  return fields;
}();

// For each field, the field whose number its name is looked up by (kNoField for none).
constexpr auto kLookups = [] {
  std::array<size_t, kFieldCount> lookups{};
  for (size_t i = 0; i < kFieldCount; ++i)
    lookups[i] = kFields[i].lookup_of.empty() ? kNoField : IndexOf(kFields[i].lookup_of);
  return lookups;
}();

constexpr size_t CountSteps(int ItemField::*step) {
  size_t n = 0;
  for (const ItemField& f : kFields)
    if (f.*step > 0) ++n;
  return n;
}

// The fields in the order of their steps; the steps must run 1, 2, 3, ... with no gap or repeat
// (checked when the table is compiled).
template <int ItemField::*Step>
constexpr std::array<size_t, CountSteps(Step)> Ordered() {
  std::array<size_t, CountSteps(Step)> order{};
  for (size_t k = 0; k < order.size(); ++k) {
    size_t found = 0;
    for (size_t i = 0; i < kFieldCount; ++i)
      if (kFields[i].*Step == int(k) + 1) {
        order[k] = i;
        ++found;
      }
    if (found != 1) throw std::logic_error("item field steps must run 1, 2, 3, ...");
  }
  return order;
}

constexpr auto kSaveOrder = Ordered<&ItemField::save_step>();
constexpr auto kReadOrder = Ordered<&ItemField::read_step>();
static_assert(kSaveOrder.size() == 27, "Save writes every column of the item table");

// The mark of an item row in IM_GrpFlag.
constexpr std::string_view kItemFlag = "I";

std::string ItemsTable(int16_t y1, int16_t y2) {
  return "Items" + db::YearSuffix(y1, y2);
}

// The level of the row `group` in the group tree, or 0 when there is no such row.
int16_t GetGrpLevel(int16_t group, const Variant& cn, int16_t y1, int16_t y2) {
  db::Recordset rs;
  rs.Open("Select IM_GrpLevel from ITEMS" + db::YearSuffix(y1, y2) +
              " where IM_ItemId=" + std::to_string(group),
          cn);
  if (rs.Eof()) return 0;
  return db::ReadAs(rs.Field("IM_GrpLevel"), kStrict, kInt16).int16();
}

}  // namespace

Items::Items() : record(kSpecs) {}

void Items::Save(const std::string& save_flag, int16_t item_id, const Variant& cn, int16_t y1,
                 int16_t y2) const {
  // The flag is compared exactly; any other text leaves the source empty, so opening fails
  // before anything is written.
  std::string source;
  if (save_flag == "New") {
    source = "Select * from " + ItemsTable(y1, y2);
  } else if (save_flag == "Edit") {
    source = "Select * from " + ItemsTable(y1, y2) + " where IM_ItemId=" + std::to_string(item_id);
  }
  // The row is read, its group level looked up and the row written under one lock.
  db::WriteUnit unit(cn);
  db::Recordset rs;
  rs.Open(source, cn);
  if (save_flag == "New") rs.AddNew();
  for (size_t i : kSaveOrder) {
    const ItemField& f = kFields[i];
    switch (f.write) {
      case Write::kValue:
        rs.SetField(f.save_column, record[i]);
        break;
      case Write::kAsDouble:
        rs.SetField(f.save_column, Variant(double(record.Int16(i))));
        break;
      case Write::kItemFlag:
        rs.SetField(f.save_column, Variant(kItemFlag));
        break;
      case Write::kGroupLevel:
        rs.SetField(f.save_column,
                    Variant(AddInt16(GetGrpLevel(record.Int16(kGrpNo), cn, y1, y2), 1)));
        break;
      case Write::kNone:
        break;
    }
  }
  rs.Update();
  rs.Close();
  unit.Commit();
}

void Items::Read(int16_t item_id, const Variant& cn, int16_t y1, int16_t y2) {
  db::Recordset rs;
  record.Set(kItemId, Variant(item_id));
  rs.Open("Select * from " + ItemsTable(y1, y2) + " where IM_ItemId=" + std::to_string(item_id),
          cn);
  if (rs.Eof()) return;
  for (size_t i : kReadOrder) {
    const db::FieldSpec& f = kFields[i].prop;
    if (kLookups[i] != kNoField) {
      record.Set(i, Variant(GetItemName(record.Int16(kLookups[i]), cn, y1, y2)));
    } else {
      record.Set(i, db::ReadAs(rs.Field(f.column), f.read, f.type));
    }
  }
}

std::string Items::GetItemName(int16_t item_id, const Variant& cn, int16_t y1, int16_t y2) {
  db::Recordset rs;
  rs.Open("Select IM_ItemName from " + ItemsTable(y1, y2) +
              " where IM_ItemId=" + std::to_string(item_id),
          cn);
  if (rs.Eof()) return {};
  return db::ReadAs(rs.Field("IM_ItemName"), kStrict, kText).text();
}

int16_t Items::GetNewItemId(const Variant& cn, int16_t y1, int16_t y2) {
  const std::string items_only = " where IM_GrpFlag=" + db::Quote(kItemFlag);
  db::Recordset rs;
  rs.Open("Select count(*) from " + ItemsTable(y1, y2) + items_only, cn);
  int64_t next = 0;
  if (!rs.Eof()) {
    if (rs.Field(0).ToInt32() > 0) {
      if (rs.State() == db::kStateOpen) rs.Close();
      rs.Open("Select MAX(IM_ItemId) from " + ItemsTable(y1, y2) + items_only, cn);
      next = int64_t{rs.Field(0).ToInt32()} + 1;
    } else {
      next = 1001;
    }
  }
  if (next > INT16_MAX || next < INT16_MIN) ThrowOverflow();
  return int16_t(next);
}

int16_t Items::GetItemWithDetails(const std::string& sql, const Variant& cn, int16_t y1, int16_t y2,
                                  Variant& list) {
  db::Recordset rs;
  int16_t count = 0;
  if (!sql.empty()) {
    // The caller's text is run only when it is one statement that reads and changes nothing.
    db::CheckReadOnlyQuery(db::ConnectionOf(cn), sql);
    rs.Open(sql, cn);
  }
  // Without a query the recordset is not open and the count fails, before `list` is touched.
  const int32_t rows = rs.RecordCount();
  list = Variant(SafeArray{0, std::vector<Variant>(size_t(rows) + 1)});
  std::vector<Variant>& slots = list.array().items;
  while (!rs.Eof()) {
    Ref<Items> item = MakeRef<Items>();
    slots[size_t(count)] = Variant(item);
    item->Read(db::ReadAs(rs.Field("IM_ItemId"), kStrict, kInt16).int16(), cn, y1, y2);
    rs.MoveNext();
    count = AddInt16(count, 1);
  }
  return count;
}

// Dispatch ids: the properties run from 0x6803001F down to 0x68030000 in interface order, the
// methods from 0x60030020 up.
const ClassTable<Items>& Items::Table() {
  static const ClassTable<Items> table = [] {
    const ParamInfo cn{"cn", VarType::Object, true};
    std::vector<MemberDef<Items>> defs;
    db::AddFieldMembers(defs, std::span<const db::FieldSpec>(kSpecs), &Items::record);
    defs.push_back({{"Get_New_ItemId",
                     0x60030020,
                     kMethod,
                     kInt16,
                     {cn, {"intY1", kInt16}, {"intY2", kInt16}}},
                    nullptr,
                    nullptr,
                    [](Items&, std::span<Variant> a) {
                      return Variant(GetNewItemId(a[0], a[1].ToInt16(), a[2].ToInt16()));
                    }});
    defs.push_back({{"Get_ItemName",
                     0x60030021,
                     kMethod,
                     kText,
                     {{"intItemId", kInt16}, cn, {"intY1", kInt16}, {"intY2", kInt16}}},
                    nullptr,
                    nullptr,
                    [](Items&, std::span<Variant> a) {
                      return Variant(
                          GetItemName(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16()));
                    }});
    defs.push_back(
        {{"Save",
          0x60030022,
          kMethod,
          VarType::Empty,
          {{"SaveFlag", kText}, {"intItemId", kInt16}, cn, {"intY1", kInt16}, {"intY2", kInt16}}},
         nullptr,
         nullptr,
         [](Items& self, std::span<Variant> a) {
           self.Save(a[0].ToText(), a[1].ToInt16(), a[2], a[3].ToInt16(), a[4].ToInt16());
           return Variant();
         }});
    defs.push_back({{"Read",
                     0x60030023,
                     kMethod,
                     VarType::Empty,
                     {{"intItemId", kInt16}, cn, {"intY1", kInt16}, {"intY2", kInt16}}},
                    nullptr,
                    nullptr,
                    [](Items& self, std::span<Variant> a) {
                      self.Read(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16());
                      return Variant();
                    }});
    defs.push_back({{"Get_Item_With_Details",
                     0x60030024,
                     kMethod,
                     kInt16,
                     {{"strSQL", kText},
                      cn,
                      {"intYear1", kInt16},
                      {"intYear2", kInt16},
                      {"a1", VarType::Array, true}}},
                    nullptr,
                    nullptr,
                    [](Items&, std::span<Variant> a) {
                      return Variant(GetItemWithDetails(a[0].ToText(), a[1], a[2].ToInt16(),
                                                        a[3].ToInt16(), a[4]));
                    }});
    return ClassTable<Items>("clsItems", "{BEB135E9-079C-4FC6-9C83-9607057CAC1C}", "_clsItems",
                             "{B006D4EA-F236-4944-A0D6-98DBF5E5C7AB}", std::move(defs));
  }();
  return table;
}

}  // namespace orv::items
