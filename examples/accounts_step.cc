// Walkthrough step of the account master (ORVMasters): builds a small chart of accounts through
// clsAccount and clsAccountDetails, lists it with both list queries, looks up a name, sums the
// opening balances and shows a delete that is refused.
#include <iomanip>

#include "orv/db/connection.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"
#include "orv/registry.h"
#include "walkthrough.h"

namespace orv::walkthrough {
namespace {

struct NewAccount {
  int16_t id;
  const char* name;
  const char* flag;  // "G" group, "L" posting account
  int16_t group;
  double opening;
  const char* sign;
};

void PrintList(const Variant& a1, int16_t count) {
  for (int16_t i = 0; i < count; ++i) {
    Ref<Dispatch> a = AsDispatch(a1.array().items[size_t(i)]);
    std::cout << "  " << std::setw(3) << a->Get("AccountId").ToText() << "  "
              << a->Get("AccountName").ToText() << "\n";
  }
  std::cout << "  (" << count << " accounts; the array has " << a1.array().items.size()
            << " elements, the last one empty)\n";
}

}  // namespace

void Accounts(Context& ctx) {
  Heading("Accounts");
  const std::string master = "ACC_MASTER" + db::YearSuffix(ctx.year1, ctx.year2);

  // The primary groups come with the company's template; they carry the account types that
  // every account below them inherits.
  db::IConnection& cn = db::ConnectionOf(ctx.cn);
  cn.Execute("Insert into " + master +
             " (AM_AccId, AM_AccName, AM_GrpFlag, AM_GrpNo, AM_LevelNo, AM_AccType) values "
             "(1, 'Assets', 'G', 0, 1, 'Asset'), (2, 'Liabilities', 'G', 0, 1, 'Liability'), "
             "(3, 'Income', 'G', 0, 1, 'Income'), (4, 'Expenses', 'G', 0, 1, 'Expense')");
  std::cout << "primary groups 1-4 (Assets, Liabilities, Income, Expenses) are in " << master
            << "\n";

  const NewAccount chart[] = {
      {10, "Current Assets", "G", 1, 0, "Dr"},
      {11, "Cash", "L", 10, 5000, "Dr"},
      {12, "State Bank", "L", 10, 25000, "Dr"},
      {13, "Sundry Debtors", "G", 1, 0, "Dr"},
      {14, "Ramesh Traders", "L", 13, 12000, "Dr"},
      {20, "Capital", "L", 2, 42000, "Cr"},
      {30, "Sales", "L", 3, 0, "Cr"},
      {40, "Rent", "L", 4, 0, "Dr"},
  };
  for (const NewAccount& n : chart) {
    Ref<Dispatch> a = CreateObject("ORVMasters.clsAccount");
    a->Put("AccountId", Variant(n.id));
    a->Put("AccountName", Variant(n.name));
    a->Put("GroupFlag", Variant(n.flag));
    a->Put("GroupNo", Variant(n.group));
    a->Put("OpeningBalance", Variant(n.opening));
    a->Put("OpeningBalanceSign", Variant(n.sign));
    Ref<Dispatch> details = AsDispatch(a->Get("AD"));
    details->Put("AccountId", Variant(n.id));
    if (n.id == 14) {
      details->Put("ContactPerson1", Variant("Ramesh Kumar"));
      details->Put("Address", Variant("12 Market Road"));
      details->Put("Area", Variant("Gandhinagar "));
      details->Put("Pincode", Variant("560009 "));
      details->Put("State", Variant("Karnataka"));
      details->Put("TINNo", Variant("29AAACR1234F1Z5"));
      details->Put("Limit", Variant(50000.0));
    }
    CallWithYear(ctx, *a, "Save", {Variant("New"), Variant(n.id)});
    Ref<Dispatch> saved = CreateObject("ORVMasters.clsAccount");
    CallWithYear(ctx, *saved, "Read", {Variant(n.id)});
    std::cout << "saved " << std::setw(2) << n.id << " " << std::left << std::setw(15) << n.name
              << std::right << " flag " << n.flag << ", group " << std::setw(2) << n.group
              << " -> level " << saved->Get("LevelNo").ToText() << ", type "
              << saved->Get("AccountType").ToText() << "\n";
  }
  {
    db::Recordset months;
    months.Open("Select count(*) from ACC_BALANCE" + db::YearSuffix(ctx.year1, ctx.year2), ctx.cn);
    std::cout << "ACC_BALANCE" << db::YearSuffix(ctx.year1, ctx.year2) << " holds "
              << months.Field(0).ToText() << " monthly rows: April " << ctx.year1 << " to March "
              << ctx.year2 << " for each new account\n";
  }

  Ref<Dispatch> account = CreateObject("ORVMasters.clsAccount");
  std::cout << "\nGet_Accounts_With_Id: posting accounts, sorted by name\n";
  // The array argument is by reference: it comes back in the last slot.
  std::vector<Variant> args = {Variant(int16_t{0}),
                               Variant("L"),
                               Variant(""),
                               Variant(""),
                               Variant(int16_t{0}),
                               Variant("AM_AccName"),
                               ctx.cn,
                               Variant(ctx.year1),
                               Variant(ctx.year2),
                               Variant()};
  int16_t count = account->Call("Get_Accounts_With_Id", args).ToInt16();
  PrintList(args.back(), count);

  std::cout << "\nGet_Accounts_With_Id: groups of type Asset at level 2 or deeper\n";
  args = {Variant(int16_t{0}),
          Variant("G"),
          Variant("Asset"),
          Variant(">="),
          Variant(int16_t{2}),
          Variant("AM_AccId"),
          ctx.cn,
          Variant(ctx.year1),
          Variant(ctx.year2),
          Variant()};
  count = account->Call("Get_Accounts_With_Id", args).ToInt16();
  PrintList(args.back(), count);

  std::cout << "\nGet_Accounts_With_Details: the members of Sundry Debtors, read in full\n";
  args = {Variant("Select AM_AccId from " + master + " where AM_GrpNo=13 order by AM_AccId"),
          ctx.cn, Variant(ctx.year1), Variant(ctx.year2), Variant()};
  count = account->Call("Get_Accounts_With_Details", args).ToInt16();
  for (int16_t i = 0; i < count; ++i) {
    Ref<Dispatch> a = AsDispatch(args.back().array().items[size_t(i)]);
    Ref<Dispatch> d = AsDispatch(a->Get("AD"));
    std::cout << "  " << a->Get("AccountId").ToText() << " " << a->Get("AccountName").ToText()
              << ", " << a->Get("OpeningBalance").ToText() << " "
              << a->Get("OpeningBalanceSign").ToText() << ", contact "
              << d->Get("ContactPerson1").ToText() << ", TIN " << d->Get("TINNo").ToText()
              << ", credit limit " << d->Get("Limit").ToText() << "\n"
              << "    print address: " << d->Get("PrintAddress").ToText() << "\n";
  }

  std::cout << "\nGet_AccountName(14) = "
            << CallWithYear(ctx, *account, "Get_AccountName", {Variant(int16_t{14})}).ToText()
            << "\nGet_AccountName(99) = \""
            << CallWithYear(ctx, *account, "Get_AccountName", {Variant(int16_t{99})}).ToText()
            << "\" (no such account)\n";
  std::cout << "opening balances of posting accounts: Dr "
            << CallWithYear(ctx, *account, "Get_AccountSum", {Variant("Dr")}).ToText() << ", Cr "
            << CallWithYear(ctx, *account, "Get_AccountSum", {Variant("Cr")}).ToText() << "\n";

  const bool deleted = CallWithYear(ctx, *account, "Delete", {Variant(int16_t{13})}).ToBool();
  std::cout << "\nDelete(13) Sundry Debtors, a group with a member: "
            << (deleted ? "deleted" : "refused, nothing deleted") << "\n";
}

}  // namespace orv::walkthrough
