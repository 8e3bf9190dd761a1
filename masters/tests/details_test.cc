// clsAccountDetails driven by late binding: its interface, the column of every property, the
// computed print address and the read modes.
#include "fixture.h"

namespace orv::masters::testing {
namespace {

constexpr const char* kDetails = "ACC_DETAILS_2008_2009";

// The interface in order, each property with the column it is stored in.
struct Property {
  const char* name;
  VarType type;
  const char* column;
};
const Property kProperties[] = {
    {"AccountId", VarType::Int16, "AD_AccId"},
    {"ContactPerson1", VarType::Text, "AD_Ct_Person1"},
    {"ContactPerson2", VarType::Text, "AD_Ct_Person2"},
    {"Address", VarType::Text, "AD_Address"},
    {"ResidencePhone", VarType::Text, "AD_R_Phone"},
    {"ShopPhone", VarType::Text, "AD_S_Phone"},
    {"Mobile", VarType::Text, "AD_Mobile"},
    {"Fax", VarType::Text, "AD_Fax"},
    {"Email", VarType::Text, "AD_Email"},
    {"WebPage", VarType::Text, "AD_WebPage"},
    {"CSTNo", VarType::Text, "AD_CST_No"},
    {"TINNo", VarType::Text, "AD_GST_No"},
    {"PANNo", VarType::Text, "AD_IT_No"},
    {"SalesTaxType", VarType::Text, "AD_ST_Type"},
    {"PurchaseType", VarType::Text, "AD_Purch_Type"},
    {"InvoiceType", VarType::Text, "AD_InvoiceType"},
    {"AgentId", VarType::Int16, "AD_AgentId"},
    {"Transport", VarType::Text, "AD_Transport"},
    {"UsedInVat", VarType::Bool, "AD_UsedInVat"},
    {"TaxClassID", VarType::Int16, "AD_TaxClassId"},
    {"TaxTypeID", VarType::Int16, "AD_TaxTypeId"},
    {"TaxPerc", VarType::Double, "AD_TaxPerc"},
    {"VATType", VarType::Text, "AD_VatType"},
    {"VATInvType", VarType::Int16, "AD_VatInvType"},
    {"AdditionalTaxAcctId", VarType::Int16, "AD_ATVatAccId"},
    {"Extra1", VarType::Text, "AD_Extra1"},
    {"Extra2", VarType::Text, "AD_Extra2"},
    {"Extra3", VarType::Text, "AD_Extra3"},
    {"Extra4", VarType::Text, "AD_Extra4"},
    {"ECCNo", VarType::Text, "AD_ECCNo"},
    {"Range", VarType::Text, "AD_Range"},
    {"Division", VarType::Text, "AD_Div"},
    {"Comm", VarType::Text, "AD_Comm"},
    {"FormType", VarType::Text, "AD_FormType"},
    {"PaymentDays", VarType::Text, "AD_PymtDays"},
    {"Limit", VarType::Double, "AD_Limit"},
    {"Area", VarType::Text, "AD_Area"},
    {"State", VarType::Text, "AD_State"},
    {"Pincode", VarType::Text, "AD_Pincode"},
    {"PrintAddress", VarType::Text, "AD_PrintAddress"},
    {"BillwiseReciept", VarType::Bool, "AD_BillwiseReceipt"},
    {"Is_InterestCalculate", VarType::Bool, "AD_InterestCalc"},
    {"InterestRate", VarType::Double, "AD_Interest_Rate"},
    {"IS_TDS_Apply", VarType::Bool, "AD_TDS"},
    {"TDS_Perc", VarType::Double, "AD_TDS_Perc"},
    {"TDS_Type", VarType::Text, "AD_TDS_Type"},
    {"Extra11", VarType::Text, "AD_Extra11"},
    {"Extra12", VarType::Text, "AD_Extra12"},
    {"Extra13", VarType::Text, "AD_Extra13"},
    {"Extra14", VarType::Text, "AD_Extra14"},
    {"Extra15", VarType::Text, "AD_Extra15"},
};
constexpr size_t kPrintAddress = 39;

// A value for the property at `i` that no other property of its type holds.
Variant DistinctValue(size_t i) {
  switch (kProperties[i].type) {
    case VarType::Int16:
      return Variant(int16_t(100 + i));
    case VarType::Double:
      return Variant(i + 0.25);
    case VarType::Bool:
      return Variant(i % 2 == 0);
    default:
      return Variant("value " + std::to_string(i) + " it's");
  }
}

class DetailsTest : public MastersTest {
 protected:
  Variant Column(const std::string& column, int16_t id) {
    return Scalar("Select " + column + " from " + kDetails +
                  " where AD_AccId=" + std::to_string(id));
  }
  // A details object with a distinct value in every property, saved "New" under `id`.
  Ref<Dispatch> SaveFilled(int16_t id) {
    Ref<Dispatch> d = NewDetails();
    for (size_t i = 1; i < std::size(kProperties); ++i)
      if (i != kPrintAddress) d->Put(kProperties[i].name, DistinctValue(i));
    d->Put("AccountId", Variant(id));
    CallWithYear(*d, "Save", {Variant("New"), Variant(id)});
    return d;
  }
};

TEST_F(DetailsTest, InterfaceOrderAndDispatchIds) {
  Ref<Dispatch> d = NewDetails();
  const TypeInfo& t = d->Type();
  EXPECT_EQ(t.interface_name, "_clsAccountDetails");
  EXPECT_EQ(t.iid, Guid::FromLiteral("{2CB9B427-1AA2-4334-AA7A-273DE545EF55}"));
  ASSERT_EQ(t.members.size(), std::size(kProperties) + 2);
  for (size_t i = 0; i < std::size(kProperties); ++i) {
    EXPECT_EQ(t.members[i].name, kProperties[i].name);
    EXPECT_EQ(t.members[i].id, DispId(0x68030032 - i)) << kProperties[i].name;
    EXPECT_EQ(t.members[i].type, kProperties[i].type) << kProperties[i].name;
  }
  EXPECT_EQ(d->IdOfName("printaddress"), 0x6803000B);
  EXPECT_EQ(t.members[51].name, "Save");
  EXPECT_EQ(t.members[51].id, 0x60030033);
  EXPECT_EQ(t.members[52].name, "Read");
  EXPECT_EQ(t.members[52].id, 0x60030034);
  // A new object: empty texts, zeros and false; PrintAddress has no put.
  EXPECT_EQ(d->Get("Email"), Variant(""));
  EXPECT_EQ(d->Get("AgentId"), Variant(int16_t{0}));
  EXPECT_EQ(d->Get("UsedInVat"), Variant(false));
  EXPECT_NE(ErrorNumberOf([&] { d->Put("PrintAddress", Variant("x")); }), 0);
}

TEST_F(DetailsTest, EveryPropertyIsSavedToItsColumnAndReadBack) {
  Ref<Dispatch> saved = SaveFilled(15);
  for (size_t i = 0; i < std::size(kProperties); ++i) {
    SCOPED_TRACE(kProperties[i].name);
    const Variant stored = Column(kProperties[i].column, 15);
    if (i == 0)
      EXPECT_EQ(stored, Variant(int16_t{15}));
    else if (i == kPrintAddress)
      // Area + Pincode + State, computed at the save.
      EXPECT_EQ(stored, Variant(DistinctValue(36).ToText() + DistinctValue(38).ToText() +
                                DistinctValue(37).ToText()));
    else
      EXPECT_EQ(stored, DistinctValue(i));
  }
  // The saving object does not keep the print address it wrote.
  EXPECT_EQ(saved->Get("PrintAddress"), Variant(""));

  Ref<Dispatch> d = NewDetails();
  CallWithYear(*d, "Read", {Variant(int16_t{15})});
  for (size_t i = 0; i < std::size(kProperties); ++i) {
    SCOPED_TRACE(kProperties[i].name);
    EXPECT_EQ(d->Get(kProperties[i].name), i == kPrintAddress ? Column("AD_PrintAddress", 15)
                                           : i == 0           ? Variant(int16_t{15})
                                                              : DistinctValue(i));
  }
}

TEST_F(DetailsTest, PrintAddressIsComputedByReadNotReadFromTheRow) {
  Ref<Dispatch> d = NewDetails();
  d->Put("AccountId", Variant(int16_t{15}));
  d->Put("Area", Variant("Central"));
  d->Put("Pincode", Variant("123"));
  d->Put("State", Variant("North"));
  EXPECT_EQ(d->Get("PrintAddress"), Variant(""));  // not until a Read
  CallWithYear(*d, "Save", {Variant("New"), Variant(int16_t{15})});
  Exec(std::string("Update ") + kDetails + " set AD_PrintAddress='stale', AD_Pincode='456'");
  CallWithYear(*d, "Read", {Variant(int16_t{15})});
  EXPECT_EQ(d->Get("PrintAddress"), Variant("Central456North"));
  // Read of an id without a row keeps it, like everything but AccountId.
  CallWithYear(*d, "Read", {Variant(int16_t{16})});
  EXPECT_EQ(d->Get("PrintAddress"), Variant("Central456North"));
  EXPECT_EQ(d->Get("AccountId"), Variant(int16_t{16}));
  EXPECT_EQ(d->Get("Area"), Variant("Central"));
}

TEST_F(DetailsTest, EditRewritesTheRowAndBadSavesWriteNothing) {
  Ref<Dispatch> d = SaveFilled(15);
  d->Put("TINNo", Variant("29AAAC1234"));
  d->Put("AccountId", Variant(int16_t{16}));  // an "Edit" re-keys the row it finds
  CallWithYear(*d, "Save", {Variant("Edit"), Variant(int16_t{15})});
  EXPECT_EQ(Column("AD_GST_No", 16), Variant("29AAAC1234"));
  EXPECT_EQ(Count(std::string(kDetails)), 1);

  struct Case {
    const char* flag;
    int16_t id;
    int error;
  };
  for (const Case& c : {Case{"EDIT", 16, err::kInvalidArgument},
                        Case{"Edit", 15, err::kNoCurrentRecord}, Case{"New", 16, 3022}}) {
    SCOPED_TRACE(c.flag);
    d->Put("TINNo", Variant("not saved"));
    EXPECT_EQ(ErrorNumberOf([&] {
                CallWithYear(*d, "Save", {Variant(c.flag), Variant(c.id)});
              }),
              c.error);
    EXPECT_EQ(Count(std::string(kDetails)), 1);
    EXPECT_EQ(Column("AD_GST_No", 16), Variant("29AAAC1234"));
  }
}

TEST_F(DetailsTest, ReadModesOfTheDetailsColumns) {
  RelaxTable("ACC_DETAILS");
  // Nulls in text and number columns read as "" and 0; numbers are parsed from text.
  Exec(std::string("Insert into ") + kDetails +
       " (AD_AccId, AD_Email, AD_Limit, AD_AgentId, AD_TaxClassId, AD_TaxPerc, AD_UsedInVat, "
       "AD_BillwiseReceipt, AD_InterestCalc, AD_TDS) values (1, Null, Null, Null, '12.5', '7.5%', "
       "5, 0, 0, 0)");
  Ref<Dispatch> d = NewDetails();
  d->Put("Email", Variant("old"));
  d->Put("Limit", Variant(9.0));
  d->Put("AgentId", Variant(int16_t{9}));
  CallWithYear(*d, "Read", {Variant(int16_t{1})});
  EXPECT_EQ(d->Get("Email"), Variant(""));
  EXPECT_EQ(d->Get("Limit"), Variant(0.0));
  EXPECT_EQ(d->Get("AgentId"), Variant(int16_t{0}));
  EXPECT_EQ(d->Get("TaxClassID"), Variant(int16_t{12}));  // halves go to the even neighbour
  EXPECT_EQ(d->Get("TaxPerc"), Variant(7.5));
  EXPECT_EQ(d->Get("UsedInVat"), Variant(true));

  // A Null boolean and a 16-bit column out of range fail; what was read before stays read.
  Exec(std::string("Insert into ") + kDetails +
       " (AD_AccId, AD_Area, AD_Pincode, AD_State, AD_UsedInVat, AD_BillwiseReceipt, "
       "AD_InterestCalc, AD_TDS, AD_TDS_Type) values (2, 'A', '1', 'S', -1, Null, 0, 0, 'T2'), "
       "(3, 'B', '2', 'S', -1, 0, 0, 0, 'T3')");
  Exec(std::string("Update ") + kDetails +
       " set AD_VatInvType=40000, AD_Transport='T' where AD_AccId=3");
  d->Put("TDS_Type", Variant("before"));
  EXPECT_EQ(ErrorNumberOf([&] { CallWithYear(*d, "Read", {Variant(int16_t{2})}); }),
            err::kInvalidUseOfNull);
  EXPECT_EQ(d->Get("PrintAddress"), Variant("A1S"));  // computed before the booleans
  EXPECT_EQ(d->Get("TDS_Type"), Variant("before"));   // after the failing column
  EXPECT_EQ(ErrorNumberOf([&] { CallWithYear(*d, "Read", {Variant(int16_t{3})}); }),
            err::kOverflow);
  EXPECT_EQ(d->Get("Transport"), Variant("T"));
  EXPECT_EQ(d->Get("Area"), Variant("A"));  // after the failing column: still the old value
}

}  // namespace
}  // namespace orv::masters::testing
