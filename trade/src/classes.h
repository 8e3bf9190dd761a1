// The classes of the trade voucher component.
//
// Vchr (clsVchr) is one row of the year's voucher table as a trade document posts it: a record
// of the row's columns, saved by replacing the row of its (V_Id, V_EntryNo) key and only when
// its amount is positive, read back with the name of its account.
//
// TradeVoucher is a sale or a purchase: a header copied into every row, five legs (party,
// sales or purchase account, VAT, additional tax, round-off) each with account, name, amount
// and sign, and five private Vchr objects, one per leg, through which it saves and reads.
// Sales and Purchase are this one class over two tables of names (TradeClass).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orv/db/connection.h"
#include "orv/db/record.h"
#include "orv/dispatch.h"

namespace orv::trade {

class Vchr final : public DispatchObject<Vchr> {
 public:
  Vchr();
  static const ClassTable<Vchr>& Table();
  static const TypeInfo& Type_() { return Table().type(); }

  // The row's properties: one table drives the members, the columns Save writes (in table
  // order) and the columns Read fills (in table order, except the key and the account name).
  static std::span<const db::FieldSpec> Fields();
  // The position of a property in Fields(); the table must have it.
  static size_t FieldIndex(std::string_view property);

  // Replaces the row (V_Id, V_EntryNo): deletes it, then inserts the values when V_Amt > 0.
  // The delete and the insert are one unit: if the insert fails the old row stays. Returns 0.
  int16_t Save(const Variant& cn, int16_t y1, int16_t y2);
  // The delete and the insert of Save, for a caller that already runs them in a unit.
  void Replace(db::IConnection& cn, int16_t y1, int16_t y2) const;
  // Sets V_Id and V_EntryNo, then loads the row of that key and its account's name; a missing
  // row changes nothing else.
  void Read(int16_t id, int16_t entry_no, const Variant& cn, int16_t y1, int16_t y2);
  // Read with an account object the caller created for its lookups.
  void Load(Dispatch& account, int16_t id, int16_t entry_no, const Variant& cn, int16_t y1,
            int16_t y2);

  db::Record& values() noexcept { return values_; }
  const db::Record& values() const noexcept { return values_; }

 private:
  db::Record values_;
};

// One of the two trade voucher classes: its identity, the names of its VAT flag and leg
// properties, its property table and its member table. Built once per class, never changed.
struct TradeClass;
const TradeClass& SalesClass();
const TradeClass& PurchaseClass();
const TypeInfo& SalesType();
const TypeInfo& PurchaseType();

class TradeVoucher final : public Dispatch {
 public:
  explicit TradeVoucher(const TradeClass& cls);

  // The members of a trade voucher class with the property table `fields`.
  static std::vector<MemberDef<TradeVoucher>> Members(std::span<const db::FieldSpec> fields);

  const TypeInfo& Type() const noexcept override;
  Variant Invoke(DispId id, InvokeKind kind, std::span<Variant> args) override;

  // Fills the five legs from the header and their trios, then saves them, all or none.
  int16_t Save(const Variant& cn, int16_t y1, int16_t y2);
  // Reads the five legs, then copies their quartets and the header of leg 1.
  void Read(int16_t id, const Variant& cn, int16_t y1, int16_t y2);

 private:
  // Assigns every value property of `leg` that Vchr::Save writes: the trio and the entry
  // number given, the rest from the header.
  void SetVoucherEntry(Vchr& leg, int16_t entry_no, int16_t account, double amount,
                       const std::string& sign);

  const TradeClass& class_;
  db::Record values_;
  std::array<Ref<Vchr>, 5> legs_;
};

}  // namespace orv::trade
