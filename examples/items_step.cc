// Walkthrough step of the item master: the rows that items refer to, new items numbered by
// Get_New_ItemId, one item read back with its five names, and an item list from a query.
#include <string>
#include <vector>

#include "orv/db/sql.h"
#include "orv/error.h"
#include "orv/registry.h"
#include "walkthrough.h"

namespace orv::walkthrough {
namespace {

struct ReferredRow {
  int16_t id;
  const char* name;
  const char* kind;  // IM_GrpFlag of the row
  int16_t level;
};

struct NewItem {
  const char* name;
  const char* unit;
  double rate, mrp, vat;
  int16_t brand, colour, size, style;
};

}  // namespace

void Items(Context& ctx) {
  Heading("Items");
  const std::string table = "Items" + db::YearSuffix(ctx.year1, ctx.year2);
  Ref<Dispatch> cn = AsDispatch(ctx.cn);
  const Variant y1(ctx.year1), y2(ctx.year2);

  // Groups, brands, colours, sizes and styles are rows of the item table too, each marked with
  // its own kind; the front-end writes them with statements of its own.
  const ReferredRow rows[] = {{1, "Garments", "G", 1},   {2, "Shirts", "G", 2},
                              {101, "Arrow", "B", 1},    {102, "Van Heusen", "B", 1},
                              {201, "Sky blue", "C", 1}, {202, "White", "C", 1},
                              {301, "M", "S", 1},        {302, "XL", "S", 1},
                              {401, "Slim fit", "T", 1}, {402, "Regular", "T", 1}};
  for (const ReferredRow& r : rows) {
    const std::string sql =
        "Insert into " + table +
        " (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, IM_GrpLevel) values (" +
        std::to_string(r.id) + ", " + db::Quote(r.name) + ", " + db::Quote(r.kind) + ", 0, " +
        std::to_string(r.level) + ")";
    cn->Call("Execute", {Variant(sql)});
    std::cout << "row " << r.id << " (" << r.kind << "): " << r.name << "\n";
  }

  Ref<Dispatch> item = CreateObject("ORVItems.clsItems");
  std::cout << "created " << item->Type().class_name << " by its ProgID\n";
  const NewItem items[] = {
      {"Oxford shirt", "Pcs", 899, 1099, 5, 101, 201, 302, 401},
      {"Linen shirt", "Pcs", 1299, 1499, 5, 102, 202, 301, 402},
      {"Men's 'Casual' shirt", "Pcs", 649, 799, 5, 101, 202, 302, 402},
  };
  for (const NewItem& n : items) {
    const Variant id = CallWithYear(ctx, *item, "Get_New_ItemId", {});
    item->Put("ItemId", id);
    item->Put("ItemName", Variant(n.name));
    item->Put("IM_GrpNo", Variant(int16_t{2}));
    item->Put("IM_Unit", Variant(n.unit));
    item->Put("IM_UnitId", Variant(int16_t{1}));
    item->Put("IM_ItemRate", Variant(n.rate));
    item->Put("IM_MRP", Variant(n.mrp));
    item->Put("IM_VatPerc", Variant(n.vat));
    item->Put("BrandId", Variant(n.brand));
    item->Put("ColorId", Variant(n.colour));
    item->Put("SizeId", Variant(n.size));
    item->Put("StyleId", Variant(n.style));
    CallWithYear(ctx, *item, "Save", {Variant("New"), id});
    std::cout << "Get_New_ItemId proposed " << id.ToText() << "; saved item " << id.ToText() << ": "
              << n.name << "\n";
  }

  Ref<Dispatch> read = CreateObject("ORVItems.clsItems");
  CallWithYear(ctx, *read, "Read", {Variant(int16_t{1001})});
  std::cout << "read item 1001: " << read->Get("ItemName").ToText() << ", level "
            << read->Get("IM_GrpLevel").ToText() << ", rate " << read->Get("IM_ItemRate").ToText()
            << ", MRP " << read->Get("IM_MRP").ToText() << "\n"
            << "  group " << read->Get("GroupName").ToText() << ", brand "
            << read->Get("BrandName").ToText() << ", colour " << read->Get("ColorName").ToText()
            << ", size " << read->Get("SizeName").ToText() << ", style "
            << read->Get("StyleName").ToText() << "\n";

  const std::string query = "Select IM_ItemId from " + table +
                            " where IM_GrpFlag='I' and IM_GrpNo=2 order by IM_ItemName";
  std::vector<Variant> args{Variant(query), ctx.cn, y1, y2, Variant()};
  const Variant count = item->Call("Get_Item_With_Details", std::span<Variant>(args));
  const SafeArray& list = args[4].array();
  std::cout << "Get_Item_With_Details(\"" << query << "\") returned " << count.ToText()
            << " items in an array of " << list.items.size() << " elements:\n";
  for (const Variant& element : list.items) {
    if (element.IsEmpty()) {
      std::cout << "  (last element: empty)\n";
      continue;
    }
    Ref<Dispatch> e = AsDispatch(element);
    std::cout << "  " << e->Get("ItemId").ToText() << "  " << e->Get("ItemName").ToText() << "  "
              << e->Get("BrandName").ToText() << " / " << e->Get("SizeName").ToText() << "  "
              << e->Get("IM_ItemRate").ToText() << "\n";
  }

  // A list query must be one statement that only reads: anything else is refused unrun.
  args = {Variant("Delete from " + table), ctx.cn, y1, y2, Variant()};
  try {
    item->Call("Get_Item_With_Details", std::span<Variant>(args));
  } catch (const AutomationError& e) {
    std::cout << "a list query that deletes is refused: error " << e.number() << "\n";
  }
  std::cout << "next proposed item number: "
            << CallWithYear(ctx, *item, "Get_New_ItemId", {}).ToText() << "\n";
}

}  // namespace orv::walkthrough
