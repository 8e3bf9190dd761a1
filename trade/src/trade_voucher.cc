// Sales and Purchase: one implementation over two tables of names.
#include <stdexcept>

#include "classes.h"
#include "orv/db/account_lookup.h"
#include "orv/db/read_snapshot.h"
#include "orv/db/unit.h"

namespace orv::trade {
namespace {

using db::FieldSpec;
using db::ReadMode;
using namespace db::field_table;
// Whether Read takes the property back from leg 1.
constexpr ReadMode kRestored = kStrict;
constexpr ReadMode kKept = kNotRead;

// The header, in interface order. The column is the leg property (and so the voucher table
// column) that the header property fills in every leg on Save.
constexpr FieldSpec kHeader[] = {
    {"V_Id", kInt16, "V_Id", kRestored, 0x40030000},
    {"V_Date", kDate, "V_Date", kRestored, 0x40030001},
    {"V_VoucherType", kText, "V_VoucherType", kRestored, 0x40030002},
    {"V_Remarks", kText, "V_Remarks", kRestored, 0x40030003},
    {"V_PVoucherNo", kInt16, "V_PVoucherNo", kRestored, 0x40030004},
    {"V_PVoucherType", kText, "V_PVoucherType", kRestored, 0x40030005},
    {"V_VchPrefix", kText, "V_VchPrefix", kRestored, 0x40030006},
    {"V_VchPrefix2", kText, "V_VchPrefix2", kRestored, 0x40030007},
    {"V_VchSuffix", kText, "V_VchSuffix", kRestored, 0x40030008},
    {"V_VchSuffix2", kText, "V_VchSuffix2", kRestored, 0x40030009},
    {"V_VchNo", kInt16, "V_VchNo", kRestored, 0x4003000A},
    {"V_StrVchNo", kText, "V_StrVchNo", kRestored, 0x4003000B},
    {"V_VchType1", kText, "V_VchType1", kRestored, 0x4003000C},
    {"V_VchType2", kText, "V_VchType2", kRestored, 0x4003000D},
    {"V_VchType3", kText, "V_VchType3", kRestored, 0x4003000E},
    {"V_VchFlag", kBool, "V_VchFlag", kKept, 0x4003000F},
    {"V_Cleared", kBool, "V_Cleared", kKept, 0x40030010},
    {"V_Audit", kBool, "V_Audit", kKept, 0x40030011},
    {"V_Extra1", kText, "V_Extra1", kRestored, 0x40030012},
    {"V_Extra2", kText, "V_Extra2", kRestored, 0x40030013},
    {"V_Extra3", kText, "V_Extra3", kRestored, 0x40030014},
    {"V_Extra4", kText, "V_Extra4", kRestored, 0x40030015},
    {"V_Extra5", kText, "V_Extra5", kRestored, 0x40030016},
};
constexpr size_t kHeaderCount = std::size(kHeader);
constexpr size_t kLegCount = 5;
// After the header: the VAT flag (held only), then one quartet per leg.
constexpr DispId kVatFlagId = 0x40030017;
constexpr DispId kFirstLegId = 0x40030018;
constexpr DispId kSaveId = 0x60030000;
constexpr DispId kReadId = 0x60030001;

// A leg's quartet: the positions of its properties in the class's property table.
enum Quartet : size_t { kAccount, kName, kAmount, kSign, kQuartetSize };
constexpr size_t QuartetIndex(size_t leg, Quartet q) {
  return kHeaderCount + 1 + leg * kQuartetSize + q;
}

struct TradeNames {
  std::string_view class_name, clsid, interface_name, iid;
  std::string_view vat_flag;
  // Per leg, entry numbers 1 to 5: account, name, amount and sign.
  std::array<std::array<std::string_view, kQuartetSize>, kLegCount> legs;
};

constexpr TradeNames kSalesNames{
    "Sales",
    "{088B7CD0-BF09-460F-922E-0D5A8516B265}",
    "_Sales",
    "{4174527F-ABC9-4C27-80B8-50C152409584}",
    "IsVatSales",
    {{{"CustomerAccId", "CustomerName", "CustomerAmt", "CustomerAmtSign"},
      {"SalesAccId", "SalesAccName", "SalesAmt", "SalesAmtSign"},
      {"VatAccId", "VatAccName", "VatAmt", "VatAmtSign"},
      {"AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"},
      {"RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"}}},
};

constexpr TradeNames kPurchaseNames{
    "Purchase",
    "{36D88836-8ECF-48EE-9082-64A81949C4A4}",
    "_Purchase",
    "{CA44331E-C4D8-4A80-B264-1E9FE776D44D}",
    "IsVatPurchase",
    {{{"SupplierAccId", "SupplierName", "SupplierAmt", "SupplierAmtSign"},
      {"PurchaseAccId", "PurchaseAccName", "PurchaseAmt", "PurchaseAmtSign"},
      {"VatAccId", "VatAccName", "VatAmt", "VatAmtSign"},
      {"AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"},
      {"RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"}}},
};

// Where each value property of a leg comes from when the voucher fills it.
struct LegSource {
  size_t leg_field;
  enum From { kFromHeader, kFromEntryNo, kFromAccount, kFromAmount, kFromSign } from;
  size_t header = 0;
};

// In the leg's property order, which is the order in which the leg writes its columns.
const std::vector<LegSource>& LegSources() {
  static const std::vector<LegSource> sources = [] {
    std::vector<LegSource> s;
    const auto fields = Vchr::Fields();
    for (size_t i = 0; i < fields.size(); ++i) {
      const FieldSpec& f = fields[i];
      if (f.get_only) continue;
      if (f.property == "V_EntryNo")
        s.push_back({i, LegSource::kFromEntryNo});
      else if (f.property == "V_AccId")
        s.push_back({i, LegSource::kFromAccount});
      else if (f.property == "V_Amt")
        s.push_back({i, LegSource::kFromAmount});
      else if (f.property == "V_AmtSign")
        s.push_back({i, LegSource::kFromSign});
      else {
        size_t h = 0;
        while (h < kHeaderCount && kHeader[h].column != f.property) ++h;
        if (h == kHeaderCount) throw std::logic_error("no header property fills a leg's column");
        s.push_back({i, LegSource::kFromHeader, h});
      }
    }
    return s;
  }();
  return sources;
}

// For each header property, the leg property it is restored from (or none).
const std::array<size_t, kHeaderCount>& HeaderFromLeg() {
  static const std::array<size_t, kHeaderCount> from = [] {
    std::array<size_t, kHeaderCount> a{};
    for (size_t h = 0; h < kHeaderCount; ++h) a[h] = Vchr::FieldIndex(kHeader[h].column);
    return a;
  }();
  return from;
}

const size_t kLegAccId = Vchr::FieldIndex("V_AccId");
const size_t kLegAccountName = Vchr::FieldIndex("V_AccountName");
const size_t kLegAmt = Vchr::FieldIndex("V_Amt");
const size_t kLegAmtSign = Vchr::FieldIndex("V_AmtSign");

std::vector<FieldSpec> PropertiesOf(const TradeNames& n) {
  std::vector<FieldSpec> f(std::begin(kHeader), std::end(kHeader));
  f.push_back({n.vat_flag, kBool, "", kNotRead, kVatFlagId});
  constexpr VarType kQuartetTypes[kQuartetSize] = {kInt16, kText, kDouble, kText};
  DispId id = kFirstLegId;
  for (const auto& leg : n.legs)
    for (size_t q = 0; q < kQuartetSize; ++q)
      f.push_back({leg[q], kQuartetTypes[q], "", kNotRead, id++});
  return f;
}

}  // namespace

struct TradeClass {
  explicit TradeClass(const TradeNames& n)
      : fields(PropertiesOf(n)),
        table(n.class_name, n.clsid, n.interface_name, n.iid, TradeVoucher::Members(fields)) {}

  std::vector<FieldSpec> fields;
  ClassTable<TradeVoucher> table;
};

const TradeClass& SalesClass() {
  static const TradeClass c(kSalesNames);
  return c;
}
const TradeClass& PurchaseClass() {
  static const TradeClass c(kPurchaseNames);
  return c;
}
const TypeInfo& SalesType() {
  return SalesClass().table.type();
}
const TypeInfo& PurchaseType() {
  return PurchaseClass().table.type();
}

TradeVoucher::TradeVoucher(const TradeClass& cls) : class_(cls), values_(cls.fields) {
  for (Ref<Vchr>& leg : legs_) leg = MakeRef<Vchr>();
}

const TypeInfo& TradeVoucher::Type() const noexcept {
  return class_.table.type();
}

Variant TradeVoucher::Invoke(DispId id, InvokeKind kind, std::span<Variant> args) {
  return class_.table.Invoke(*this, id, kind, args);
}

void TradeVoucher::SetVoucherEntry(Vchr& leg, int16_t entry_no, int16_t account, double amount,
                                   const std::string& sign) {
  db::Record& r = leg.values();
  for (const LegSource& s : LegSources()) {
    switch (s.from) {
      case LegSource::kFromHeader:
        r.Set(s.leg_field, values_[s.header]);
        break;
      case LegSource::kFromEntryNo:
        r.Set(s.leg_field, Variant(entry_no));
        break;
      case LegSource::kFromAccount:
        r.Set(s.leg_field, Variant(account));
        break;
      case LegSource::kFromAmount:
        r.Set(s.leg_field, Variant(amount));
        break;
      case LegSource::kFromSign:
        r.Set(s.leg_field, Variant(sign));
        break;
    }
  }
}

int16_t TradeVoucher::Save(const Variant& cn, int16_t y1, int16_t y2) {
  for (size_t k = 0; k < kLegCount; ++k)
    SetVoucherEntry(*legs_[k], int16_t(k + 1), values_.Int16(QuartetIndex(k, kAccount)),
                    values_.Double(QuartetIndex(k, kAmount)), values_.Text(QuartetIndex(k, kSign)));
  // All five rows or none: a failing leg undoes the legs saved before it. Each leg replaces
  // its row as its own Save does, inside this one unit.
  db::IConnection& c = db::ConnectionOf(cn);
  db::WriteUnit unit(c);
  for (const Ref<Vchr>& leg : legs_) leg->Replace(c, y1, y2);
  unit.Commit();
  return 0;
}

void TradeVoucher::Read(int16_t id, const Variant& cn, int16_t y1, int16_t y2) {
  // One account object serves the five lookups; it is created before any leg changes, as
  // each leg's own Read would create its own.
  const Ref<Dispatch> account = db::NewAccountObject();
  const db::ReadSnapshot snapshot(cn);
  for (size_t k = 0; k < kLegCount; ++k) legs_[k]->Load(*account, id, int16_t(k + 1), cn, y1, y2);
  // Only now, with every leg read, does the voucher change.
  for (size_t k = 0; k < kLegCount; ++k) {
    const db::Record& leg = legs_[k]->values();
    values_.Set(QuartetIndex(k, kAccount), leg[kLegAccId]);
    values_.Set(QuartetIndex(k, kName), leg[kLegAccountName]);
    values_.Set(QuartetIndex(k, kAmount), leg[kLegAmt]);
    values_.Set(QuartetIndex(k, kSign), leg[kLegAmtSign]);
  }
  const db::Record& party = legs_[0]->values();
  for (size_t h = 0; h < kHeaderCount; ++h)
    if (kHeader[h].read == kRestored) values_.Set(h, party[HeaderFromLeg()[h]]);
}

std::vector<MemberDef<TradeVoucher>> TradeVoucher::Members(std::span<const FieldSpec> fields) {
  std::vector<MemberDef<TradeVoucher>> defs;
  db::AddFieldMembers(defs, fields, &TradeVoucher::values_);
  const ParamInfo cn{"cn", VarType::Object, true};
  defs.push_back({{"Save",
                   kSaveId,
                   kMethod,
                   kInt16,
                   {{"SaveFlag", kText}, cn, {"intY1", kInt16}, {"intY2", kInt16}}},
                  nullptr,
                  nullptr,
                  // The flag is not looked at: every save replaces the voucher's rows.
                  [](TradeVoucher& v, std::span<Variant> a) {
                    return Variant(v.Save(a[1], a[2].ToInt16(), a[3].ToInt16()));
                  }});
  defs.push_back({{"Read",
                   kReadId,
                   kMethod,
                   VarType::Empty,
                   {{"intVId", kInt16}, cn, {"intY1", kInt16}, {"intY2", kInt16}}},
                  nullptr,
                  nullptr,
                  [](TradeVoucher& v, std::span<Variant> a) {
                    v.Read(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16());
                    return Variant();
                  }});
  return defs;
}

}  // namespace orv::trade
