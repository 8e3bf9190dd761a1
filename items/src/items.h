// clsItems: one row of a year's item table, with its persistence, the proposal of new item
// numbers and item lists filled from a caller's query.
//
// The item table holds items and the rows that items refer to (their group, brand, style, colour
// and size), all numbered in IM_ItemId. An object keeps no connection: every method receives the
// connection `cn` (owned by the caller) and the fiscal-year pair, and releases everything it
// opened before it returns.
#pragma once

#include <cstdint>
#include <string>

#include "orv/db/record.h"
#include "orv/dispatch.h"

namespace orv::items {

class Items final : public DispatchObject<Items> {
 public:
  Items();
  static const ClassTable<Items>& Table();
  static const TypeInfo& Type_() { return Table().type(); }

  // Writes the object as an item row: "New" adds a row, "Edit" changes the row `item_id` (and
  // renumbers it to ItemId). Any other flag fails before anything is written, as does a number
  // already in use (the table's unique key).
  void Save(const std::string& save_flag, int16_t item_id, const Variant& cn, int16_t y1,
            int16_t y2) const;
  // Loads the row `item_id` and the names of its group, brand, colour, size and style. ItemId is
  // always set; the other properties only when the row exists.
  void Read(int16_t item_id, const Variant& cn, int16_t y1, int16_t y2);

  // The name of row `item_id`, or "" when there is none.
  static std::string GetItemName(int16_t item_id, const Variant& cn, int16_t y1, int16_t y2);
  // One more than the highest item number, or 1001 when there are no items yet.
  static int16_t GetNewItemId(const Variant& cn, int16_t y1, int16_t y2);
  // Runs the caller's read-only query, resizes `list` to one element more than it returns rows
  // and stores one read clsItems per row; returns the number of rows.
  static int16_t GetItemWithDetails(const std::string& sql, const Variant& cn, int16_t y1,
                                    int16_t y2, Variant& list);

  db::Record record;  // the property values, one per field of the item field table
};

}  // namespace orv::items
