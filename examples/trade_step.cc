// Walkthrough step of the trade vouchers: a sale with all five legs and a purchase without tax
// legs are posted; the sale is posted again after one leg's amount became 0; both are read back
// with the account master's names.
#include <array>
#include <iomanip>
#include <string>

#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/registry.h"
#include "walkthrough.h"

namespace orv::walkthrough {
namespace {

// The accounts the vouchers post to. The customer, the supplier and the sales account are
// those of the accounts and vouchers steps; any account missing from the chart is created here.
constexpr ChartAccount kCustomer{14, "Ramesh Traders", 13};
constexpr ChartAccount kSupplier{57, "Gupta Suppliers", 2};
constexpr ChartAccount kSalesAccount{30, "Sales", 3};
constexpr ChartAccount kPurchaseAccount{41, "Purchases", 4};
constexpr ChartAccount kVat{61, "VAT Payable", 2};
constexpr ChartAccount kAddTax{62, "Additional Tax Payable", 2};
constexpr ChartAccount kRoundOff{63, "Round Off", 4};

// Account, amount and sign of one leg.
struct Leg {
  int16_t account;
  double amount;
  const char* sign;
};

// The property names of each leg's quartet: account, name, amount, sign.
using Quartet = std::array<const char*, 4>;
constexpr std::array<Quartet, 5> kSalesLegs = {{
    {"CustomerAccId", "CustomerName", "CustomerAmt", "CustomerAmtSign"},
    {"SalesAccId", "SalesAccName", "SalesAmt", "SalesAmtSign"},
    {"VatAccId", "VatAccName", "VatAmt", "VatAmtSign"},
    {"AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"},
    {"RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"},
}};
constexpr std::array<Quartet, 5> kPurchaseLegs = {{
    {"SupplierAccId", "SupplierName", "SupplierAmt", "SupplierAmtSign"},
    {"PurchaseAccId", "PurchaseAccName", "PurchaseAmt", "PurchaseAmtSign"},
    kSalesLegs[2],
    kSalesLegs[3],
    kSalesLegs[4],
}};

void SetVoucher(Dispatch& v, int16_t id, const char* type, const char* number,
                const std::array<Quartet, 5>& names, const std::array<Leg, 5>& legs) {
  v.Put("V_Id", Variant(id));
  v.Put("V_Date", Variant(MakeDate({2008, 9, 12})));
  v.Put("V_VoucherType", Variant(type));
  v.Put("V_StrVchNo", Variant(number));
  v.Put("V_Remarks", Variant(std::string(type) + " bill " + number));
  for (size_t k = 0; k < legs.size(); ++k) {
    v.Put(names[k][0], Variant(legs[k].account));
    v.Put(names[k][2], Variant(legs[k].amount));
    v.Put(names[k][3], Variant(legs[k].sign));
  }
}

void ShowRows(Context& ctx, int16_t id) {
  db::Recordset rs;
  rs.Open("Select V_EntryNo, V_AccId, V_Amt, V_AmtSign from VOUCHERS" +
              db::YearSuffix(ctx.year1, ctx.year2) + " where V_Id=" + std::to_string(id) +
              " order by V_EntryNo",
          ctx.cn);
  std::cout << "  rows of voucher " << id << ":";
  for (; !rs.Eof(); rs.MoveNext())
    std::cout << "  [" << rs.Field(0).ToText() << "] " << rs.Field(1).ToText() << " "
              << rs.Field(2).ToText() << " " << rs.Field(3).ToText();
  std::cout << "\n";
}

void ShowVoucher(Context& ctx, const char* prog_id, int16_t id,
                 const std::array<Quartet, 5>& names) {
  Ref<Dispatch> v = CreateObject(prog_id);
  CallWithYear(ctx, *v, "Read", {Variant(id)});
  std::cout << v->Type().class_name << " " << id
            << " read back: " << v->Get("V_VoucherType").ToText() << " "
            << v->Get("V_StrVchNo").ToText() << " of " << v->Get("V_Date").ToText() << ", \""
            << v->Get("V_Remarks").ToText() << "\"\n";
  for (const Quartet& q : names)
    std::cout << "  " << std::left << std::setw(16) << q[0] << std::right << std::setw(5)
              << v->Get(q[0]).ToText() << "  " << std::left << std::setw(24)
              << v->Get(q[1]).ToText() << std::right << std::setw(9) << v->Get(q[2]).ToText() << " "
              << v->Get(q[3]).ToText() << "\n";
}

}  // namespace

void Trade(Context& ctx) {
  Heading("Trade vouchers");
  for (const ChartAccount& a :
       {kCustomer, kSupplier, kSalesAccount, kPurchaseAccount, kVat, kAddTax, kRoundOff}) {
    const std::string name = EnsureAccount(ctx, a);
    if (!name.empty()) std::cout << "account " << a.id << " " << name << " is in the chart\n";
  }

  // A sale with all five legs.
  Ref<Dispatch> sale = CreateObject("ORVVchr.Sales");
  const std::array<Leg, 5> sale_legs = {{{kCustomer.id, 1180.6, "Dr"},
                                         {kSalesAccount.id, 1000, "Cr"},
                                         {kVat.id, 125, "Cr"},
                                         {kAddTax.id, 55, "Cr"},
                                         {kRoundOff.id, 0.6, "Cr"}}};
  SetVoucher(*sale, 101, "Sales", "S-17", kSalesLegs, sale_legs);
  sale->Put("IsVatSales", Variant(true));
  CallWithYear(ctx, *sale, "Save", {Variant("New")});
  std::cout << "saved sale 101 with five legs\n";
  ShowRows(ctx, 101);

  // A purchase without VAT, additional tax or round-off: those legs leave no row.
  Ref<Dispatch> purchase = CreateObject("ORVVchr.Purchase");
  const std::array<Leg, 5> purchase_legs = {{{kSupplier.id, 2400, "Cr"},
                                             {kPurchaseAccount.id, 2400, "Dr"},
                                             {kVat.id, 0, "Dr"},
                                             {kAddTax.id, 0, "Dr"},
                                             {kRoundOff.id, 0, "Dr"}}};
  SetVoucher(*purchase, 102, "Purchase", "P-4", kPurchaseLegs, purchase_legs);
  CallWithYear(ctx, *purchase, "Save", {Variant("New")});
  std::cout << "saved purchase 102 whose three tax legs are 0\n";
  ShowRows(ctx, 102);

  // The sale loses its round-off: saving again removes that leg's row.
  sale->Put("CustomerAmt", Variant(1180.0));
  sale->Put("RndOffAmt", Variant(0.0));
  CallWithYear(ctx, *sale, "Save", {Variant("Edit")});
  std::cout << "saved sale 101 again with its round-off at 0\n";
  ShowRows(ctx, 101);

  // Read by new objects: a leg without a row keeps a new object's 0 and empty texts.
  ShowVoucher(ctx, "ORVVchr.Sales", 101, kSalesLegs);
  ShowVoucher(ctx, "ORVVchr.Purchase", 102, kPurchaseLegs);
  std::cout << "legs without a row read as account 0, no name, amount 0\n";
}

}  // namespace orv::walkthrough
