// clsItems driven the way a front-end drives it: created through the class registry (which loads
// the component library on demand) and called only by late binding, on a fresh year database.
#include <string>
#include <vector>

#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/registry.h"
#include "test_support.h"

namespace orv {
namespace {

using db::testing::ErrorNumberOf;
using db::testing::kY1;
using db::testing::kY2;

constexpr const char* kClsid = "{BEB135E9-079C-4FC6-9C83-9607057CAC1C}";
constexpr const char* kTable = "Items_2008_2009";

// A property value as a test writes it down.
struct Prop {
  const char* name;
  Variant value;
};

// Every writable property with a distinct value: an item of group 50 with brand 61, colour 62,
// size 63 and style 64. IM_GrpFlag and IM_GrpLevel hold values that Save must not use.
std::vector<Prop> ShirtProperties() {
  return {
      {"IM_Alias", Variant("SH-1")},
      {"IM_GrpFlag", Variant("G")},
      {"IM_GrpNo", Variant(int16_t{50})},
      {"IM_GrpLevel", Variant(int16_t{9})},
      {"IM_OpeningBal", Variant(120.5)},
      {"IM_ClosingBal", Variant(80.25)},
      {"IM_UnitId", Variant(int16_t{3})},
      {"IM_Unit", Variant("Pcs")},
      {"IM_ItemRate", Variant(499.0)},
      {"IM_MRP", Variant(599.0)},
      {"IM_ReOrder", Variant(10.0)},
      {"IM_VatPerc", Variant(12.5)},
      {"IM_HSNCode", Variant("6205")},
      {"IM_CSTPerc", Variant(2.0)},
      {"IM_Remarks", Variant("cotton")},
      {"IM_ItemPurchRate", Variant(350.75)},
      {"IM_Extra2", Variant("x2")},
      {"IM_Extra3", Variant("x3")},
      {"IM_Packing", Variant("box of 10")},
      {"IM_ImagePath", Variant("C:\\img\\shirt.jpg")},
      {"IM_CutAverage", Variant("1.6")},
      {"ItemId", Variant(int16_t{1001})},
      {"ItemName", Variant("Men's 'Classic' shirt")},
      {"BrandId", Variant(int16_t{61})},
      {"StyleId", Variant(int16_t{64})},
      {"ColorId", Variant(int16_t{62})},
      {"SizeId", Variant(int16_t{63})},
  };
}

class ItemsTest : public db::testing::YearDatabaseTest {
 protected:
  ItemsTest() : YearDatabaseTest("orv-items") {}
  void SetUp() override {
    YearDatabaseTest::SetUp();
    item_ = CreateObject(kClsid);
  }
  void TearDown() override {
    item_.reset();
    YearDatabaseTest::TearDown();
  }

  // A row as other programs write them: a group, brand, colour, size or style row, or an item.
  void AddRow(int id, const std::string& name, const std::string& flag = "I",
              const std::string& level = "1") {
    Exec(std::string("Insert into ") + kTable +
         " (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, IM_GrpLevel, IM_UnitId, IM_Unit)"
         " values (" +
         std::to_string(id) + ", " + db::Quote(name) + ", " + db::Quote(flag) + ", 0, " + level +
         ", 1, 'Pcs')");
  }
  // Every row of the item table with the storage type of every value, to show that a call
  // wrote nothing.
  std::string Dump() {
    db::Recordset rs;
    rs.Open(std::string("Select * from ") + kTable + " order by IM_ItemId", cn_);
    std::string out;
    while (!rs.Eof()) {
      for (int i = 0; i < rs.FieldCount(); ++i) {
        const Variant v = rs.Field(i);
        out += std::string(VarTypeName(v.type())) + ":" + v.JoinText() + "|";
      }
      out += "\n";
      rs.MoveNext();
    }
    return out;
  }

  void Fill(Dispatch& item, const std::vector<Prop>& props) {
    for (const Prop& p : props) item.Put(p.name, p.value);
  }
  Variant Save(Dispatch& item, const char* flag, int16_t id) {
    return CallWithYear(item, "Save", {Variant(flag), Variant(id)});
  }
  void Read(Dispatch& item, int16_t id) { CallWithYear(item, "Read", {Variant(id)}); }
  Variant NewItemId() { return CallWithYear(*item_, "Get_New_ItemId", {}); }
  // Get_Item_With_Details with `list_` as its by-reference array; `list_` holds what the call
  // left there, also when it fails.
  Variant List(const std::string& sql) {
    std::vector<Variant> args{Variant(sql), cn_, Variant(kY1), Variant(kY2), list_};
    struct WriteBack {
      std::vector<Variant>& args;
      Variant& list;
      ~WriteBack() { list = args[4]; }
    } write_back{args, list_};
    return item_->Call("Get_Item_With_Details", std::span<Variant>(args));
  }
  // The rows the item with ShirtProperties() refers to.
  void AddShirtRows() {
    AddRow(50, "Shirts", "G", "2");
    AddRow(61, "Arrow", "B");
    AddRow(62, "Blue", "C");
    AddRow(63, "XL", "S");
    AddRow(64, "Slim", "T");
  }

  Ref<Dispatch> item_;
  Variant list_ = Variant("untouched");
};

TEST_F(ItemsTest, IdentityInterfaceOrderAndDispatchIds) {
  EXPECT_EQ(CreateObject("ORVItems.clsItems")->Type().clsid, Guid::FromLiteral(kClsid));
  EXPECT_EQ(Registry::Instance().ClassIdOf("orvitems.CLSITEMS"), Guid::FromLiteral(kClsid));
  const TypeInfo& type = item_->Type();
  EXPECT_EQ(type.class_name, "clsItems");
  EXPECT_EQ(type.interface_name, "_clsItems");
  EXPECT_EQ(type.iid, Guid::FromLiteral("{B006D4EA-F236-4944-A0D6-98DBF5E5C7AB}"));
  EXPECT_NE(item_->QueryInterface(type.iid), nullptr);

  const std::vector<std::string> properties = {
      "IM_Alias",         "IM_GrpFlag", "IM_GrpNo",   "IM_GrpLevel", "IM_OpeningBal",
      "IM_ClosingBal",    "IM_UnitId",  "IM_Unit",    "IM_ItemRate", "IM_MRP",
      "IM_ReOrder",       "IM_VatPerc", "IM_HSNCode", "IM_CSTPerc",  "IM_Remarks",
      "IM_ItemPurchRate", "IM_Extra2",  "IM_Extra3",  "IM_Packing",  "IM_ImagePath",
      "IM_CutAverage",    "GroupName",  "BrandName",  "StyleName",   "ColorName",
      "SizeName",         "ItemId",     "ItemName",   "BrandId",     "StyleId",
      "ColorId",          "SizeId"};
  const std::vector<std::string> methods = {"Get_New_ItemId", "Get_ItemName", "Save", "Read",
                                            "Get_Item_With_Details"};
  ASSERT_EQ(type.members.size(), properties.size() + methods.size());
  for (size_t i = 0; i < properties.size(); ++i) {
    SCOPED_TRACE(properties[i]);
    const MemberInfo& m = type.members[i];
    EXPECT_EQ(m.name, properties[i]);
    EXPECT_EQ(m.id, DispId(0x6803001F - i));
    EXPECT_EQ(m.kinds, kPropertyGet | kPropertyPut);
  }
  for (size_t i = 0; i < methods.size(); ++i) {
    const MemberInfo& m = type.members[properties.size() + i];
    EXPECT_EQ(m.name, methods[i]);
    EXPECT_EQ(m.id, DispId(0x60030020 + i));
    EXPECT_EQ(m.kinds, kMethod);
  }
  EXPECT_EQ(item_->IdOfName("get_item_with_details"), 0x60030024);
  // `cn` and the array are passed by reference.
  const MemberInfo& list = type.members.back();
  ASSERT_EQ(list.params.size(), 5u);
  EXPECT_TRUE(list.params[1].by_ref);
  EXPECT_TRUE(list.params[4].by_ref);
}

TEST_F(ItemsTest, NewObjectHoldsZeroAndEmptyTextAndPutsConvertToThePropertyType) {
  for (const MemberInfo& m : item_->Type().members) {
    if (m.kinds == kMethod) continue;
    SCOPED_TRACE(std::string(m.name));
    const Variant v = item_->Get(m.name);
    ASSERT_EQ(v.type(), m.type);
    EXPECT_TRUE(v.type() == VarType::Text ? v.text().empty() : v.ToDouble() == 0);
  }
  item_->Put("BrandId", Variant("12"));
  EXPECT_EQ(item_->Get("BrandId"), Variant(int16_t{12}));
  item_->Put("IM_MRP", Variant(int16_t{5}));
  EXPECT_EQ(item_->Get("IM_MRP"), Variant(5.0));
  item_->Put("ItemId", Variant(2.5));
  EXPECT_EQ(item_->Get("ItemId"), Variant(int16_t{2}));
  EXPECT_EQ(ErrorNumberOf([&] { item_->Put("SizeId", Variant(int32_t{40000})); }), err::kOverflow);
  EXPECT_EQ(item_->Get("SizeId"), Variant(int16_t{0}));
}

TEST_F(ItemsTest, SaveNewWritesEveryColumnAsAnItemAndReturnsEmpty) {
  AddShirtRows();
  Fill(*item_, ShirtProperties());
  EXPECT_TRUE(Save(*item_, "New", 0).IsEmpty());

  db::Recordset rs;
  rs.Open(std::string("Select * from ") + kTable + " where IM_ItemId=1001", cn_);
  ASSERT_FALSE(rs.Eof());
  const std::vector<Prop> columns = {
      {"IM_ItemId", Variant(int16_t{1001})}, {"IM_ItemName", Variant("Men's 'Classic' shirt")},
      {"IM_Alias", Variant("SH-1")},         {"IM_GrpFlag", Variant("I")},
      {"IM_GrpNo", Variant(int16_t{50})},    {"IM_GrpLevel", Variant(int16_t{3})},
      {"IM_OpeningBal", Variant(120.5)},     {"IM_ClosingBal", Variant(80.25)},
      {"IM_UnitId", Variant(int16_t{3})},    {"IM_Unit", Variant("Pcs")},
      {"IM_ItemRate", Variant(499.0)},       {"IM_MRP", Variant(599.0)},
      {"IM_ReOrder", Variant(10.0)},         {"IM_CSTPerc", Variant(2.0)},
      {"IM_HSNCode", Variant("6205")},       {"IM_VATPerc", Variant(12.5)},
      {"IM_Remarks", Variant("cotton")},     {"IM_ItemPurchRate", Variant(350.75)},
      {"IM_Extra2", Variant("x2")},          {"IM_Extra3", Variant("x3")},
      {"IM_BrandId", Variant(61.0)},         {"IM_ColorId", Variant(62.0)},
      {"IM_SizeId", Variant(63.0)},          {"IM_StyleId", Variant(64.0)},
      {"IM_Packing", Variant("box of 10")},  {"IM_ImagePath", Variant("C:\\img\\shirt.jpg")},
      {"IM_CutAverage", Variant("1.6")},
  };
  for (const Prop& c : columns) EXPECT_EQ(rs.Field(c.name), c.value) << c.name;
  // The list above is the whole table.
  for (const db::TableDef& t : db::YearTables())
    if (t.base_name == "ITEMS") {
      EXPECT_EQ(t.columns.size(), columns.size());
    }
  // The four ids are stored as doubles.
  EXPECT_EQ(Scalar(std::string("Select typeof(IM_BrandId) || typeof(IM_ColorId) || "
                               "typeof(IM_SizeId) || typeof(IM_StyleId) from ") +
                   kTable + " where IM_ItemId=1001"),
            Variant("realrealrealreal"));
  // Save leaves the object as it was.
  EXPECT_EQ(item_->Get("IM_GrpFlag"), Variant("G"));
  EXPECT_EQ(item_->Get("IM_GrpLevel"), Variant(int16_t{9}));
}

TEST_F(ItemsTest, SavedGroupLevelIsTheGroupRowsLevelPlusOne) {
  struct Case {
    const char* what;
    std::string group_level;  // of group row 50; empty: no group row
    int error;
    int16_t level;
  };
  const Case cases[] = {
      {"group at level 2", "2", 0, 3},
      {"group number without a row", "", 0, 1},
      {"group at level 0", "0", 0, 1},
      {"group at the top of the 16-bit range", "32767", err::kOverflow, 0},
      {"group without a level", "NULL", err::kInvalidUseOfNull, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Exec(std::string("Delete from ") + kTable);
    if (!c.group_level.empty()) AddRow(50, "Shirts", "G", c.group_level);
    const std::string before = Dump();
    Fill(*item_, ShirtProperties());
    EXPECT_EQ(ErrorNumberOf([&] { Save(*item_, "New", 0); }), c.error);
    if (c.error) {
      EXPECT_EQ(Dump(), before);
    } else {
      EXPECT_EQ(Scalar(std::string("Select IM_GrpLevel from ") + kTable + " where IM_ItemId=1001"),
                Variant(c.level));
    }
  }
}

TEST_F(ItemsTest, SaveEditChangesTheSelectedRowAndTakesTheNumberFromItemId) {
  AddRow(1005, "Old shirt");
  AddRow(1006, "Trousers");
  const std::string trousers_before = Dump().substr(Dump().find("\n") + 1);
  Fill(*item_, ShirtProperties());
  item_->Put("ItemId", Variant(int16_t{1007}));
  EXPECT_TRUE(Save(*item_, "Edit", 1005).IsEmpty());

  EXPECT_EQ(Scalar(std::string("Select count(*) from ") + kTable + " where IM_ItemId=1005"),
            Variant(int32_t{0}));
  EXPECT_EQ(Scalar(std::string("Select IM_ItemName from ") + kTable + " where IM_ItemId=1007"),
            Variant("Men's 'Classic' shirt"));
  EXPECT_EQ(Scalar(std::string("Select IM_Unit from ") + kTable + " where IM_ItemId=1007"),
            Variant("Pcs"));
  EXPECT_EQ(Scalar(std::string("Select count(*) from ") + kTable), Variant(int32_t{2}));
  // The other row is untouched (it sorts first now).
  EXPECT_EQ(Dump().substr(0, Dump().find("\n") + 1), trousers_before);
}

TEST_F(ItemsTest, RefusedSaveWritesNothing) {
  AddRow(1001, "Shirt");
  AddRow(1002, "Trousers");
  struct Case {
    const char* what;
    const char* flag;
    int16_t item_id;  // argument
    int16_t number;   // ItemId property
    int error;
  };
  const Case cases[] = {
      {"flag in lower case", "new", 0, 1003, err::kInvalidArgument},
      {"flag in upper case", "EDIT", 1001, 1001, err::kInvalidArgument},
      {"empty flag", "", 0, 1003, err::kInvalidArgument},
      {"other flag", "Add", 0, 1003, err::kInvalidArgument},
      {"flag with a blank", "New ", 0, 1003, err::kInvalidArgument},
      {"edit of a number without a row", "Edit", 1999, 1999, err::kNoCurrentRecord},
      {"second New of a number in use", "New", 0, 1001, 3022},
      {"edit renumbering onto a number in use", "Edit", 1001, 1002, 3022},
  };
  const std::string before = Dump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ref<Dispatch> item = CreateObject("ORVItems.clsItems");
    Fill(*item, ShirtProperties());
    item->Put("ItemId", Variant(c.number));
    EXPECT_EQ(ErrorNumberOf([&] { Save(*item, c.flag, c.item_id); }), c.error);
    EXPECT_EQ(Dump(), before);
  }
  // The refused save did not leave the connection inside a transaction.
  Fill(*item_, ShirtProperties());
  item_->Put("ItemId", Variant(int16_t{1003}));
  Save(*item_, "New", 0);
  EXPECT_EQ(Scalar(std::string("Select count(*) from ") + kTable), Variant(int32_t{3}));
}

TEST_F(ItemsTest, ReadRestoresWhatSaveWroteWithTheFiveNames) {
  AddShirtRows();
  Fill(*item_, ShirtProperties());
  Save(*item_, "New", 0);

  Ref<Dispatch> copy = CreateObject(kClsid);
  copy->Put("GroupName", Variant("stale"));
  Read(*copy, 1001);
  for (const Prop& p : ShirtProperties()) {
    SCOPED_TRACE(p.name);
    Variant expected = p.value;
    if (std::string(p.name) == "IM_GrpFlag") expected = Variant("I");
    if (std::string(p.name) == "IM_GrpLevel") expected = Variant(int16_t{3});  // as computed
    EXPECT_EQ(copy->Get(p.name), expected);
  }
  EXPECT_EQ(copy->Get("GroupName"), Variant("Shirts"));
  EXPECT_EQ(copy->Get("BrandName"), Variant("Arrow"));
  EXPECT_EQ(copy->Get("ColorName"), Variant("Blue"));
  EXPECT_EQ(copy->Get("SizeName"), Variant("XL"));
  EXPECT_EQ(copy->Get("StyleName"), Variant("Slim"));
}

TEST_F(ItemsTest, ReadOfANumberWithoutARowChangesOnlyItemId) {
  AddShirtRows();
  Fill(*item_, ShirtProperties());
  item_->Put("BrandName", Variant("kept"));
  Read(*item_, 4242);
  for (const Prop& p : ShirtProperties())
    if (std::string(p.name) != "ItemId") {
      EXPECT_EQ(item_->Get(p.name), p.value) << p.name;
    }
  EXPECT_EQ(item_->Get("ItemId"), Variant(int16_t{4242}));
  EXPECT_EQ(item_->Get("BrandName"), Variant("kept"));
}

TEST_F(ItemsTest, ReadConvertsEachColumnByItsReadMode) {
  struct Case {
    const char* column;
    const char* stored;  // SQL literal put into the column of item 1001
    const char* property;
    Variant expected;
    int error;
  };
  const Case cases[] = {
      {"IM_Alias", "NULL", "IM_Alias", Variant(""), 0},
      {"IM_HSNCode", "NULL", "IM_HSNCode", Variant(""), 0},
      {"IM_GrpFlag", "NULL", "IM_GrpFlag", Variant(""), 0},
      {"IM_OpeningBal", "NULL", "IM_OpeningBal", Variant(0.0), 0},
      {"IM_ItemRate", "'12.5 per kg'", "IM_ItemRate", Variant(12.5), 0},
      {"IM_MRP", "'about ten'", "IM_MRP", Variant(0.0), 0},
      {"IM_VATPerc", "4", "IM_VatPerc", Variant(4.0), 0},
      {"IM_BrandId", "2.5", "BrandId", Variant(int16_t{2}), 0},
      {"IM_ColorId", "3.5", "ColorId", Variant(int16_t{4}), 0},
      {"IM_StyleId", "NULL", "StyleId", Variant(int16_t{0}), 0},
      {"IM_SizeId", "40000", "SizeId", Variant(), err::kOverflow},
      {"IM_GrpLevel", "NULL", "IM_GrpLevel", Variant(int16_t{0}), 0},
      {"IM_Unit", "NULL", "IM_Unit", Variant(), err::kInvalidUseOfNull},
      {"IM_GrpNo", "NULL", "IM_GrpNo", Variant(), err::kInvalidUseOfNull},
      {"IM_UnitId", "40000", "IM_UnitId", Variant(), err::kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    Exec(std::string("Delete from ") + kTable);
    AddRow(1001, "Shirt");
    Exec(std::string("Update ") + kTable + " set " + c.column + "=" + c.stored);
    Ref<Dispatch> item = CreateObject(kClsid);
    EXPECT_EQ(ErrorNumberOf([&] { Read(*item, 1001); }), c.error);
    if (!c.error) {
      EXPECT_EQ(item->Get(c.property), c.expected);
    }
  }
}

TEST_F(ItemsTest, InterruptedReadKeepsThePropertiesAssignedBeforeTheFailingColumn) {
  AddShirtRows();
  Fill(*item_, ShirtProperties());
  Save(*item_, "New", 0);
  Exec(std::string("Update ") + kTable + " set IM_Unit=NULL where IM_ItemId=1001");

  Ref<Dispatch> item = CreateObject(kClsid);
  item->Put("IM_ItemRate", Variant(1.0));
  item->Put("GroupName", Variant("before"));
  EXPECT_EQ(ErrorNumberOf([&] { Read(*item, 1001); }), err::kInvalidUseOfNull);
  // Read before IM_Unit: ItemName, IM_Alias, the balances, IM_GrpFlag, IM_GrpNo, IM_UnitId.
  EXPECT_EQ(item->Get("ItemName"), Variant("Men's 'Classic' shirt"));
  EXPECT_EQ(item->Get("IM_Alias"), Variant("SH-1"));
  EXPECT_EQ(item->Get("IM_ClosingBal"), Variant(80.25));
  EXPECT_EQ(item->Get("IM_GrpNo"), Variant(int16_t{50}));
  EXPECT_EQ(item->Get("IM_UnitId"), Variant(int16_t{3}));
  // After it, nothing.
  EXPECT_EQ(item->Get("IM_ItemRate"), Variant(1.0));
  EXPECT_EQ(item->Get("BrandId"), Variant(int16_t{0}));
  EXPECT_EQ(item->Get("GroupName"), Variant("before"));
}

TEST_F(ItemsTest, NamesOfNumbersWithoutARowAreEmpty) {
  AddShirtRows();
  Fill(*item_, ShirtProperties());
  item_->Put("BrandId", Variant(int16_t{0}));
  item_->Put("SizeId", Variant(int16_t{-7}));
  Save(*item_, "New", 0);
  Ref<Dispatch> item = CreateObject(kClsid);
  Read(*item, 1001);
  EXPECT_EQ(item->Get("BrandName"), Variant(""));
  EXPECT_EQ(item->Get("SizeName"), Variant(""));
  EXPECT_EQ(item->Get("ColorName"), Variant("Blue"));
  EXPECT_EQ(item->Get("GroupName"), Variant("Shirts"));
}

TEST_F(ItemsTest, GetItemNameReturnsTheRowsNameOrEmptyTextAndChangesNoProperty) {
  AddRow(61, "Arrow", "B");
  AddRow(1001, "O'Neil's cap");
  auto name = [&](int16_t id) { return CallWithYear(*item_, "Get_ItemName", {Variant(id)}); };
  EXPECT_EQ(name(61), Variant("Arrow"));
  EXPECT_EQ(name(1001), Variant("O'Neil's cap"));
  EXPECT_EQ(name(1002), Variant(""));
  EXPECT_EQ(name(-1), Variant(""));
  EXPECT_EQ(item_->Get("ItemId"), Variant(int16_t{0}));
  EXPECT_EQ(item_->Get("ItemName"), Variant(""));
}

TEST_F(ItemsTest, NewItemIdIsOneMoreThanTheHighestItemOr1001) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> rows;  // number and IM_GrpFlag
    Variant expected;
    int error;
  };
  const Case cases[] = {
      {"no rows", {}, Variant(int16_t{1001}), 0},
      {"only rows that are not items", {{5000, "G"}, {61, "B"}}, Variant(int16_t{1001}), 0},
      {"items 1001 to 1005",
       {{1001, "I"}, {1002, "I"}, {1003, "I"}, {1004, "I"}, {1005, "I"}},
       Variant(int16_t{1006}),
       0},
      {"gap below the highest is not reused",
       {{1001, "I"}, {1010, "I"}},
       Variant(int16_t{1011}),
       0},
      {"a higher group row does not count", {{1001, "I"}, {2000, "G"}}, Variant(int16_t{1002}), 0},
      {"item numbered 32767", {{1001, "I"}, {32767, "I"}}, Variant(), err::kOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Exec(std::string("Delete from ") + kTable);
    for (const auto& [id, flag] : c.rows) AddRow(id, "row " + std::to_string(id), flag);
    const std::string before = Dump();
    Variant got;
    EXPECT_EQ(ErrorNumberOf([&] { got = NewItemId(); }), c.error);
    if (!c.error) {
      EXPECT_EQ(got, c.expected);
    }
    EXPECT_EQ(Dump(), before);
  }
}

TEST_F(ItemsTest, ItemListHoldsOneReadItemPerRowInQueryOrderAndAnEmptyLastElement) {
  AddShirtRows();
  for (int16_t id : {1001, 1002, 1003}) {
    Fill(*item_, ShirtProperties());
    item_->Put("ItemId", Variant(id));
    item_->Put("ItemName", Variant("shirt " + std::to_string(id)));
    Save(*item_, "New", 0);
  }
  list_ = Variant(SafeArray{0, std::vector<Variant>(10, Variant("old"))});
  EXPECT_EQ(List(std::string("Select IM_ItemId from ") + kTable +
                 " where IM_GrpFlag='I' order by IM_ItemId desc"),
            Variant(int16_t{3}));
  ASSERT_EQ(list_.type(), VarType::Array);
  const SafeArray& a = list_.array();
  EXPECT_EQ(a.lower, 0);
  ASSERT_EQ(a.items.size(), 4u);
  const int16_t expected[] = {1003, 1002, 1001};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    Ref<Dispatch> element = AsDispatch(a.items[i]);
    EXPECT_EQ(element->Type().class_name, "clsItems");
    EXPECT_EQ(element->Get("ItemId"), Variant(expected[i]));
    EXPECT_EQ(element->Get("ItemName"), Variant("shirt " + std::to_string(expected[i])));
    EXPECT_EQ(element->Get("StyleName"), Variant("Slim"));
    EXPECT_EQ(element->Get("IM_MRP"), Variant(599.0));
  }
  EXPECT_TRUE(a.items[3].IsEmpty());
  EXPECT_NE(a.items[0], a.items[1]);
  // The object the list was called on is unchanged.
  EXPECT_EQ(item_->Get("ItemId"), Variant(int16_t{1003}));
}

TEST_F(ItemsTest, ItemListOfAQueryWithoutRowsIsOneEmptyElement) {
  AddRow(1001, "Shirt");
  EXPECT_EQ(List(std::string("Select * from ") + kTable + " where IM_ItemId=9"),
            Variant(int16_t{0}));
  ASSERT_EQ(list_.type(), VarType::Array);
  ASSERT_EQ(list_.array().items.size(), 1u);
  EXPECT_TRUE(list_.array().items[0].IsEmpty());
}

TEST_F(ItemsTest, ItemListRunsOnlyOneReadOnlyQuery) {
  AddRow(1001, "Shirt");
  AddRow(1002, "Trousers");
  const std::string t = kTable;
  struct Case {
    std::string sql;
    int error;
  };
  const Case cases[] = {
      {"", err::kObjectClosed},  // no query: the count fails, as it always has
      {"Delete from " + t, err::kUnsafeSqlFragment},
      {"Update " + t + " set IM_ItemName='x'", err::kUnsafeSqlFragment},
      {"Insert into " + t + " (IM_ItemId, IM_ItemName) values (7, 'x')", err::kUnsafeSqlFragment},
      {"Drop table " + t, err::kUnsafeSqlFragment},
      {"Select IM_ItemId from " + t + "; Delete from " + t, err::kUnsafeSqlFragment},
      {"Select IM_ItemId from " + t + " where IM_ItemName='x'; Update " + t + " set IM_ItemName=''",
       err::kUnsafeSqlFragment},
      {"Select IM_ItemId from " + t + " where IM_ItemName='Shirt' or 1=1); Delete from " + t +
           " --",
       err::kDatabaseError},
  };
  const std::string before = Dump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    list_ = Variant("untouched");
    EXPECT_EQ(ErrorNumberOf([&] { List(c.sql); }), c.error);
    EXPECT_EQ(list_, Variant("untouched"));
    EXPECT_EQ(Dump(), before);
  }
}

TEST_F(ItemsTest, ItemListStopsAtAFailingRowAndKeepsWhatItStored) {
  AddRow(1001, "Shirt");
  AddRow(1002, "Trousers");
  AddRow(1003, "Cap");
  Exec(std::string("Update ") + kTable + " set IM_Unit=NULL where IM_ItemId=1002");
  EXPECT_EQ(ErrorNumberOf([&] {
              List(std::string("Select IM_ItemId from ") + kTable + " order by IM_ItemId");
            }),
            err::kInvalidUseOfNull);
  ASSERT_EQ(list_.type(), VarType::Array);
  const SafeArray& a = list_.array();
  ASSERT_EQ(a.items.size(), 4u);
  EXPECT_EQ(AsDispatch(a.items[0])->Get("ItemName"), Variant("Shirt"));
  // The failing row's object is stored, read up to the failing column.
  EXPECT_EQ(AsDispatch(a.items[1])->Get("ItemName"), Variant("Trousers"));
  EXPECT_EQ(AsDispatch(a.items[1])->Get("IM_Unit"), Variant(""));
  EXPECT_TRUE(a.items[2].IsEmpty());
  EXPECT_TRUE(a.items[3].IsEmpty());

  // A query that does not return IM_ItemId fails at the first row.
  EXPECT_EQ(ErrorNumberOf([&] { List(std::string("Select IM_ItemName from ") + kTable); }),
            err::kItemNotFound);
  EXPECT_EQ(list_.array().items.size(), 4u);
}

TEST_F(ItemsTest, TextsWithQuotesSurviveSaveReadAndAQueryBuiltWithQuote) {
  Fill(*item_, ShirtProperties());
  item_->Put("IM_Remarks", Variant("it's 'fine'; Delete from Items"));
  Save(*item_, "New", 0);
  EXPECT_EQ(List(std::string("Select IM_ItemId from ") + kTable +
                 " where IM_ItemName=" + db::Quote("Men's 'Classic' shirt")),
            Variant(int16_t{1}));
  Ref<Dispatch> element = AsDispatch(list_.array().items[0]);
  EXPECT_EQ(element->Get("IM_Remarks"), Variant("it's 'fine'; Delete from Items"));
  EXPECT_EQ(Scalar(std::string("Select count(*) from ") + kTable), Variant(int32_t{1}));
}

}  // namespace
}  // namespace orv
