// Walkthrough step of the voucher component (ORVVouchers): posts a receipt, a payment, a contra
// entry and bank vouchers of each type, reads them back with the names of their legs' accounts,
// and lists the bank vouchers by a query.
#include <iomanip>
#include <sstream>

#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/registry.h"
#include "walkthrough.h"

namespace orv::walkthrough {
namespace {

// The accounts the vouchers post to; the accounts step makes the first three, the others are
// created here (and all of them when this build has no accounts step).
constexpr ChartAccount kCash{11, "Cash", 10};
constexpr ChartAccount kBank{12, "State Bank", 10};
constexpr ChartAccount kCustomer{14, "Ramesh Traders", 13};
constexpr ChartAccount kSalesReturns{51, "Sales Returns", 4};
constexpr ChartAccount kRateDifference{52, "Rate Difference", 4};
constexpr ChartAccount kDiscountAllowed{53, "Discount Allowed", 4};
constexpr ChartAccount kPurchaseReturns{54, "Purchase Returns", 3};
constexpr ChartAccount kTds{55, "TDS Payable", 2};
constexpr ChartAccount kDiscountReceived{56, "Discount Received", 3};
constexpr ChartAccount kSupplier{57, "Gupta Suppliers", 2};

// One leg as the caller fills it: the voucher's property names and the values.
struct Leg {
  const char* object;
  const char* account_property;
  const char* amount_property;
  const char* sign_property;
  ChartAccount account;
  double amount;
  const char* sign;
};

std::string Money(double v) {
  std::ostringstream s;
  s << std::fixed << std::setprecision(2) << v;
  return s.str();
}

void SetHeader(Dispatch& v, int16_t id, const char* type, int16_t number, const char* remarks) {
  v.Put("V_Id", Variant(id));
  v.Put("V_Date", Variant(MakeDate({2008, 10, 6})));
  v.Put("V_VoucherType", Variant(type));
  v.Put("V_VchPrefix", Variant(std::string(type).substr(0, 1) + "/"));
  v.Put("V_VchNo", Variant(number));
  v.Put("V_StrVchNo", Variant(std::string(type).substr(0, 1) + "/" + std::to_string(number)));
  v.Put("V_Remarks", Variant(remarks));
}

void SetLegs(Dispatch& v, const std::vector<Leg>& legs) {
  for (const Leg& l : legs) {
    v.Put(l.account_property, Variant(l.account.id));
    v.Put(l.amount_property, Variant(l.amount));
    v.Put(l.sign_property, Variant(l.sign));
  }
}

Variant Save(Context& ctx, Dispatch& v) {
  return CallWithYear(ctx, v, "Save", {Variant("New")});
}

void Read(Context& ctx, Dispatch& v, int16_t id) {
  CallWithYear(ctx, v, "Read", {Variant(id)});
}

// The rows of a voucher as the table holds them, in the order they were written.
void ShowRows(Context& ctx, int16_t id) {
  db::Recordset rs;
  rs.Open("Select V_EntryNo, V_AccId, V_Amt, V_AmtSign, V_VoucherType from VOUCHERS" +
              db::YearSuffix(ctx.year1, ctx.year2) + " where V_Id=" + std::to_string(id) +
              " order by rowid",
          ctx.cn);
  for (; !rs.Eof(); rs.MoveNext())
    std::cout << "    row (" << id << ", " << rs.Field("V_EntryNo").ToText() << ")  account "
              << std::setw(2) << rs.Field("V_AccId").ToText() << "  " << std::setw(9)
              << Money(rs.Field("V_Amt").ToDouble()) << " " << rs.Field("V_AmtSign").ToText()
              << "  " << rs.Field("V_VoucherType").ToText() << "\n";
}

// A voucher read back: its header, and per leg the trio and the name its row object looked up.
void ShowRead(Dispatch& v, const std::vector<Leg>& legs) {
  std::cout << "  read back: " << v.Get("V_VoucherType").ToText() << " "
            << v.Get("V_StrVchNo").ToText() << " of " << FormatDate(v.Get("V_Date").ToDate())
            << ", \"" << v.Get("V_Remarks").ToText() << "\"\n";
  for (const Leg& l : legs) {
    Ref<Dispatch> row = AsDispatch(v.Get(l.object));
    std::cout << "    " << std::left << std::setw(15) << l.object << std::right << " entry "
              << row->Get("V_EntryNo").ToText() << "  " << std::setw(2)
              << v.Get(l.account_property).ToText() << " " << std::left << std::setw(18)
              << row->Get("V_AccountName").ToText() << std::right << std::setw(9)
              << Money(v.Get(l.amount_property).ToDouble()) << " "
              << v.Get(l.sign_property).ToText() << "\n";
  }
}

// Fills a new voucher of class `prog_id` and saves it "New"; returns what Save returned.
Variant Post(Context& ctx, const char* prog_id, int16_t id, const char* type, int16_t number,
             const char* remarks, const std::vector<Leg>& legs) {
  Ref<Dispatch> v = CreateObject(prog_id);
  SetHeader(*v, id, type, number, remarks);
  SetLegs(*v, legs);
  return Save(ctx, *v);
}

// The rows a posted voucher left, and the voucher read back into a new object of its class.
void ShowPosted(Context& ctx, const char* prog_id, int16_t id, const std::vector<Leg>& legs) {
  ShowRows(ctx, id);
  Ref<Dispatch> back = CreateObject(prog_id);
  Read(ctx, *back, id);
  ShowRead(*back, legs);
}

std::vector<Leg> ReceiptLegs(const ChartAccount& bank, double bank_amount, const char* bank_sign,
                             const ChartAccount& party, double party_amount, const char* party_sign,
                             double rate_difference, double discount) {
  return {
      {"Bank", "BankAccId", "BankAmt", "BankAmtSign", bank, bank_amount, bank_sign},
      {"SalesReturn", "SalesReturnAccId", "SalesReturnAmt", "SalesReturnAmtSign", kSalesReturns, 0,
       "Dr"},
      {"RateDifference", "RateDiffAccId", "RateDiffAmt", "RateDiffAmtSign", kRateDifference,
       rate_difference, "Dr"},
      {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign", kDiscountAllowed, discount, "Dr"},
      {"Customer", "CustomerAccId", "CustomerAmt", "CustomerAmtSign", party, party_amount,
       party_sign},
  };
}

}  // namespace

void Vouchers(Context& ctx) {
  Heading("Vouchers");
  for (const ChartAccount& a :
       {kCash, kBank, kCustomer, kSalesReturns, kRateDifference, kDiscountAllowed, kPurchaseReturns,
        kTds, kDiscountReceived, kSupplier})
    EnsureAccount(ctx, a);

  // A receipt: five legs, entries 1 to 5; the legs with nothing in them are rows all the same.
  std::cout << "\nclsRcptVoucher 201: Ramesh Traders pays 10,000.00 less 100.00 rate difference "
               "and 200.00 discount\n";
  const auto receipt_legs = ReceiptLegs(kBank, 9700, "Dr", kCustomer, 10000, "Cr", 100, 200);
  std::cout << "  Save returned "
            << Post(ctx, "ORVVouchers.clsRcptVoucher", 201, "Receipt", 1,
                    "cheque 004512 against bill S-17", receipt_legs)
                   .ToText()
            << "\n";
  ShowPosted(ctx, "ORVVouchers.clsRcptVoucher", 201, receipt_legs);

  // A payment: the same shape with the payment's legs; the header comes back from Supplier.
  std::cout << "\nclsPymtVoucher 202: 5,000.00 to Gupta Suppliers, 100.00 TDS withheld, "
               "50.00 discount received\n";
  const std::vector<Leg> payment_legs = {
      {"Bank", "BankAccId", "BankAmt", "BankAmtSign", kBank, 4850, "Cr"},
      {"PurchaseReturn", "PurchaseReturnAccId", "PurchaseReturnAmt", "PurchaseReturnAmtSign",
       kPurchaseReturns, 0, "Cr"},
      {"TDS", "TDSAccId", "TDSAmt", "TDSAmtSign", kTds, 100, "Cr"},
      {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign", kDiscountReceived, 50, "Cr"},
      {"Supplier", "SupplierAccId", "SupplierAmt", "SupplierAmtSign", kSupplier, 5000, "Dr"},
  };
  Post(ctx, "ORVVouchers.clsPymtVoucher", 202, "Payment", 1, "cheque 118 for bill P-4",
       payment_legs);
  ShowPosted(ctx, "ORVVouchers.clsPymtVoucher", 202, payment_legs);

  // A contra entry: cash deposited into the bank, Cash entry 1 and Bank entry 2.
  std::cout << "\nclsContraVoucher 203: 2,000.00 cash deposited into State Bank\n";
  const std::vector<Leg> contra_legs = {
      {"Cash", "CashAccId", "CashAmt", "CashAmtSign", kCash, 2000, "Cr"},
      {"Bank", "BankAccId", "BankAmt", "BankAmtSign", kBank, 2000, "Dr"},
  };
  Post(ctx, "ORVVouchers.clsContraVoucher", 203, "Contra", 1, "cash deposited", contra_legs);
  ShowPosted(ctx, "ORVVouchers.clsContraVoucher", 203, contra_legs);

  // Bank vouchers: the layout follows V_VoucherType, compared exactly.
  struct BankCase {
    int16_t id;
    const char* type;
    std::vector<Leg> legs;
    const char* what;
  };
  const BankCase bank_cases[] = {
      {204, "Receipt", ReceiptLegs(kBank, 1500, "Dr", kCustomer, 1500, "Cr", 0, 0),
       "a bank receipt: the receipt's five legs, entries 1 to 5"},
      {205, "Payment", ReceiptLegs(kBank, 800, "Cr", kSupplier, 800, "Dr", 0, 0),
       "a bank payment: the same five legs"},
      {206,
       "Contra",
       {{"Bank", "BankAccId", "BankAmt", "BankAmtSign", kBank, 3000, "Cr"},
        {"Customer", "CustomerAccId", "CustomerAmt", "CustomerAmtSign", kCash, 3000, "Dr"}},
       "a contra entry (cash withdrawn): Customer is entry 1, Bank entry 2, Bank saved first"},
  };
  for (const BankCase& c : bank_cases) {
    std::cout << "\nclsBankVoucher " << c.id << ", " << c.what << "\n";
    Post(ctx, "ORVVouchers.clsBankVoucher", c.id, c.type, int16_t(c.id - 200), "bank voucher",
         c.legs);
    ShowPosted(ctx, "ORVVouchers.clsBankVoucher", c.id, c.legs);
  }
  std::cout << "\nclsBankVoucher 207 of type \"receipt\": Save returned "
            << Post(ctx, "ORVVouchers.clsBankVoucher", 207, "receipt", 9,
                    "type in other letter case", bank_cases[0].legs)
                   .ToText()
            << " and wrote nothing (the types compare exactly)\n";
  ShowRows(ctx, 207);

  // The bank vouchers listed by a query: one voucher per row of the result.
  const std::string query = "Select V_Id from VOUCHERS" + db::YearSuffix(ctx.year1, ctx.year2) +
                            " where V_EntryNo=1 And V_Id between 204 And 206 order by V_Id";
  std::cout << "\nGet_Vouchers_With_Details(\"" << query << "\")\n";
  Ref<Dispatch> lister = CreateObject("ORVVouchers.clsBankVoucher");
  std::vector<Variant> args = {Variant(query), ctx.cn, Variant(ctx.year1), Variant(ctx.year2),
                               Variant()};
  const int16_t count = lister->Call("Get_Vouchers_With_Details", args).ToInt16();
  const SafeArray& a1 = args.back().array();
  for (int16_t i = 0; i < count; ++i) {
    Ref<Dispatch> v = AsDispatch(a1.items[size_t(i)]);
    std::cout << "  a1(" << i << "): " << v->Get("V_Id").ToText() << " " << std::left
              << std::setw(8) << v->Get("V_VoucherType").ToText() << std::right << " bank "
              << std::setw(8) << Money(v->Get("BankAmt").ToDouble()) << " "
              << v->Get("BankAmtSign").ToText() << ", other side "
              << AsDispatch(v->Get("Customer"))->Get("V_AccountName").ToText() << "\n";
  }
  std::cout << "  " << count << " vouchers; a1 has " << a1.items.size()
            << " elements, the last one empty\n";

  // Only a single read-only query runs.
  const std::string refused = "Delete from VOUCHERS" + db::YearSuffix(ctx.year1, ctx.year2);
  args = {Variant(refused), ctx.cn, Variant(ctx.year1), Variant(ctx.year2), Variant()};
  try {
    lister->Call("Get_Vouchers_With_Details", args);
  } catch (const AutomationError& e) {
    std::cout << "Get_Vouchers_With_Details(\"" << refused << "\") refused: error " << e.number()
              << ", " << e.description() << "\n";
  }
}

}  // namespace orv::walkthrough
