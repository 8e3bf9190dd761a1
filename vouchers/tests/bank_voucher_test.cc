// clsBankVoucher's own rules: the layout follows V_VoucherType exactly, and
// Get_Vouchers_With_Details reads one voucher per row of a caller's query.
#include "fixture.h"
#include "orv/registry.h"

namespace orv::vouchers::testing {
namespace {

class BankVoucherTest : public VoucherTest {
 protected:
  Ref<Dispatch> Bank(int16_t id, const char* type) {
    Ref<Dispatch> v = New("clsBankVoucher");
    v->Put("V_Id", Variant(id));
    v->Put("V_VoucherType", Variant(type));
    v->Put("V_Remarks", Variant("voucher " + std::to_string(id)));
    v->Put("BankAccId", Variant(int16_t(id * 10 + 1)));
    v->Put("BankAmt", Variant(100.0 * id));
    v->Put("CustomerAccId", Variant(int16_t(id * 10 + 5)));
    v->Put("CustomerAmt", Variant(100.0 * id));
    return v;
  }

  // Get_Vouchers_With_Details(sql, cn, 2008, 2009, a1) with `a1` passed by reference.
  Variant List(const std::string& sql, Variant& a1) {
    Ref<Dispatch> v = New("clsBankVoucher");
    std::vector<Variant> args = {Variant(sql), cn_, Variant(kY1), Variant(kY2), a1};
    try {
      Variant n = v->Call("Get_Vouchers_With_Details", std::span<Variant>(args));
      a1 = args[4];
      return n;
    } catch (...) {
      a1 = args[4];
      throw;
    }
  }
};

TEST_F(BankVoucherTest, SaveWritesNothingForAnyOtherTypeText) {
  for (const char* type : {"", "receipt", "PAYMENT", "contra", "Receipt ", "Journal"}) {
    SCOPED_TRACE(type);
    Ref<Dispatch> v = Bank(1, type);
    EXPECT_EQ(Save(*v), Variant(int16_t{0}));
    EXPECT_EQ(AsDispatch(v->Get("Bank"))->Get("V_Id"), Variant(int16_t{0}));
    // Nothing is written, so the connection is not even needed.
    EXPECT_EQ(v->Call("Save", {Variant("New"), Variant(), Variant(kY1), Variant(kY2)}),
              Variant(int16_t{0}));
  }
  EXPECT_EQ(VoucherRowCount(), 0);
}

TEST_F(BankVoucherTest, ContraOverAnEarlierReceiptReplacesRowsOneAndTwoOnly) {
  Save(*Bank(7, "Receipt"));
  Ref<Dispatch> v = Bank(7, "Contra");
  v->Put("CustomerAccId", Variant(int16_t{900}));
  v->Put("BankAccId", Variant(int16_t{901}));
  Save(*v);
  const auto rows =
      Rows("Select V_EntryNo, V_AccId, V_VoucherType from " + kVouchers + " order by V_EntryNo");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0],
            (std::vector<Variant>{Variant(int16_t{1}), Variant(int16_t{900}), Variant("Contra")}));
  EXPECT_EQ(rows[1],
            (std::vector<Variant>{Variant(int16_t{2}), Variant(int16_t{901}), Variant("Contra")}));
  for (size_t i = 2; i < 5; ++i) EXPECT_EQ(rows[i][2], Variant("Receipt"));
}

TEST_F(BankVoucherTest, RowOneOfAnotherTypeGivesTheHeaderAndNothingElse) {
  Save(*Bank(3, "Receipt"));
  Exec("Update " + kVouchers +
       " set V_VoucherType='Journal', V_Remarks='journal' where V_EntryNo=1");
  Ref<Dispatch> v = New("clsBankVoucher");
  v->Put("BankAccId", Variant(int16_t{77}));
  v->Put("CustomerAmt", Variant(3.0));
  Read(*v, 3);
  EXPECT_EQ(v->Get("V_VoucherType"), Variant("Journal"));
  EXPECT_EQ(v->Get("V_Remarks"), Variant("journal"));
  EXPECT_EQ(v->Get("BankAccId"), Variant(int16_t{77}));
  EXPECT_EQ(v->Get("CustomerAmt"), Variant(3.0));
  EXPECT_EQ(AsDispatch(v->Get("Bank"))->Get("V_AccId"), Variant(int16_t{31}));
  EXPECT_EQ(AsDispatch(v->Get("Customer"))->Get("V_Id"), Variant(int16_t{0}));
}

TEST_F(BankVoucherTest, ListReadsOneVoucherPerRowIntoCountPlusOneElements) {
  Save(*Bank(1, "Receipt"));
  Save(*Bank(2, "Payment"));
  Save(*Bank(3, "Contra"));
  Variant a1(SafeArray{0, {Variant("old"), Variant("old")}});
  EXPECT_EQ(List("Select V_Id from " + kVouchers + " where V_EntryNo=1 order by V_Id", a1),
            Variant(int16_t{3}));
  ASSERT_EQ(a1.type(), VarType::Array);
  EXPECT_EQ(a1.array().lower, 0);
  ASSERT_EQ(a1.array().items.size(), 4u);
  const char* types[] = {"Receipt", "Payment", "Contra"};
  for (int16_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    Ref<Dispatch> v = AsDispatch(a1.array().items[size_t(i)]);
    EXPECT_EQ(v->Type().class_name, "clsBankVoucher");
    EXPECT_EQ(v->Get("V_Id"), Variant(int16_t(i + 1)));
    EXPECT_EQ(v->Get("V_VoucherType"), Variant(types[i]));
    EXPECT_EQ(v->Get("CustomerAccId"), Variant(int16_t((i + 1) * 10 + 5)));
    EXPECT_EQ(v->Get("BankAmt"), Variant(100.0 * (i + 1)));
  }
  EXPECT_TRUE(a1.array().items[3].IsEmpty());

  // Every row yields a voucher, even rows of the same voucher.
  EXPECT_EQ(List("Select * from " + kVouchers + " where V_Id=1", a1), Variant(int16_t{5}));
  EXPECT_EQ(AsDispatch(a1.array().items[4])->Get("V_Id"), Variant(int16_t{1}));

  // No rows: the single empty element.
  EXPECT_EQ(List("Select V_Id from " + kVouchers + " where V_Id=99", a1), Variant(int16_t{0}));
  ASSERT_EQ(a1.array().items.size(), 1u);
  EXPECT_TRUE(a1.array().items[0].IsEmpty());
}

TEST_F(BankVoucherTest, AFailingRowEndsTheListWithTheVouchersBeforeItFilled) {
  Save(*Bank(1, "Receipt"));
  Save(*Bank(2, "Receipt"));
  Save(*Bank(3, "Receipt"));
  Variant a1;
  const std::string null_third = "Select case when V_Id=3 then NULL else V_Id end as V_Id from " +
                                 kVouchers + " where V_EntryNo=1 order by V_Id";
  EXPECT_EQ(ErrorNumberOf([&] { List(null_third, a1); }), err::kInvalidUseOfNull);
  ASSERT_EQ(a1.array().items.size(), 4u);
  // A NULL sorts first: the failing row is the first one.
  EXPECT_EQ(AsDispatch(a1.array().items[0])->Get("V_Id"), Variant(int16_t{0}));
  EXPECT_TRUE(a1.array().items[1].IsEmpty());

  const std::string null_last = "Select V_Id from (Select V_Id, 0 as k from " + kVouchers +
                                " where V_EntryNo=1 union all Select NULL, 1) order by k, V_Id";
  EXPECT_EQ(ErrorNumberOf([&] { List(null_last, a1); }), err::kInvalidUseOfNull);
  ASSERT_EQ(a1.array().items.size(), 5u);
  for (int16_t i = 0; i < 3; ++i)
    EXPECT_EQ(AsDispatch(a1.array().items[size_t(i)])->Get("CustomerAccId"),
              Variant(int16_t((i + 1) * 10 + 5)));

  EXPECT_EQ(ErrorNumberOf([&] { List("Select V_Amt from " + kVouchers, a1); }), err::kItemNotFound);
}

// The mended fault: only one read-only statement runs; anything else is refused before it runs
// and before a1 is touched. An empty query fails the same way, as a recordset never opened.
TEST_F(BankVoucherTest, RefusedQueriesRunNothingAndLeaveTheArray) {
  Save(*Bank(1, "Receipt"));
  struct Case {
    std::string sql;
    int error;
  };
  const Case cases[] = {
      {"", err::kObjectClosed},
      {"Delete from " + kVouchers, err::kUnsafeSqlFragment},
      {"Update " + kVouchers + " set V_Amt=0", err::kUnsafeSqlFragment},
      {"Select V_Id from " + kVouchers + "; Delete from " + kVouchers, err::kUnsafeSqlFragment},
      {"Drop table " + kVouchers, err::kUnsafeSqlFragment},
      {"Insert into " + kVouchers + " (V_Id, V_EntryNo) Select V_Id + 100, V_EntryNo from " +
           kVouchers,
       err::kUnsafeSqlFragment},
      {"Select V_Id from VOUCHERS_2009_2010", err::kDatabaseError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    Variant a1("untouched");
    EXPECT_EQ(ErrorNumberOf([&] { List(c.sql, a1); }), c.error);
    EXPECT_EQ(a1, Variant("untouched"));
  }
  EXPECT_EQ(VoucherRowCount(), 5);
  EXPECT_EQ(Scalar("Select Sum(V_Amt) from " + kVouchers), Variant(200.0));
}

}  // namespace
}  // namespace orv::vouchers::testing
