// The multi-leg vouchers, each class and layout described once in a table of its legs and
// driven by late binding: what Save writes and in which order, what Read restores and from
// which row, the legs shared by reference, and the all-or-nothing save.
#include <algorithm>

#include "fixture.h"
#include "orv/db/recordset.h"
#include "orv/registry.h"

namespace orv::vouchers::testing {
namespace {

constexpr int16_t kNotWritten = 0;

struct Leg {
  const char* object;
  const char* account;
  const char* amount;
  const char* sign;
  int16_t entry;  // kNotWritten: the layout neither fills nor saves this leg
};

struct Layout {
  const char* class_name;
  const char* voucher_type;
  std::vector<Leg> legs;  // interface order
  int16_t header_entry;   // the row the header is read from
  int16_t vchtype3_entry;
  std::vector<int16_t> save_order;  // entry numbers in the order the rows are written
  bool row1_decides = false;        // the bank voucher: row 1's type chooses the layout
};

void PrintTo(const Layout& l, std::ostream* os) {
  *os << l.class_name << " " << l.voucher_type;
}

const std::vector<Leg> kReceiptLegs = {
    {"Bank", "BankAccId", "BankAmt", "BankAmtSign", 1},
    {"SalesReturn", "SalesReturnAccId", "SalesReturnAmt", "SalesReturnAmtSign", 2},
    {"RateDifference", "RateDiffAccId", "RateDiffAmt", "RateDiffAmtSign", 3},
    {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign", 4},
    {"Customer", "CustomerAccId", "CustomerAmt", "CustomerAmtSign", 5},
};

std::vector<Leg> BankContraLegs() {
  std::vector<Leg> legs = kReceiptLegs;
  legs[0].entry = 2;
  for (int i = 1; i < 4; ++i) legs[size_t(i)].entry = kNotWritten;
  legs[4].entry = 1;
  return legs;
}

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      {"clsRcptVoucher", "Receipt", kReceiptLegs, 5, 5, {1, 2, 3, 4, 5}},
      {"clsPymtVoucher",
       "Payment",
       {{"Bank", "BankAccId", "BankAmt", "BankAmtSign", 1},
        {"PurchaseReturn", "PurchaseReturnAccId", "PurchaseReturnAmt", "PurchaseReturnAmtSign", 2},
        {"TDS", "TDSAccId", "TDSAmt", "TDSAmtSign", 3},
        {"Discount", "DiscAccId", "DiscAmt", "DiscAmtSign", 4},
        {"Supplier", "SupplierAccId", "SupplierAmt", "SupplierAmtSign", 5}},
       5,
       5,
       {1, 2, 3, 4, 5}},
      {"clsContraVoucher",
       "Contra",
       {{"Cash", "CashAccId", "CashAmt", "CashAmtSign", 1},
        {"Bank", "BankAccId", "BankAmt", "BankAmtSign", 2}},
       1,
       1,
       {1, 2}},
      {"clsBankVoucher", "Receipt", kReceiptLegs, 1, 1, {1, 2, 3, 4, 5}, true},
      {"clsBankVoucher", "Payment", kReceiptLegs, 1, 1, {1, 2, 3, 4, 5}, true},
      {"clsBankVoucher", "Contra", BankContraLegs(), 1, 2, {2, 1}, true},
  };
  return layouts;
}

// The header properties in interface order, with values different from their defaults.
std::vector<std::pair<const char*, Variant>> Header(int16_t id, const char* type) {
  return {
      {"V_Id", Variant(id)},
      {"V_Date", Variant(MakeDate({2008, 11, 3}))},
      {"V_VoucherType", Variant(type)},
      {"V_Remarks", Variant("by cheque")},
      {"V_PVoucherNo", Variant(int16_t{4})},
      {"V_PVoucherType", Variant("Sales")},
      {"V_VchPrefix", Variant("P1")},
      {"V_VchPrefix2", Variant("P2")},
      {"V_VchSuffix", Variant("S1")},
      {"V_VchNo", Variant(int16_t{88})},
      {"V_StrVchNo", Variant("P1P2-88-S1")},
      {"V_VchType1", Variant("T1")},
      {"V_VchType2", Variant("T2")},
      {"V_VchType3", Variant("T3")},
      {"V_VchFlag", Variant(true)},
      {"V_Extra1", Variant("X1")},
      {"V_Extra2", Variant("X2")},
      {"V_Extra3", Variant("X3")},
      {"V_Extra4", Variant("X4")},
      {"V_Extra5", Variant("X5")},
  };
}

// The trio of leg `i`: its own account, an amount (0 for the second leg, which is written all
// the same) and a sign.
int16_t AccountOf(size_t i) {
  return int16_t(201 + i);
}
double AmountOf(size_t i) {
  return i == 1 ? 0.0 : 100.25 * double(i + 1);
}
std::string SignOf(size_t i) {
  return i % 2 ? "Cr" : "Dr";
}

class LegVoucherTest : public VoucherTest, public ::testing::WithParamInterface<Layout> {
 protected:
  const Layout& L() const { return GetParam(); }

  // A voucher of the layout with the full header and every trio set.
  Ref<Dispatch> Filled(int16_t id) {
    Ref<Dispatch> v = New(L().class_name);
    for (const auto& [name, value] : Header(id, L().voucher_type)) v->Put(name, value);
    for (size_t i = 0; i < L().legs.size(); ++i) {
      v->Put(L().legs[i].account, Variant(AccountOf(i)));
      v->Put(L().legs[i].amount, Variant(AmountOf(i)));
      v->Put(L().legs[i].sign, Variant(SignOf(i)));
    }
    return v;
  }
  size_t IndexOfEntry(int16_t entry) const {
    for (size_t i = 0; i < L().legs.size(); ++i)
      if (L().legs[i].entry == entry) return i;
    ADD_FAILURE() << "no leg with entry " << entry;
    return 0;
  }
  // The leg saved last, and one that is saved but not last.
  size_t LastSaved() const { return IndexOfEntry(L().save_order.back()); }
  std::vector<std::vector<Variant>> Table() {
    return Rows("Select * from " + kVouchers + " order by V_Id, V_EntryNo");
  }
};

TEST_P(LegVoucherTest, InterfaceOrderIsHeaderTriosLegsThenMethods) {
  Ref<Dispatch> v = New(L().class_name);
  std::vector<std::string> expected;
  for (const auto& [name, value] : Header(0, "")) expected.emplace_back(name);
  for (const Leg& leg : L().legs)
    expected.insert(expected.end(), {leg.account, leg.amount, leg.sign});
  for (const Leg& leg : L().legs) expected.emplace_back(leg.object);
  expected.insert(expected.end(), {"Save", "Read"});
  if (std::string(L().class_name) == "clsBankVoucher")
    expected.emplace_back("Get_Vouchers_With_Details");
  EXPECT_EQ(MemberNames(*v), expected);
  EXPECT_EQ(v->IdOfName("V_Id"), 0x40030000);
  EXPECT_EQ(v->IdOfName("Save"), 0x60030000);
  EXPECT_EQ(v->IdOfName("Read"), 0x60030001);
  // A new voucher holds one new row object per leg.
  for (const Leg& leg : L().legs) {
    Ref<Dispatch> row = AsDispatch(v->Get(leg.object));
    EXPECT_EQ(row->Type().class_name, "clsVoucher");
    EXPECT_EQ(row->Get("V_Id"), Variant(int16_t{0}));
  }
}

TEST_P(LegVoucherTest, SaveWritesOneRowPerLegInItsOrderWithTheHeaderAndItsTrio) {
  Ref<Dispatch> v = Filled(12);
  EXPECT_EQ(Save(*v), Variant(int16_t{0}));

  db::Recordset rs;
  rs.Open("Select * from " + kVouchers + " order by rowid", cn_);
  std::vector<int16_t> written;
  for (; !rs.Eof(); rs.MoveNext()) {
    const int16_t entry = rs.Field("V_EntryNo").ToInt16();
    written.push_back(entry);
    const size_t i = IndexOfEntry(entry);
    SCOPED_TRACE(L().legs[i].object);
    EXPECT_EQ(rs.Field("V_AccId"), Variant(AccountOf(i)));
    EXPECT_EQ(rs.Field("V_Amt"), Variant(AmountOf(i)));
    EXPECT_EQ(rs.Field("V_AmtSign"), Variant(SignOf(i)));
    for (const auto& [name, value] : Header(12, L().voucher_type))
      EXPECT_EQ(rs.Field(name), value) << name;
  }
  EXPECT_EQ(written, L().save_order);

  // Each leg that the layout writes now holds the header, its trio and its entry number; the
  // others are untouched.
  for (size_t i = 0; i < L().legs.size(); ++i) {
    Ref<Dispatch> row = AsDispatch(v->Get(L().legs[i].object));
    SCOPED_TRACE(L().legs[i].object);
    EXPECT_EQ(row->Get("V_EntryNo"), Variant(L().legs[i].entry));
    const bool written_leg = L().legs[i].entry != kNotWritten;
    EXPECT_EQ(row->Get("V_Id"), Variant(int16_t(written_leg ? 12 : 0)));
    EXPECT_EQ(row->Get("V_AccId"), Variant(int16_t(written_leg ? AccountOf(i) : 0)));
    EXPECT_EQ(row->Get("V_StrVchNo"), Variant(written_leg ? "P1P2-88-S1" : ""));
  }

  // Saved again under another id, the first voucher's rows stay.
  v->Put("V_Id", Variant(int16_t{13}));
  Save(*v);
  EXPECT_EQ(VoucherRowCount(), int64_t(2 * L().save_order.size()));
}

TEST_P(LegVoucherTest, ReadRestoresTheTriosAndTheHeaderFromItsRowButNotTheFlag) {
  for (size_t i = 0; i < L().legs.size(); ++i)
    AddAccount(AccountOf(i), "Account " + std::to_string(i));
  Save(*Filled(12));
  // Tell the rows apart, so that it shows which row each header property came from.
  Exec("Update " + kVouchers +
       " set V_Remarks='row ' || V_EntryNo, V_VchType3='type ' || V_EntryNo, V_VchFlag=-1");

  Ref<Dispatch> v = New(L().class_name);
  Read(*v, 12);
  for (size_t i = 0; i < L().legs.size(); ++i) {
    SCOPED_TRACE(L().legs[i].object);
    const bool written_leg = L().legs[i].entry != kNotWritten;
    EXPECT_EQ(v->Get(L().legs[i].account), Variant(int16_t(written_leg ? AccountOf(i) : 0)));
    EXPECT_EQ(v->Get(L().legs[i].amount), Variant(written_leg ? AmountOf(i) : 0.0));
    EXPECT_EQ(v->Get(L().legs[i].sign), Variant(written_leg ? SignOf(i) : ""));
    // The account names are on the legs, looked up by each leg's own Read.
    Ref<Dispatch> row = AsDispatch(v->Get(L().legs[i].object));
    EXPECT_EQ(row->Get("V_AccountName"),
              Variant(written_leg ? "Account " + std::to_string(i) : std::string()));
  }
  for (const auto& [name, value] : Header(12, L().voucher_type)) {
    const std::string n = name;
    if (n == "V_Remarks")
      EXPECT_EQ(v->Get(name), Variant("row " + std::to_string(L().header_entry)));
    else if (n == "V_VchType3")
      EXPECT_EQ(v->Get(name), Variant("type " + std::to_string(L().vchtype3_entry)));
    else if (n == "V_VchFlag")
      EXPECT_EQ(v->Get(name), Variant(false)) << "V_VchFlag is never restored";
    else
      EXPECT_EQ(v->Get(name), value) << name;
  }
}

TEST_P(LegVoucherTest, ReadOfAnIdWithoutRowsTakesWhatTheLegsHeldBefore) {
  Save(*Filled(12));
  Ref<Dispatch> v = New(L().class_name);
  v->Put("V_VchFlag", Variant(true));
  v->Put("V_Remarks", Variant("mine"));
  v->Put(L().legs[0].account, Variant(int16_t{77}));
  Read(*v, 99);
  EXPECT_EQ(v->Get("V_Id"), Variant(int16_t{99}));
  EXPECT_EQ(v->Get("V_Remarks"), Variant(""));  // from the header leg's default
  EXPECT_EQ(v->Get("V_VchFlag"), Variant(true));
  // The bank voucher reads no further leg and copies no trio when row 1 gives no type.
  EXPECT_EQ(v->Get(L().legs[0].account), Variant(int16_t(L().row1_decides ? 77 : 0)));
}

TEST_P(LegVoucherTest, LegsAreSharedByReference) {
  Ref<Dispatch> v = Filled(12);
  const size_t k = LastSaved();
  const char* object = L().legs[k].object;
  EXPECT_EQ(v->Get(object), v->Get(object));

  // The caller's own row object becomes the leg: Save fills and writes it.
  Ref<Dispatch> mine = New("clsVoucher");
  mine->Put("V_Remarks", Variant("overwritten by Save"));
  v->PutRef(object, Variant(mine));
  EXPECT_EQ(AsDispatch(v->Get(object)).get(), mine.get());
  Save(*v);
  EXPECT_EQ(mine->Get("V_EntryNo"), Variant(L().legs[k].entry));
  EXPECT_EQ(mine->Get("V_Remarks"), Variant("by cheque"));
  EXPECT_EQ(mine->Get("V_AccId"), Variant(AccountOf(k)));

  // Read loads the rows into the objects the voucher holds, which the caller sees.
  Exec("Update " + kVouchers + " set V_Amt=5.5");
  Read(*v, 12);
  EXPECT_EQ(mine->Get("V_Amt"), Variant(5.5));
  EXPECT_EQ(v->Get(L().legs[k].amount), Variant(5.5));

  // Only row objects can be legs.
  EXPECT_EQ(ErrorNumberOf([&] { v->PutRef(object, Variant(New(L().class_name))); }),
            err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { v->PutRef(object, Variant("Bank")); }), err::kTypeMismatch);
  EXPECT_EQ(AsDispatch(v->Get(object)).get(), mine.get());
}

TEST_P(LegVoucherTest, ALegSetToNothingFailsSaveBeforeAnyRowAndReadAtThatLeg) {
  Save(*Filled(12));
  const auto before = Table();
  Ref<Dispatch> v = Filled(12);
  v->Put(L().legs[LastSaved()].amount, Variant(1.0));
  v->PutRef(L().legs[LastSaved()].object, Variant());
  EXPECT_TRUE(v->Get(L().legs[LastSaved()].object).ToObject() == nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { Save(*v); }), err::kObjectNotSet);
  EXPECT_EQ(Table(), before);

  // Read stops at the missing leg: the leg read first (row 1) is loaded; the trio of the
  // missing leg is not copied, nor the header, unless row 1 gave it before (bank voucher).
  Ref<Dispatch> r = New(L().class_name);
  const size_t read_first = L().row1_decides ? 0 : IndexOfEntry(1);
  Ref<Dispatch> first_row = AsDispatch(r->Get(L().legs[read_first].object));
  r->PutRef(L().legs[LastSaved()].object, Variant());
  EXPECT_EQ(ErrorNumberOf([&] { Read(*r, 12); }), err::kObjectNotSet);
  EXPECT_EQ(first_row->Get("V_AccId"), Variant(AccountOf(IndexOfEntry(1))));
  EXPECT_EQ(r->Get(L().legs[LastSaved()].account), Variant(int16_t{0}));
  EXPECT_EQ(r->Get("V_Remarks"), Variant(L().row1_decides ? "by cheque" : ""));
}

// The mended fault: a voucher's rows are written together or not at all.
TEST_P(LegVoucherTest, AFailingLegLeavesTheVoucherAsItWas) {
  Save(*Filled(12));
  RefuseRowsSignedRefuse();
  const auto before = Table();
  for (int16_t id : {int16_t{12}, int16_t{30}}) {
    SCOPED_TRACE(id);
    Ref<Dispatch> v = Filled(id);
    for (size_t i = 0; i < L().legs.size(); ++i) v->Put(L().legs[i].amount, Variant(1.0));
    v->Put(L().legs[LastSaved()].sign, Variant("refuse"));
    EXPECT_EQ(ErrorNumberOf([&] { Save(*v); }), kRowRefused);
    EXPECT_EQ(Table(), before);
  }
}

std::string LayoutName(const ::testing::TestParamInfo<Layout>& info) {
  return std::string(info.param.class_name + 3) + "_" + info.param.voucher_type;
}

INSTANTIATE_TEST_SUITE_P(Layouts, LegVoucherTest, ::testing::ValuesIn(Layouts()), LayoutName);

TEST(LegVoucherClasses, Identities) {
  struct Identity {
    const char* prog_id;
    const char* clsid;
    const char* iid;
  };
  const Identity ids[] = {
      {"ORVVouchers.clsRcptVoucher", "{36117908-93D8-4B98-8D9B-C813C8684ABB}",
       "{725F0F17-C095-4A5D-A51C-C1A9DE35B693}"},
      {"ORVVouchers.clsPymtVoucher", "{9BA3D3C5-D0EC-41A8-9D67-0C702B723163}",
       "{D3D715FA-588D-4DC1-ADCC-F031FA22A271}"},
      {"ORVVouchers.clsContraVoucher", "{603833C5-F496-42F8-BD51-3089E3E48080}",
       "{F1C6E47B-854F-453C-AC2F-FA4EF5873CD7}"},
      {"ORVVouchers.clsBankVoucher", "{E1B055F6-7100-4477-875E-AAE0ABC1E893}",
       "{48DBBDEB-DCAD-4183-B2DC-121BDE6AC731}"},
  };
  for (const Identity& id : ids) {
    SCOPED_TRACE(id.prog_id);
    Ref<Dispatch> by_id = CreateObject(id.clsid);
    EXPECT_EQ("ORVVouchers." + std::string(by_id->Type().class_name), id.prog_id);
    EXPECT_EQ("_" + std::string(by_id->Type().class_name), by_id->Type().interface_name);
    EXPECT_EQ(by_id->Type().iid.ToString(), id.iid);
    EXPECT_EQ(CreateObject(id.prog_id)->Type().clsid, by_id->Type().clsid);
  }
}

TEST_F(VoucherTest, ReceiptWithoutRowFiveTakesTheHeaderFromWhatCustomerHeld) {
  Ref<Dispatch> saved = New("clsRcptVoucher");
  saved->Put("V_Id", Variant(int16_t{4}));
  saved->Put("V_Remarks", Variant("stored"));
  saved->Put("DiscAccId", Variant(int16_t{9}));
  saved->Put("CustomerAccId", Variant(int16_t{10}));
  Save(*saved);
  Exec("Delete from " + kVouchers + " where V_EntryNo=5");

  Ref<Dispatch> v = New("clsRcptVoucher");
  AsDispatch(v->Get("Customer"))->Put("V_Remarks", Variant("held before"));
  AsDispatch(v->Get("Customer"))->Put("V_AccId", Variant(int16_t{55}));
  Read(*v, 4);
  EXPECT_EQ(v->Get("V_Id"), Variant(int16_t{4}));
  EXPECT_EQ(v->Get("DiscAccId"), Variant(int16_t{9}));
  EXPECT_EQ(v->Get("V_Remarks"), Variant("held before"));
  EXPECT_EQ(v->Get("CustomerAccId"), Variant(int16_t{55}));
}

// Reads inside a caller's transaction see its uncommitted rows and leave the transaction to
// the caller: rolling it back afterwards still undoes everything.
TEST_F(VoucherTest, ReadsInsideACallersTransactionLeaveItOpen) {
  AddAccount(301, "Bank of Baroda");
  Ref<Dispatch> trans = AsDispatch(cn_);
  trans->Call("BeginTrans", {});
  Ref<Dispatch> receipt = New("clsRcptVoucher");
  receipt->Put("V_Id", Variant(int16_t{8}));
  receipt->Put("V_VoucherType", Variant("Receipt"));
  receipt->Put("BankAccId", Variant(int16_t{301}));
  Save(*receipt);
  for (const char* cls : {"clsRcptVoucher", "clsBankVoucher"}) {
    Ref<Dispatch> v = New(cls);
    Read(*v, 8);
    EXPECT_EQ(v->Get("BankAccId"), Variant(int16_t{301})) << cls;
    EXPECT_EQ(AsDispatch(v->Get("Bank"))->Get("V_AccountName"), Variant("Bank of Baroda"));
  }
  Variant a1;
  std::vector<Variant> args = {Variant("Select V_Id from " + kVouchers + " where V_EntryNo=1"), cn_,
                               Variant(kY1), Variant(kY2), a1};
  EXPECT_EQ(New("clsBankVoucher")->Call("Get_Vouchers_With_Details", args), Variant(int16_t{1}));
  trans->Call("RollbackTrans", {});
  EXPECT_EQ(VoucherRowCount(), 0);
}

TEST_F(VoucherTest, VouchersWrittenByOneClassAreReadByAnother) {
  AddAccount(301, "Bank of Baroda");
  AddAccount(305, "Mehta Traders");
  Ref<Dispatch> receipt = New("clsRcptVoucher");
  receipt->Put("V_Id", Variant(int16_t{21}));
  receipt->Put("V_VoucherType", Variant("Receipt"));
  receipt->Put("V_Remarks", Variant("April dues"));
  receipt->Put("BankAccId", Variant(int16_t{301}));
  receipt->Put("BankAmt", Variant(950.0));
  receipt->Put("DiscAccId", Variant(int16_t{304}));
  receipt->Put("DiscAmt", Variant(50.0));
  receipt->Put("CustomerAccId", Variant(int16_t{305}));
  receipt->Put("CustomerAmt", Variant(1000.0));
  Save(*receipt);

  // The payment's legs are the receipt's rows by entry number.
  Ref<Dispatch> payment = New("clsPymtVoucher");
  Read(*payment, 21);
  EXPECT_EQ(payment->Get("SupplierAccId"), Variant(int16_t{305}));
  EXPECT_EQ(payment->Get("DiscAmt"), Variant(50.0));
  EXPECT_EQ(payment->Get("V_Remarks"), Variant("April dues"));
  EXPECT_EQ(AsDispatch(payment->Get("Supplier"))->Get("V_AccountName"), Variant("Mehta Traders"));

  // The bank voucher reads it as a receipt, by row 1's type.
  Ref<Dispatch> bank = New("clsBankVoucher");
  Read(*bank, 21);
  EXPECT_EQ(bank->Get("V_VoucherType"), Variant("Receipt"));
  EXPECT_EQ(bank->Get("CustomerAmt"), Variant(1000.0));
  EXPECT_EQ(AsDispatch(bank->Get("Bank"))->Get("V_AccountName"), Variant("Bank of Baroda"));

  // The contra voucher reads entries 1 and 2 only.
  Ref<Dispatch> contra = New("clsContraVoucher");
  Read(*contra, 21);
  EXPECT_EQ(contra->Get("CashAccId"), Variant(int16_t{301}));
  EXPECT_EQ(contra->Get("BankAmt"), Variant(0.0));

  // And a single row is one leg.
  Ref<Dispatch> row = New("clsVoucher");
  ReadRow(*row, 21, 4);
  EXPECT_EQ(row->Get("V_AccId"), Variant(int16_t{304}));
  EXPECT_EQ(row->Get("V_VoucherType"), Variant("Receipt"));
}

}  // namespace
}  // namespace orv::vouchers::testing
