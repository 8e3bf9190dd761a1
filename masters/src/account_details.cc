// clsAccountDetails: one row of ACC_DETAILS, keyed by AD_AccId.
#include "classes.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"

namespace orv::masters {
namespace {

using db::FieldSpec;
using namespace db::field_table;

// Property, type, column, read mode, dispatch id (0x68030032 down to 0x68030000).
constexpr FieldSpec kFields[] = {
    {"AccountId", kInt16, "AD_AccId", kNotRead, 0x68030032},  // set from Read's argument
    {"ContactPerson1", kText, "AD_Ct_Person1", kNullTolerant, 0x68030031},
    {"ContactPerson2", kText, "AD_Ct_Person2", kNullTolerant, 0x68030030},
    {"Address", kText, "AD_Address", kNullTolerant, 0x6803002F},
    {"ResidencePhone", kText, "AD_R_Phone", kNullTolerant, 0x6803002E},
    {"ShopPhone", kText, "AD_S_Phone", kNullTolerant, 0x6803002D},
    {"Mobile", kText, "AD_Mobile", kNullTolerant, 0x6803002C},
    {"Fax", kText, "AD_Fax", kNullTolerant, 0x6803002B},
    {"Email", kText, "AD_Email", kNullTolerant, 0x6803002A},
    {"WebPage", kText, "AD_WebPage", kNullTolerant, 0x68030029},
    {"CSTNo", kText, "AD_CST_No", kNullTolerant, 0x68030028},
    {"TINNo", kText, "AD_GST_No", kNullTolerant, 0x68030027},
    {"PANNo", kText, "AD_IT_No", kNullTolerant, 0x68030026},
    {"SalesTaxType", kText, "AD_ST_Type", kNullTolerant, 0x68030025},
    {"PurchaseType", kText, "AD_Purch_Type", kNullTolerant, 0x68030024},
    {"InvoiceType", kText, "AD_InvoiceType", kNullTolerant, 0x68030023},
    {"AgentId", kInt16, "AD_AgentId", kNumeric, 0x68030022},
    {"Transport", kText, "AD_Transport", kNullTolerant, 0x68030021},
    {"UsedInVat", kBool, "AD_UsedInVat", kStrict, 0x68030020},
    {"TaxClassID", kInt16, "AD_TaxClassId", kNumeric, 0x6803001F},
    {"TaxTypeID", kInt16, "AD_TaxTypeId", kNumeric, 0x6803001E},
    {"TaxPerc", kDouble, "AD_TaxPerc", kNumeric, 0x6803001D},
    {"VATType", kText, "AD_VatType", kNullTolerant, 0x6803001C},
    {"VATInvType", kInt16, "AD_VatInvType", kNumeric, 0x6803001B},
    {"AdditionalTaxAcctId", kInt16, "AD_ATVatAccId", kNumeric, 0x6803001A},
    {"Extra1", kText, "AD_Extra1", kNullTolerant, 0x68030019},
    {"Extra2", kText, "AD_Extra2", kNullTolerant, 0x68030018},
    {"Extra3", kText, "AD_Extra3", kNullTolerant, 0x68030017},
    {"Extra4", kText, "AD_Extra4", kNullTolerant, 0x68030016},
    {"ECCNo", kText, "AD_ECCNo", kNullTolerant, 0x68030015},
    {"Range", kText, "AD_Range", kNullTolerant, 0x68030014},
    {"Division", kText, "AD_Div", kNullTolerant, 0x68030013},
    {"Comm", kText, "AD_Comm", kNullTolerant, 0x68030012},
    {"FormType", kText, "AD_FormType", kNullTolerant, 0x68030011},
    {"PaymentDays", kText, "AD_PymtDays", kNullTolerant, 0x68030010},
    {"Limit", kDouble, "AD_Limit", kNumeric, 0x6803000F},
    {"Area", kText, "AD_Area", kNullTolerant, 0x6803000E},
    {"State", kText, "AD_State", kNullTolerant, 0x6803000D},
    {"Pincode", kText, "AD_Pincode", kNullTolerant, 0x6803000C},
    // Saved as Area + Pincode + State at that moment; Read computes it instead of reading it.
    {"PrintAddress", kText, "AD_PrintAddress", kNotRead, 0x6803000B, true},
    {"BillwiseReciept", kBool, "AD_BillwiseReceipt", kStrict, 0x6803000A},
    {"Is_InterestCalculate", kBool, "AD_InterestCalc", kStrict, 0x68030009},
    {"InterestRate", kDouble, "AD_Interest_Rate", kNumeric, 0x68030008},
    {"IS_TDS_Apply", kBool, "AD_TDS", kStrict, 0x68030007},
    {"TDS_Perc", kDouble, "AD_TDS_Perc", kNumeric, 0x68030006},
    {"TDS_Type", kText, "AD_TDS_Type", kNullTolerant, 0x68030005},
    {"Extra11", kText, "AD_Extra11", kNullTolerant, 0x68030004},
    {"Extra12", kText, "AD_Extra12", kNullTolerant, 0x68030003},
    {"Extra13", kText, "AD_Extra13", kNullTolerant, 0x68030002},
    {"Extra14", kText, "AD_Extra14", kNullTolerant, 0x68030001},
    {"Extra15", kText, "AD_Extra15", kNullTolerant, 0x68030000},
};

// Rows of the table the code refers to by position.
constexpr size_t kAccountId = 0;
constexpr size_t kArea = 36;
constexpr size_t kState = 37;
constexpr size_t kPincode = 38;
constexpr size_t kPrintAddress = 39;
constexpr size_t kFieldCount = std::size(kFields);

static_assert(kFieldCount == 51);
static_assert(kFields[kArea].property == "Area" && kFields[kState].property == "State" &&
              kFields[kPincode].property == "Pincode" &&
              kFields[kPrintAddress].property == "PrintAddress");

std::string PrintAddressOf(const db::Record& r) {
  return r.Text(kArea) + r.Text(kPincode) + r.Text(kState);
}

std::string SelectDetails(int16_t y1, int16_t y2) {
  return "Select * from ACC_DETAILS" + db::YearSuffix(y1, y2);
}

}  // namespace

AccountDetails::AccountDetails() : values(kFields) {}

std::span<const db::FieldSpec> AccountDetails::Fields() {
  return kFields;
}

void AccountDetails::Save(const std::string& save_flag, int16_t account_id, const Variant& cn,
                          int16_t y1, int16_t y2) {
  std::string sql;  // stays empty for a flag other than "New" and "Edit": the open fails
  if (save_flag == "New")
    sql = SelectDetails(y1, y2);
  else if (save_flag == "Edit")
    sql = SelectDetails(y1, y2) + " where AD_AccId=" + std::to_string(account_id);
  db::Recordset rs;
  rs.Open(sql, cn);
  if (save_flag == "New") rs.AddNew();
  db::WriteFields(rs, values, 0, kPrintAddress);
  rs.SetField(kFields[kPrintAddress].column, Variant(PrintAddressOf(values)));
  db::WriteFields(rs, values, kPrintAddress + 1, kFieldCount);
  rs.Update();
}

void AccountDetails::Read(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2) {
  values.Set(kAccountId, Variant(account_id));
  db::Recordset rs;
  rs.Open(SelectDetails(y1, y2) + " where AD_AccId=" + std::to_string(account_id), cn);
  if (rs.Eof()) return;
  db::ReadFields(rs, values, kAccountId + 1, kPrintAddress);
  values.Set(kPrintAddress, Variant(PrintAddressOf(values)));
  db::ReadFields(rs, values, kPrintAddress + 1, kFieldCount);
}

const ClassTable<AccountDetails>& AccountDetails::Table() {
  static const ClassTable<AccountDetails> table = [] {
    std::vector<MemberDef<AccountDetails>> defs;
    db::AddFieldMembers(defs, Fields(), &AccountDetails::values);
    const std::vector<ParamInfo> params = {{"SaveFlag", VarType::Text},
                                           {"intAccId", VarType::Int16},
                                           {"cn", VarType::Object, true},
                                           {"intY1", VarType::Int16},
                                           {"intY2", VarType::Int16}};
    defs.push_back({{"Save", 0x60030033, kMethod, VarType::Empty, params},
                    nullptr,
                    nullptr,
                    [](AccountDetails& d, std::span<Variant> a) {
                      d.Save(a[0].ToText(), a[1].ToInt16(), a[2], a[3].ToInt16(), a[4].ToInt16());
                      return Variant();
                    }});
    defs.push_back({{"Read", 0x60030034, kMethod, VarType::Empty,
                     std::vector<ParamInfo>(params.begin() + 1, params.end())},
                    nullptr,
                    nullptr,
                    [](AccountDetails& d, std::span<Variant> a) {
                      d.Read(a[0].ToInt16(), a[1], a[2].ToInt16(), a[3].ToInt16());
                      return Variant();
                    }});
    return ClassTable<AccountDetails>("clsAccountDetails", "{101072EC-FB44-4C9D-85CB-042EA22A6A85}",
                                      "_clsAccountDetails",
                                      "{2CB9B427-1AA2-4334-AA7A-273DE545EF55}", std::move(defs));
  }();
  return table;
}

}  // namespace orv::masters
