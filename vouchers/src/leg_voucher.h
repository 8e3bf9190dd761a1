// The multi-leg vouchers (receipt, payment, contra, bank): a header common to every row of
// the voucher, an account/amount/sign trio per leg, and one clsVoucher per leg through which
// the voucher is saved and read. One implementation serves every class; what differs between
// the classes (their legs, entry numbers, save orders, where the header is read from) is a
// declarative LegLayout per class.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "orv/db/record.h"
#include "orv/dispatch.h"
#include "voucher.h"

namespace orv::vouchers {

// One leg: its object property and the names of its trio properties.
struct LegDef {
  std::string_view object;
  std::string_view account;  // 16-bit account id
  std::string_view amount;   // double
  std::string_view sign;     // text
};

// Set_VoucherEntry of one leg with its entry number and its own trio.
struct Fill {
  uint8_t leg;
  int16_t entry;
};

// One step of reading a voucher back.
struct ReadStep {
  enum Op : uint8_t {
    kRead,         // the leg's Read(intVId, arg = entry number)
    kTrio,         // the leg's V_AccId, V_Amt, V_AmtSign into its trio
    kHeader,       // every restored header property from the leg
    kHeaderField,  // one header property (arg = its position in the header) from the leg
  } op;
  uint8_t leg;
  int16_t arg = 0;
};

// What Save and Read do for the voucher types it names.
struct Layout {
  std::vector<std::string_view> types;  // V_VoucherType values, compared exactly; empty: all
  std::vector<Fill> fill;               // Set_VoucherEntry, in this order
  std::vector<uint8_t> save;            // then the legs saved, in this order
  std::vector<ReadStep> read;           // Read, after the class's read_prefix
};

struct LegLayout {
  LegLayout(std::vector<LegDef> legs, std::vector<ReadStep> read_prefix,
            std::vector<Layout> layouts);

  std::vector<LegDef> legs;                // interface order, which is also the order of creation
  std::vector<ReadStep> read_prefix;       // read steps before the layout is chosen
  std::vector<Layout> layouts;             // the first whose types match applies; none: nothing
  std::vector<db::FieldSpec> trio_fields;  // account, amount, sign of each leg in turn
};

// Positions of the header properties in HeaderFields().
namespace hf {
enum : size_t {
  kId,
  kDate,
  kVoucherType,
  kRemarks,
  kPVoucherNo,
  kPVoucherType,
  kVchPrefix,
  kVchPrefix2,
  kVchSuffix,
  kVchNo,
  kStrVchNo,
  kVchType1,
  kVchType2,
  kVchType3,
  kVchFlag,
  kExtra1,
  kExtra2,
  kExtra3,
  kExtra4,
  kExtra5,
  kCount
};
}  // namespace hf

// The header properties, in interface order.
std::span<const db::FieldSpec> HeaderFields();

// Dispatch ids: properties count up from the first header property; methods from Save.
inline constexpr DispId kFirstPropertyId = 0x40030000;
inline constexpr DispId kSaveId = 0x60030000;
inline constexpr DispId kReadId = 0x60030001;

class LegVoucher {
 public:
  explicit LegVoucher(const LegLayout& layout);

  // Fills and saves the legs of the layout of V_VoucherType, all of them or none. Returns 0.
  int16_t Save(const Variant& cn, int16_t y1, int16_t y2);
  // Reads the legs and copies their trios and the header as the class's steps say.
  void Read(int16_t id, const Variant& cn, int16_t y1, int16_t y2);

  db::Record header;
  db::Record trios;
  std::vector<Ref<Voucher>> legs;  // shared with whoever else holds them; may be nothing

 private:
  // Assigns the header, the entry number and the trio of leg `trio` to `leg`.
  void Set_VoucherEntry(Voucher* leg, int16_t entry, size_t trio);
  const Layout* LayoutOf(const std::string& voucher_type) const;
  void Run(const ReadStep& step, int16_t id, const Variant& cn, int16_t y1, int16_t y2);
  Voucher& Leg(size_t i) const;

  const LegLayout& layout_;
};

// Appends the members every multi-leg voucher class has, in interface order: the header, the
// trios, the leg objects, Save and Read. T derives from LegVoucher.
template <class T>
void AddLegVoucherMembers(std::vector<MemberDef<T>>& defs, const LegLayout& layout) {
  db::AddFieldMembers<T>(defs, HeaderFields(), &T::header);
  db::AddFieldMembers<T>(defs, std::span<const db::FieldSpec>(layout.trio_fields), &T::trios);
  DispId id = kFirstPropertyId + DispId(hf::kCount + layout.trio_fields.size());
  for (size_t i = 0; i < layout.legs.size(); ++i) {
    MemberDef<T> d;
    d.info =
        MemberInfo{layout.legs[i].object, id++, kPropertyGet | kPropertyPutRef, VarType::Object};
    d.get = [i](T& self) { return Variant(self.legs[i]); };
    d.put = [i](T& self, const Variant& v) { self.legs[i] = VoucherOf(v); };
    defs.push_back(std::move(d));
  }
  const ParamInfo cn{"cn", VarType::Object, true}, y1{"intY1", VarType::Int16},
      y2{"intY2", VarType::Int16};
  defs.push_back(
      {{"Save", kSaveId, kMethod, VarType::Int16, {{"SaveFlag", VarType::Text}, cn, y1, y2}},
       nullptr,
       nullptr,
       [](T& self, std::span<Variant> a) {
         a[0].ToText();  // passed on to the legs, which do not look at it
         return Variant(self.Save(a[1], a[2].ToInt16(), a[3].ToInt16()));
       }});
  defs.push_back(
      {{"Read", kReadId, kMethod, VarType::Empty, {{"intVId", VarType::Int16}, cn, y1, y2}},
       nullptr,
       nullptr,
       [](T& self, std::span<Variant> a) {
         self.Read(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16());
         return Variant();
       }});
}

}  // namespace orv::vouchers
