#include "leg_voucher.h"

#include <array>

#include "orv/db/read_snapshot.h"
#include "orv/db/unit.h"

namespace orv::vouchers {
namespace {

// The header: each property fills the leg property of the same name on Save, and all but
// V_VchFlag are restored from a leg by Read.
struct HeaderSource {
  size_t leg_field;
  bool restored;
};
constexpr HeaderSource kHeader[] = {
    {vf::kId, true},        {vf::kDate, true},       {vf::kVoucherType, true},
    {vf::kRemarks, true},   {vf::kPVoucherNo, true}, {vf::kPVoucherType, true},
    {vf::kVchPrefix, true}, {vf::kVchPrefix2, true}, {vf::kVchSuffix, true},
    {vf::kVchNo, true},     {vf::kStrVchNo, true},   {vf::kVchType1, true},
    {vf::kVchType2, true},  {vf::kVchType3, true},   {vf::kVchFlag, false},
    {vf::kExtra1, true},    {vf::kExtra2, true},     {vf::kExtra3, true},
    {vf::kExtra4, true},    {vf::kExtra5, true},
};
static_assert(std::size(kHeader) == hf::kCount);

// Where Set_VoucherEntry takes each leg property from.
enum class Source : uint8_t { kHeader, kAccount, kAmount, kSign, kEntryNo, kNothing };
struct LegSource {
  Source source = Source::kNothing;
  size_t header = 0;
};

const std::array<LegSource, vf::kCount>& LegSources() {
  static const auto sources = [] {
    std::array<LegSource, vf::kCount> s{};
    for (size_t i = 0; i < hf::kCount; ++i) s[kHeader[i].leg_field] = {Source::kHeader, i};
    s[vf::kAccId].source = Source::kAccount;
    s[vf::kAmt].source = Source::kAmount;
    s[vf::kAmtSign].source = Source::kSign;
    s[vf::kEntryNo].source = Source::kEntryNo;
    return s;
  }();
  return sources;
}

}  // namespace

std::span<const db::FieldSpec> HeaderFields() {
  static const std::vector<db::FieldSpec> fields = [] {
    std::vector<db::FieldSpec> f;
    for (size_t i = 0; i < hf::kCount; ++i) {
      const db::FieldSpec& leg = VoucherFields()[kHeader[i].leg_field];
      f.push_back({leg.property, leg.type, "", db::ReadMode::kNone, kFirstPropertyId + DispId(i)});
    }
    return f;
  }();
  return fields;
}

LegLayout::LegLayout(std::vector<LegDef> legs_in, std::vector<ReadStep> read_prefix_in,
                     std::vector<Layout> layouts_in)
    : legs(std::move(legs_in)),
      read_prefix(std::move(read_prefix_in)),
      layouts(std::move(layouts_in)) {
  DispId id = kFirstPropertyId + DispId(hf::kCount);
  for (const LegDef& leg : legs) {
    trio_fields.push_back({leg.account, VarType::Int16, "", db::ReadMode::kNone, id++});
    trio_fields.push_back({leg.amount, VarType::Double, "", db::ReadMode::kNone, id++});
    trio_fields.push_back({leg.sign, VarType::Text, "", db::ReadMode::kNone, id++});
  }
}

LegVoucher::LegVoucher(const LegLayout& layout)
    : header(HeaderFields()), trios(layout.trio_fields), layout_(layout) {
  for (size_t i = 0; i < layout.legs.size(); ++i) legs.push_back(MakeRef<Voucher>());
}

Voucher& LegVoucher::Leg(size_t i) const {
  if (!legs[i]) ThrowObjectNotSet();
  return *legs[i];
}

const Layout* LegVoucher::LayoutOf(const std::string& voucher_type) const {
  for (const Layout& layout : layout_.layouts) {
    if (layout.types.empty()) return &layout;
    for (std::string_view t : layout.types)
      if (t == voucher_type) return &layout;
  }
  return nullptr;
}

void LegVoucher::Set_VoucherEntry(Voucher* leg, int16_t entry, size_t trio) {
  if (!leg) ThrowObjectNotSet();
  const auto& sources = LegSources();
  for (size_t f = 0; f < vf::kCount; ++f) {
    switch (sources[f].source) {
      case Source::kHeader:
        leg->row.Set(f, header[sources[f].header]);
        break;
      case Source::kAccount:
        leg->row.Set(f, trios[3 * trio]);
        break;
      case Source::kAmount:
        leg->row.Set(f, trios[3 * trio + 1]);
        break;
      case Source::kSign:
        leg->row.Set(f, trios[3 * trio + 2]);
        break;
      case Source::kEntryNo:
        leg->row.Set(f, Variant(entry));
        break;
      case Source::kNothing:
        break;
    }
  }
}

int16_t LegVoucher::Save(const Variant& cn, int16_t y1, int16_t y2) {
  const Layout* layout = LayoutOf(header.Text(hf::kVoucherType));
  if (!layout) return 0;
  // Every leg is filled before the first is written.
  for (const Fill& f : layout->fill) Set_VoucherEntry(legs[f.leg].get(), f.entry, f.leg);
  // The legs' rows are written together: a failing leg leaves the voucher as it was.
  db::WriteUnit unit(cn);
  for (uint8_t leg : layout->save) Leg(leg).Write(cn, y1, y2);
  unit.Commit();
  return 0;
}

void LegVoucher::Run(const ReadStep& step, int16_t id, const Variant& cn, int16_t y1, int16_t y2) {
  Voucher& leg = Leg(step.leg);
  switch (step.op) {
    case ReadStep::kRead:
      leg.Read(id, step.arg, cn, y1, y2);
      break;
    case ReadStep::kTrio:
      trios.Set(3 * step.leg, leg.row[vf::kAccId]);
      trios.Set(3 * step.leg + 1, leg.row[vf::kAmt]);
      trios.Set(3 * step.leg + 2, leg.row[vf::kAmtSign]);
      break;
    case ReadStep::kHeader:
      for (size_t i = 0; i < hf::kCount; ++i)
        if (kHeader[i].restored) header.Set(i, leg.row[kHeader[i].leg_field]);
      break;
    case ReadStep::kHeaderField:
      header.Set(size_t(step.arg), leg.row[kHeader[step.arg].leg_field]);
      break;
  }
}

void LegVoucher::Read(int16_t id, const Variant& cn, int16_t y1, int16_t y2) {
  db::ReadSnapshot snapshot(cn);  // every leg from the same state of the table
  for (const ReadStep& step : layout_.read_prefix) Run(step, id, cn, y1, y2);
  const Layout* layout = LayoutOf(header.Text(hf::kVoucherType));
  if (!layout) return;
  for (const ReadStep& step : layout->read) Run(step, id, cn, y1, y2);
}

}  // namespace orv::vouchers
