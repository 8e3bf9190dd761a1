// clsAccountDetails: one row of ACC_DETAILS, keyed by AD_AccId.
#include "classes.h"
#include "orv/db/recordset.h"
#include "orv/db/sql.h"

namespace orv::masters {
namespace {

using db::FieldSpec;
using db::ReadMode;
constexpr VarType kInt = VarType::Int16;
constexpr VarType kDbl = VarType::Double;
constexpr VarType kTxt = VarType::Text;
constexpr VarType kBool = VarType::Bool;
constexpr ReadMode kText = ReadMode::kNullTolerant;  // Null gives ""
constexpr ReadMode kNumber = ReadMode::kNumeric;     // Null or non-numeric gives 0
constexpr ReadMode kStrict = ReadMode::kStrict;      // booleans: Null fails
constexpr ReadMode kNotRead = ReadMode::kNone;

// Property, type, column, read mode, dispatch id (0x68030032 down to 0x68030000).
constexpr FieldSpec kFields[] = {
    {"AccountId", kInt, "AD_AccId", kNotRead, 0x68030032},  // set from Read's argument
    {"ContactPerson1", kTxt, "AD_Ct_Person1", kText, 0x68030031},
    {"ContactPerson2", kTxt, "AD_Ct_Person2", kText, 0x68030030},
    {"Address", kTxt, "AD_Address", kText, 0x6803002F},
    {"ResidencePhone", kTxt, "AD_R_Phone", kText, 0x6803002E},
    {"ShopPhone", kTxt, "AD_S_Phone", kText, 0x6803002D},
    {"Mobile", kTxt, "AD_Mobile", kText, 0x6803002C},
    {"Fax", kTxt, "AD_Fax", kText, 0x6803002B},
    {"Email", kTxt, "AD_Email", kText, 0x6803002A},
    {"WebPage", kTxt, "AD_WebPage", kText, 0x68030029},
    {"CSTNo", kTxt, "AD_CST_No", kText, 0x68030028},
    {"TINNo", kTxt, "AD_GST_No", kText, 0x68030027},
    {"PANNo", kTxt, "AD_IT_No", kText, 0x68030026},
    {"SalesTaxType", kTxt, "AD_ST_Type", kText, 0x68030025},
    {"PurchaseType", kTxt, "AD_Purch_Type", kText, 0x68030024},
    {"InvoiceType", kTxt, "AD_InvoiceType", kText, 0x68030023},
    {"AgentId", kInt, "AD_AgentId", kNumber, 0x68030022},
    {"Transport", kTxt, "AD_Transport", kText, 0x68030021},
    {"UsedInVat", kBool, "AD_UsedInVat", kStrict, 0x68030020},
    {"TaxClassID", kInt, "AD_TaxClassId", kNumber, 0x6803001F},
    {"TaxTypeID", kInt, "AD_TaxTypeId", kNumber, 0x6803001E},
    {"TaxPerc", kDbl, "AD_TaxPerc", kNumber, 0x6803001D},
    {"VATType", kTxt, "AD_VatType", kText, 0x6803001C},
    {"VATInvType", kInt, "AD_VatInvType", kNumber, 0x6803001B},
    {"AdditionalTaxAcctId", kInt, "AD_ATVatAccId", kNumber, 0x6803001A},
    {"Extra1", kTxt, "AD_Extra1", kText, 0x68030019},
    {"Extra2", kTxt, "AD_Extra2", kText, 0x68030018},
    {"Extra3", kTxt, "AD_Extra3", kText, 0x68030017},
    {"Extra4", kTxt, "AD_Extra4", kText, 0x68030016},
    {"ECCNo", kTxt, "AD_ECCNo", kText, 0x68030015},
    {"Range", kTxt, "AD_Range", kText, 0x68030014},
    {"Division", kTxt, "AD_Div", kText, 0x68030013},
    {"Comm", kTxt, "AD_Comm", kText, 0x68030012},
    {"FormType", kTxt, "AD_FormType", kText, 0x68030011},
    {"PaymentDays", kTxt, "AD_PymtDays", kText, 0x68030010},
    {"Limit", kDbl, "AD_Limit", kNumber, 0x6803000F},
    {"Area", kTxt, "AD_Area", kText, 0x6803000E},
    {"State", kTxt, "AD_State", kText, 0x6803000D},
    {"Pincode", kTxt, "AD_Pincode", kText, 0x6803000C},
    // Saved as Area + Pincode + State at that moment; Read computes it instead of reading it.
    {"PrintAddress", kTxt, "AD_PrintAddress", kNotRead, 0x6803000B, true},
    {"BillwiseReciept", kBool, "AD_BillwiseReceipt", kStrict, 0x6803000A},
    {"Is_InterestCalculate", kBool, "AD_InterestCalc", kStrict, 0x68030009},
    {"InterestRate", kDbl, "AD_Interest_Rate", kNumber, 0x68030008},
    {"IS_TDS_Apply", kBool, "AD_TDS", kStrict, 0x68030007},
    {"TDS_Perc", kDbl, "AD_TDS_Perc", kNumber, 0x68030006},
    {"TDS_Type", kTxt, "AD_TDS_Type", kText, 0x68030005},
    {"Extra11", kTxt, "AD_Extra11", kText, 0x68030004},
    {"Extra12", kTxt, "AD_Extra12", kText, 0x68030003},
    {"Extra13", kTxt, "AD_Extra13", kText, 0x68030002},
    {"Extra14", kTxt, "AD_Extra14", kText, 0x68030001},
    {"Extra15", kTxt, "AD_Extra15", kText, 0x68030000},
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
