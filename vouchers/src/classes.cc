#include "classes.h"

#include "orv/db/read_snapshot.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"

namespace orv::vouchers {
namespace {

using S = ReadStep;

// The legs of a receipt, which the bank voucher shares.
enum ReceiptLeg : uint8_t { kBank, kSalesReturn, kRateDifference, kDiscount, kCustomer };
std::vector<LegDef> ReceiptLegs() {
  return {
      {"Bank", "BankAccId", "BankAmt", "BankAmtSign"},
      {"SalesReturn", "SalesReturnAccId", "SalesReturnAmt", "SalesReturnAmtSign"},
      {"RateDifference", "RateDiffAccId", "RateDiffAmt", "RateDiffAmtSign"},
      {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign"},
      {"Customer", "CustomerAccId", "CustomerAmt", "CustomerAmtSign"},
  };
}

// Five legs as entries 1 to 5, filled and saved in leg order; read back in leg order, then
// the trios, then the header from `header_leg`.
Layout FiveLegs(uint8_t header_leg) {
  return {{},
          {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}},
          {0, 1, 2, 3, 4},
          {{S::kRead, 0, 1},
           {S::kRead, 1, 2},
           {S::kRead, 2, 3},
           {S::kRead, 3, 4},
           {S::kRead, 4, 5},
           {S::kTrio, 0},
           {S::kTrio, 1},
           {S::kTrio, 2},
           {S::kTrio, 3},
           {S::kTrio, 4},
           {S::kHeader, header_leg}}};
}

template <class T>
ClassTable<T> MakeTable(std::string_view name, std::string_view clsid, std::string_view iface,
                        std::string_view iid) {
  std::vector<MemberDef<T>> defs;
  AddLegVoucherMembers(defs, T::Layout());
  return ClassTable<T>(name, clsid, iface, iid, std::move(defs));
}

}  // namespace

// ---- clsRcptVoucher

RcptVoucher::RcptVoucher() : LegVoucher(Layout()) {}

const LegLayout& RcptVoucher::Layout() {
  static const LegLayout layout(ReceiptLegs(), {}, {FiveLegs(kCustomer)});
  return layout;
}

const ClassTable<RcptVoucher>& RcptVoucher::Table() {
  static const auto table =
      MakeTable<RcptVoucher>("clsRcptVoucher", "{36117908-93D8-4B98-8D9B-C813C8684ABB}",
                             "_clsRcptVoucher", "{725F0F17-C095-4A5D-A51C-C1A9DE35B693}");
  return table;
}

// ---- clsPymtVoucher

PymtVoucher::PymtVoucher() : LegVoucher(Layout()) {}

const LegLayout& PymtVoucher::Layout() {
  static const LegLayout layout(
      {
          {"Bank", "BankAccId", "BankAmt", "BankAmtSign"},
          {"PurchaseReturn", "PurchaseReturnAccId", "PurchaseReturnAmt", "PurchaseReturnAmtSign"},
          {"TDS", "TDSAccId", "TDSAmt", "TDSAmtSign"},
          {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign"},
          {"Supplier", "SupplierAccId", "SupplierAmt", "SupplierAmtSign"},
      },
      {}, {FiveLegs(/*Supplier*/ 4)});
  return layout;
}

const ClassTable<PymtVoucher>& PymtVoucher::Table() {
  static const auto table =
      MakeTable<PymtVoucher>("clsPymtVoucher", "{9BA3D3C5-D0EC-41A8-9D67-0C702B723163}",
                             "_clsPymtVoucher", "{D3D715FA-588D-4DC1-ADCC-F031FA22A271}");
  return table;
}

// ---- clsContraVoucher

ContraVoucher::ContraVoucher() : LegVoucher(Layout()) {}

const LegLayout& ContraVoucher::Layout() {
  enum : uint8_t { kCash, kBankLeg };
  static const LegLayout layout(
      {
          {"Cash", "CashAccId", "CashAmt", "CashAmtSign"},
          {"Bank", "BankAccId", "BankAmt", "BankAmtSign"},
      },
      {},
      {{{},
        {{kCash, 1}, {kBankLeg, 2}},
        {kCash, kBankLeg},
        {{S::kRead, kCash, 1},
         {S::kRead, kBankLeg, 2},
         {S::kTrio, kCash},
         {S::kTrio, kBankLeg},
         {S::kHeader, kCash}}}});
  return layout;
}

const ClassTable<ContraVoucher>& ContraVoucher::Table() {
  static const auto table =
      MakeTable<ContraVoucher>("clsContraVoucher", "{603833C5-F496-42F8-BD51-3089E3E48080}",
                               "_clsContraVoucher", "{F1C6E47B-854F-453C-AC2F-FA4EF5873CD7}");
  return table;
}

// ---- clsBankVoucher

BankVoucher::BankVoucher() : LegVoucher(Layout()) {}

const LegLayout& BankVoucher::Layout() {
  static const LegLayout layout(
      ReceiptLegs(),
      // Row 1 decides the layout: it is read into Bank and gives the header.
      {{S::kRead, kBank, 1}, {S::kHeader, kBank}},
      {
          // A bank receipt or payment: the receipt's five legs, header kept from row 1.
          {{"Payment", "Receipt"},
           {{kBank, 1}, {kSalesReturn, 2}, {kRateDifference, 3}, {kDiscount, 4}, {kCustomer, 5}},
           {kBank, kSalesReturn, kRateDifference, kDiscount, kCustomer},
           {{S::kTrio, kBank},
            {S::kRead, kSalesReturn, 2},
            {S::kRead, kRateDifference, 3},
            {S::kRead, kDiscount, 4},
            {S::kRead, kCustomer, 5},
            {S::kTrio, kSalesReturn},
            {S::kTrio, kRateDifference},
            {S::kTrio, kDiscount},
            {S::kTrio, kCustomer}}},
          // A contra entry: Customer is row 1 and Bank row 2, saved bank first; V_VchType3
          // comes from row 2.
          {{"Contra"},
           {{kCustomer, 1}, {kBank, 2}},
           {kBank, kCustomer},
           {{S::kRead, kCustomer, 1},
            {S::kRead, kBank, 2},
            {S::kTrio, kCustomer},
            {S::kHeaderField, kBank, hf::kVchType3},
            {S::kTrio, kBank}}},
      });
  return layout;
}

int16_t BankVoucher::Get_Vouchers_With_Details(const std::string& sql, const Variant& cn,
                                               int16_t y1, int16_t y2, Variant& a1) {
  db::ReadSnapshot snapshot(cn);  // the list and every voucher in it from one state of the table
  db::Recordset rs;
  if (!sql.empty()) {
    // The caller's text runs verbatim, so it must be a single statement that only reads.
    db::CheckReadOnlyQuery(db::ConnectionOf(cn), sql);
    rs.Open(sql, cn);
  }
  // Without a query this fails as a recordset that is not open, before a1 is touched.
  const int32_t count = rs.RecordCount();
  a1 = Variant(SafeArray{0, std::vector<Variant>(size_t(count) + 1)});
  int16_t index = 0;
  while (!rs.Eof()) {
    auto voucher = MakeRef<BankVoucher>();
    a1.array().items[size_t(index)] = Variant(voucher);
    const int16_t id = db::ReadAs(rs.Field("V_Id"), db::ReadMode::kStrict, VarType::Int16).int16();
    voucher->Read(id, cn, y1, y2);
    rs.MoveNext();
    index = AddInt16(index, 1);
  }
  return index;
}

const ClassTable<BankVoucher>& BankVoucher::Table() {
  static const ClassTable<BankVoucher> table = [] {
    std::vector<MemberDef<BankVoucher>> defs;
    AddLegVoucherMembers(defs, Layout());
    defs.push_back({{"Get_Vouchers_With_Details",
                     kReadId + 1,
                     kMethod,
                     VarType::Int16,
                     {{"strSQL", VarType::Text},
                      {"cn", VarType::Object, true},
                      {"intYear1", VarType::Int16},
                      {"intYear2", VarType::Int16},
                      {"a1", VarType::Array, true}}},
                    nullptr,
                    nullptr,
                    [](BankVoucher&, std::span<Variant> a) {
                      return Variant(Get_Vouchers_With_Details(a[0].ToText(), a[1], a[2].ToInt16(),
                                                               a[3].ToInt16(), a[4]));
                    }});
    return ClassTable<BankVoucher>("clsBankVoucher", "{E1B055F6-7100-4477-875E-AAE0ABC1E893}",
                                   "_clsBankVoucher", "{48DBBDEB-DCAD-4183-B2DC-121BDE6AC731}",
                                   std::move(defs));
  }();
  return table;
}

}  // namespace orv::vouchers
