// Sales and Purchase driven by late binding; every test runs for both classes, which differ
// only in their identities and in the names of the VAT flag and the first two legs.
#include <array>
#include <string>
#include <vector>

#include "fixture.h"
#include "orv/registry.h"

namespace orv::trade::testing {
namespace {

struct ClassNames {
  const char* prog_id;
  const char* class_name;
  const char* clsid;
  const char* interface_name;
  const char* iid;
  const char* vat_flag;
  // Per leg (entry numbers 1 to 5): account, name, amount, sign.
  std::array<std::array<const char*, 4>, 5> legs;
};

const ClassNames kSales{"ORVVchr.Sales",
                        "Sales",
                        "{088B7CD0-BF09-460F-922E-0D5A8516B265}",
                        "_Sales",
                        "{4174527F-ABC9-4C27-80B8-50C152409584}",
                        "IsVatSales",
                        {{{"CustomerAccId", "CustomerName", "CustomerAmt", "CustomerAmtSign"},
                          {"SalesAccId", "SalesAccName", "SalesAmt", "SalesAmtSign"},
                          {"VatAccId", "VatAccName", "VatAmt", "VatAmtSign"},
                          {"AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"},
                          {"RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"}}}};

const ClassNames kPurchase{"ORVVchr.Purchase",
                           "Purchase",
                           "{36D88836-8ECF-48EE-9082-64A81949C4A4}",
                           "_Purchase",
                           "{CA44331E-C4D8-4A80-B264-1E9FE776D44D}",
                           "IsVatPurchase",
                           {{{"SupplierAccId", "SupplierName", "SupplierAmt", "SupplierAmtSign"},
                             {"PurchaseAccId", "PurchaseAccName", "PurchaseAmt", "PurchaseAmtSign"},
                             {"VatAccId", "VatAccName", "VatAmt", "VatAmtSign"},
                             {"AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"},
                             {"RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"}}}};

void PrintTo(const ClassNames& n, std::ostream* os) {
  *os << n.class_name;
}

struct Prop {
  const char* name;
  Variant value;
};

// The header in interface order, with a distinct value in each property.
std::vector<Prop> Header(int16_t id) {
  return {{"V_Id", id},
          {"V_Date", Day(2008, 7, 14)},
          {"V_VoucherType", "Sales"},
          {"V_Remarks", "bill 17, 'credit'"},
          {"V_PVoucherNo", int16_t{3}},
          {"V_PVoucherType", "Order"},
          {"V_VchPrefix", "S"},
          {"V_VchPrefix2", "A"},
          {"V_VchSuffix", "/08"},
          {"V_VchSuffix2", "B"},
          {"V_VchNo", int16_t{17}},
          {"V_StrVchNo", "S-17"},
          {"V_VchType1", "t1"},
          {"V_VchType2", "t2"},
          {"V_VchType3", "t3"},
          {"V_VchFlag", true},
          {"V_Cleared", true},
          {"V_Audit", true},
          {"V_Extra1", "e1"},
          {"V_Extra2", "e2"},
          {"V_Extra3", "e3"},
          {"V_Extra4", "e4"},
          {"V_Extra5", "e5"}};
}

bool KeptByRead(std::string_view name) {
  return name == "V_VchFlag" || name == "V_Cleared" || name == "V_Audit";
}

struct Leg {
  int16_t account;
  double amount;
  const char* sign;
};
constexpr std::array<Leg, 5> kLegs = {
    {{201, 1180, "Dr"}, {202, 1000, "Cr"}, {203, 125, "Cr"}, {204, 50, "Cr"}, {205, 5, "Cr"}}};

class TradeVoucherTest : public TradeTest, public ::testing::WithParamInterface<ClassNames> {
 protected:
  Ref<Dispatch> New() { return CreateObject(GetParam().prog_id); }

  const char* LegName(size_t leg, size_t part) { return GetParam().legs[leg][part]; }

  // A voucher with the full header and the given legs; names set that Save must not store.
  Ref<Dispatch> Voucher(int16_t id, const std::array<Leg, 5>& legs) {
    Ref<Dispatch> v = New();
    for (const Prop& p : Header(id)) v->Put(p.name, p.value);
    for (size_t k = 0; k < legs.size(); ++k) SetLeg(*v, k, legs[k]);
    return v;
  }
  void SetLeg(Dispatch& v, size_t k, const Leg& leg) {
    v.Put(LegName(k, 0), Variant(leg.account));
    v.Put(LegName(k, 1), Variant("typed by the user"));
    v.Put(LegName(k, 2), Variant(leg.amount));
    v.Put(LegName(k, 3), Variant(leg.sign));
  }
  void AddLegAccounts() {
    for (const Leg& l : kLegs) AddAccount(l.account, "Account " + std::to_string(l.account));
  }

  // Every property of the voucher, in interface order.
  std::vector<Variant> Snapshot(Dispatch& v) {
    std::vector<Variant> all;
    for (const MemberInfo& m : v.Type().members)
      if (m.kinds & kPropertyGet) all.push_back(v.Get(m.name));
    return all;
  }
  // Every column of the voucher's rows, in entry order.
  std::vector<std::vector<Variant>> Stored(int16_t id) {
    return Rows("Select * from VOUCHERS_2008_2009 where V_Id=" + std::to_string(id) +
                " order by V_EntryNo");
  }
  Variant Column(int16_t id, int entry, const std::string& column) {
    return Scalar("Select " + column + " from VOUCHERS_2008_2009 where V_Id=" + std::to_string(id) +
                  " And V_EntryNo=" + std::to_string(entry));
  }
};

TEST_P(TradeVoucherTest, IdentityMembersAndDefaults) {
  const ClassNames& n = GetParam();
  Ref<Dispatch> v = New();
  const TypeInfo& t = v->Type();
  EXPECT_EQ(t.class_name, n.class_name);
  EXPECT_EQ(t.clsid, Guid::FromLiteral(n.clsid));
  EXPECT_EQ(t.interface_name, n.interface_name);
  EXPECT_EQ(t.iid, Guid::FromLiteral(n.iid));
  EXPECT_EQ(CreateObject(n.clsid)->Type().class_name, n.class_name);

  // Header, VAT flag, the quartets, Save, Read; the leg objects are not members.
  std::vector<std::string_view> expected;
  for (const Prop& p : Header(0)) expected.push_back(p.name);
  expected.push_back(n.vat_flag);
  for (const auto& leg : n.legs) expected.insert(expected.end(), leg.begin(), leg.end());
  expected.insert(expected.end(), {"Save", "Read"});
  std::vector<std::string_view> names;
  for (const MemberInfo& m : t.members) names.push_back(m.name);
  EXPECT_EQ(names, expected);
  EXPECT_EQ(v->IdOfName("Save"), 0x60030000);
  EXPECT_EQ(v->IdOfName("Read"), 0x60030001);

  for (const Prop& p : Header(5)) EXPECT_EQ(v->Get(p.name), Variant().ConvertTo(p.value.type()));
  EXPECT_EQ(v->Get(n.vat_flag), Variant(false));
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(v->Get(LegName(k, 0)), Variant(int16_t{0}));
    EXPECT_EQ(v->Get(LegName(k, 1)), Variant(""));
    EXPECT_EQ(v->Get(LegName(k, 2)), Variant(0.0));
    EXPECT_EQ(v->Get(LegName(k, 3)), Variant(""));
  }
}

TEST_P(TradeVoucherTest, SaveWritesFiveRowsEachWithTheHeaderAndItsLeg) {
  Ref<Dispatch> v = Voucher(21, kLegs);
  const std::vector<Variant> before = Snapshot(*v);
  EXPECT_EQ(Save(*v), Variant(int16_t{0}));
  EXPECT_EQ(Snapshot(*v), before);  // Save changes none of the voucher's properties

  EXPECT_EQ(EntriesOf(21), (std::vector<int>{1, 2, 3, 4, 5}));
  for (int entry = 1; entry <= 5; ++entry) {
    SCOPED_TRACE(entry);
    for (const Prop& p : Header(21)) EXPECT_EQ(Column(21, entry, p.name), p.value) << p.name;
    const Leg& leg = kLegs[size_t(entry - 1)];
    EXPECT_EQ(Column(21, entry, "V_AccId"), Variant(leg.account));
    EXPECT_EQ(Column(21, entry, "V_Amt"), Variant(leg.amount));
    EXPECT_EQ(Column(21, entry, "V_AmtSign"), Variant(leg.sign));
  }
}

TEST_P(TradeVoucherTest, LegsWithoutAPositiveAmountHaveNoRow) {
  Save(*Voucher(22, kLegs));  // a neighbour that no save of voucher 21 may touch
  const auto neighbour = Stored(22);

  std::array<Leg, 5> legs = kLegs;
  for (size_t k = 2; k < 5; ++k) legs[k].amount = 0;
  Ref<Dispatch> v = Voucher(21, legs);
  Save(*v);
  EXPECT_EQ(EntriesOf(21), (std::vector<int>{1, 2}));

  v->Put(LegName(2, 2), Variant(125.0));  // VAT now charged
  Save(*v, "Edit");
  EXPECT_EQ(EntriesOf(21), (std::vector<int>{1, 2, 3}));

  v->Put(LegName(1, 2), Variant(0.0));   // the sales (purchase) leg dropped
  v->Put(LegName(0, 2), Variant(-3.0));  // and the party's amount negative
  v->Put("V_Remarks", Variant("changed"));
  Save(*v, "New");
  EXPECT_EQ(EntriesOf(21), (std::vector<int>{3}));
  EXPECT_EQ(Column(21, 3, "V_Remarks"), Variant("changed"));
  EXPECT_EQ(Stored(22), neighbour);
}

TEST_P(TradeVoucherTest, TheVatFlagIsHeldOnly) {
  AddLegAccounts();
  std::vector<std::vector<std::vector<Variant>>> stored;
  std::vector<std::vector<Variant>> read;
  for (bool vat : {false, true}) {
    Ref<Dispatch> v = Voucher(21, kLegs);
    v->Put(GetParam().vat_flag, Variant(vat));
    Save(*v);
    stored.push_back(Stored(21));
    Ref<Dispatch> back = New();
    back->Put(GetParam().vat_flag, Variant(!vat));
    Read(*back, {Variant(int16_t{21})});
    EXPECT_EQ(back->Get(GetParam().vat_flag), Variant(!vat));
    back->Put(GetParam().vat_flag, Variant(false));
    read.push_back(Snapshot(*back));
  }
  EXPECT_EQ(stored[0], stored[1]);
  EXPECT_EQ(read[0], read[1]);
}

TEST_P(TradeVoucherTest, ReadGivesBackHeaderLegsAndAccountNamesButNotTheThreeFlags) {
  AddLegAccounts();
  std::array<Leg, 5> legs = kLegs;
  legs[3] = {999, 7.5, "Cr"};  // no such account
  legs[4].amount = 0;          // no row
  Save(*Voucher(21, legs));

  // The rows hold true in the three flags; the reading object keeps its false.
  Ref<Dispatch> back = New();
  Read(*back, {Variant(int16_t{21})});
  for (const Prop& p : Header(21))
    EXPECT_EQ(back->Get(p.name), KeptByRead(p.name) ? Variant(false) : p.value) << p.name;
  const char* names[] = {"Account 201", "Account 202", "Account 203", "", ""};
  for (size_t k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(back->Get(LegName(k, 0)), Variant(legs[k].account));
    EXPECT_EQ(back->Get(LegName(k, 1)), Variant(names[k]));
    EXPECT_EQ(back->Get(LegName(k, 2)), Variant(legs[k].amount));
    EXPECT_EQ(back->Get(LegName(k, 3)), Variant(legs[k].sign));
  }
  // The round-off leg has no row: a new object's leg gives its defaults.
  EXPECT_EQ(back->Get(LegName(4, 0)), Variant(int16_t{0}));
  EXPECT_EQ(back->Get(LegName(4, 1)), Variant(""));
  EXPECT_EQ(back->Get(LegName(4, 2)), Variant(0.0));
  EXPECT_EQ(back->Get(LegName(4, 3)), Variant(""));
}

TEST_P(TradeVoucherTest, ReadOfAVoucherWithoutRows) {
  Ref<Dispatch> fresh = New();
  std::vector<Variant> expected = Snapshot(*fresh);
  expected[0] = Variant(int16_t{77});
  Read(*fresh, {Variant(int16_t{77})});
  EXPECT_EQ(Snapshot(*fresh), expected);

  // On a voucher just saved, a leg without a row keeps what Save put into it (its account and
  // sign, amount 0) and an empty name.
  AddLegAccounts();
  std::array<Leg, 5> legs = kLegs;
  legs[2].amount = 0;
  Ref<Dispatch> v = Voucher(21, legs);
  Save(*v);
  Read(*v, {Variant(int16_t{21})});
  EXPECT_EQ(v->Get(LegName(2, 0)), Variant(int16_t{203}));
  EXPECT_EQ(v->Get(LegName(2, 1)), Variant(""));
  EXPECT_EQ(v->Get(LegName(2, 2)), Variant(0.0));
  EXPECT_EQ(v->Get(LegName(2, 3)), Variant("Cr"));
  EXPECT_EQ(v->Get(LegName(1, 1)), Variant("Account 202"));
}

TEST_P(TradeVoucherTest, ASaveThatFailsAtAnyLegLeavesTheOldVoucher) {
  for (size_t failing : {0u, 3u, 4u}) {
    SCOPED_TRACE(failing);
    Exec("Delete from VOUCHERS_2008_2009");
    Exec("Drop Trigger If Exists refuse_sign");
    Save(*Voucher(21, kLegs));
    const auto old_rows = Stored(21);

    RefuseRowsSigned("refused");
    std::array<Leg, 5> legs = kLegs;
    for (Leg& l : legs) l.amount *= 2;
    legs[1].amount = 0;  // a leg the new voucher drops
    legs[failing].sign = "refused";
    Ref<Dispatch> v = Voucher(21, legs);
    EXPECT_THAT(ErrorTextOf([&] { Save(*v); }), ::testing::HasSubstr("row refused"));
    EXPECT_EQ(Stored(21), old_rows);
  }
}

TEST_P(TradeVoucherTest, SaveAndReadNestInACallersTransaction) {
  AddLegAccounts();
  Ref<Dispatch> cn = AsDispatch(cn_);
  cn->Call("BeginTrans", {});
  Save(*Voucher(21, kLegs));
  Ref<Dispatch> back = New();
  Read(*back, {Variant(int16_t{21})});  // sees the caller's own, uncommitted rows
  EXPECT_EQ(back->Get(LegName(4, 1)), Variant("Account 205"));
  const auto saved = Stored(21);

  // A failing save undoes only its own writes; the caller's transaction goes on.
  RefuseRowsSigned("refused");
  std::array<Leg, 5> legs = kLegs;
  legs[0].amount = 9;
  legs[4].sign = "refused";
  EXPECT_NE(ErrorNumberOf([&] { Save(*Voucher(21, legs)); }), 0);
  EXPECT_EQ(Stored(21), saved);
  Save(*Voucher(22, kLegs));
  EXPECT_EQ(EntriesOf(22).size(), 5u);

  cn->Call("RollbackTrans", {});
  EXPECT_TRUE(EntriesOf(21).empty());
  EXPECT_TRUE(EntriesOf(22).empty());
}

TEST_P(TradeVoucherTest, AFailedReadLeavesTheVoucherUnchanged) {
  Save(*Voucher(21, kLegs));
  Exec("Update VOUCHERS_2008_2009 set V_AmtSign=NULL where V_Id=21 And V_EntryNo=3");
  Ref<Dispatch> v = Voucher(30, kLegs);
  v->Put(LegName(0, 2), Variant(1.0));
  const std::vector<Variant> before = Snapshot(*v);
  EXPECT_EQ(ErrorNumberOf([&] { Read(*v, {Variant(int16_t{21})}); }), err::kInvalidUseOfNull);
  EXPECT_EQ(Snapshot(*v), before);
}

INSTANTIATE_TEST_SUITE_P(Both, TradeVoucherTest, ::testing::Values(kSales, kPurchase),
                         [](const auto& info) { return std::string(info.param.class_name); });

}  // namespace
}  // namespace orv::trade::testing
