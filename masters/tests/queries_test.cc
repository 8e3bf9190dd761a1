// The account queries of clsAccount, driven by late binding on a fresh year database.
#include "fixture.h"
#include "orv/db/account_lookup.h"
#include "orv/registry.h"

namespace orv::masters::testing {
namespace {

class QueriesTest : public MastersTest {};

TEST_F(QueriesTest, AccountIsCreatedByClassIdAndProgIdWithItsIdentities) {
  Ref<Dispatch> a = db::NewAccountObject();
  const TypeInfo& t = a->Type();
  EXPECT_EQ(t.class_name, "clsAccount");
  EXPECT_EQ(t.interface_name, "_clsAccount");
  EXPECT_EQ(t.iid, Guid::FromLiteral("{449C31D1-898C-4461-B0C4-E3ACC1E0A2D3}"));
  EXPECT_EQ(CreateObject("ORVMasters.clsAccount")->Type().clsid, t.clsid);
  EXPECT_EQ(CreateObject("ORVMasters.clsAccountDetails")->Type().class_name, "clsAccountDetails");
}

TEST_F(QueriesTest, NameAndSignLookupsGiveTheColumnOrEmptyForAMissingAccount) {
  SaveNew(5, "Cash", "L", 0, 100, "Dr");
  Ref<Dispatch> a = NewAccount();
  EXPECT_EQ(CallWithYear(*a, "Get_AccountName", {Variant(int16_t{5})}), Variant("Cash"));
  EXPECT_EQ(CallWithYear(*a, "Get_OpeningBalSign", {Variant(int16_t{5})}), Variant("Dr"));
  EXPECT_EQ(CallWithYear(*a, "Get_AccountName", {Variant(int16_t{6})}), Variant(""));
  EXPECT_EQ(CallWithYear(*a, "Get_OpeningBalSign", {Variant(int16_t{6})}), Variant(""));
  // The way the voucher components ask: by dispatch id on an object made by class id.
  EXPECT_EQ(db::AccountName(*db::NewAccountObject(), 5, cn_, kY1, kY2), "Cash");
  EXPECT_EQ(a->IdOfName("Get_AccountName"), 0x60030012);
}

}  // namespace
}  // namespace orv::masters::testing
