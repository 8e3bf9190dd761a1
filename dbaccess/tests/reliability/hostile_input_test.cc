// Hostile texts in every text property and every text argument of the data components: quotes,
// semicolons, comment marks, NUL bytes, invalid UTF-8, parameter marks and a megabyte of text.
// Each must be stored and read back unchanged, or refused with a clear error; no statement may
// change its meaning (every other row of every table stays as it was, no row appears that the
// call does not write) and nothing may crash.
//
// The properties and arguments come from the classes' own type information, for every class
// the registry knows, so a text property added later is covered without touching this file.
// What the tests need to know of a class (the values a valid Save needs, the rows it writes,
// the text properties it does not give back as they were put) is one table below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "file_checks.h"
#include "orv/db/connection.h"
#include "orv/db/schema.h"
#include "orv/db/sql.h"
#include "orv/registry.h"
#include "process.h"
#include "voucher_plan.h"

namespace orv::reliability {
namespace {

namespace fs = std::filesystem;

constexpr int16_t kKey = 500;  // the id every Save in these tests writes under

struct HostileText {
  const char* what;
  std::string text;
};

std::string MegabyteOfText() {
  // Quotes, a statement separator, comment marks, a parameter mark, a NUL and invalid UTF-8,
  // repeated to one MiB.
  static constexpr char kPiece[] = "O'Hara; -- /* ? */ '' \0 \xff\xfe \xc3\x28 ";
  const std::string piece(kPiece, sizeof kPiece - 1);
  std::string text;
  while (text.size() < (1u << 20)) text += piece;
  text.resize(1u << 20);
  return text;
}

const std::vector<HostileText>& HostileTexts() {
  static const std::vector<HostileText> texts = {
      {"quotes", "O'Brien's \"best\" '' \\' `x`"},
      {"semicolons and a second statement", "a; b;; DROP TABLE VOUCHERS_2008_2009;"},
      {"a closing quote and a second statement", "x'); DELETE FROM ACC_MASTER_2008_2009; --"},
      {"an always-true comparison", "' OR '1'='1"},
      {"comment marks", "-- not a comment\n/* nor this */ --"},
      {"NUL bytes", std::string("nul\0inside\0", 11)},
      {"invalid UTF-8", "\xff\xfe \xc3\x28 \xed\xa0\x80 \xf8\x88\x80\x80\x80 \xc0\xaf"},
      {"parameter marks", "what? ?1 :name @x $y '?'"},
      {"a parameter mark, a quote and a NUL", std::string("why?'\0--", 8)},
      {"1 MiB of all of these", MegabyteOfText()},
  };
  return texts;
}

// A text for a failure message: its size and its start, with bytes that are not printable
// shown as escapes.
std::string Show(const std::string& text) {
  std::ostringstream os;
  os << text.size() << " bytes \"";
  for (size_t i = 0; i < text.size() && i < 40; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7f)
      os << char(c);
    else
      os << "\\x" << std::hex << int(c) << std::dec;
  }
  os << (text.size() > 40 ? "...\"" : "\"");
  return os.str();
}

std::string Show(const Variant& v) {
  return v.type() == VarType::Text ? Show(v.text()) : "a " + std::string(VarTypeName(v.type()));
}

// What the tests need to know of a class with Save and Read.
struct RecordClass {
  const char* prog_id;
  // Values a valid Save needs, set before anything else (they also override the plain texts
  // every text property starts with).
  std::vector<std::pair<const char*, Variant>> setup;
  // The rows a Save adds, per table.
  std::map<std::string, int64_t> writes;
  // Text properties that Save and Read do not give back as they were put, and why.
  std::set<std::string> not_kept;
  // A text property whose value chooses what Save writes: a value naming nothing writes
  // nothing and returns as a success (the class's behaviour for an unknown voucher type).
  const char* selector = nullptr;
};

const std::string kVouchers = "VOUCHERS_2008_2009";

std::vector<std::pair<const char*, Variant>> TradeSetup(
    std::initializer_list<const char*> amounts) {
  std::vector<std::pair<const char*, Variant>> setup = {{"V_Id", Variant(kKey)}};
  for (const char* a : amounts) setup.emplace_back(a, Variant(1.0));
  return setup;
}

const std::vector<RecordClass>& RecordClasses() {
  static const std::vector<RecordClass> classes = {
      {"ORVVouchers.clsVoucher",
       {{"V_Id", Variant(kKey)}, {"V_EntryNo", Variant(int16_t{1})}, {"V_Amt", Variant(12.5)}},
       {{kVouchers, 1}}},
      {"ORVVouchers.clsRcptVoucher",
       {{"V_Id", Variant(kKey)}, {"V_VoucherType", Variant("Receipt")}},
       {{kVouchers, 5}}},
      {"ORVVouchers.clsPymtVoucher",
       {{"V_Id", Variant(kKey)}, {"V_VoucherType", Variant("Payment")}},
       {{kVouchers, 5}}},
      {"ORVVouchers.clsContraVoucher",
       {{"V_Id", Variant(kKey)}, {"V_VoucherType", Variant("Contra")}},
       {{kVouchers, 2}}},
      // The bank voucher's type chooses its layout (receipt, payment or contra).
      {"ORVVouchers.clsBankVoucher",
       {{"V_Id", Variant(kKey)}, {"V_VoucherType", Variant("Receipt")}},
       {{kVouchers, 5}},
       {},
       "V_VoucherType"},
      {"ORVVchr.clsVchr",
       {{"V_Id", Variant(kKey)}, {"V_EntryNo", Variant(int16_t{1})}, {"V_Amt", Variant(12.5)}},
       {{kVouchers, 1}}},
      // The account names of a sale or purchase are looked up in the account master on Read,
      // never stored.
      {"ORVVchr.Sales",
       TradeSetup({"CustomerAmt", "SalesAmt", "VatAmt", "AddTaxAmt", "RndOffAmt"}),
       {{kVouchers, 5}},
       {"CustomerName", "SalesAccName", "VatAccName", "AddTaxAccName", "RndOffAccName"}},
      {"ORVVchr.Purchase",
       TradeSetup({"SupplierAmt", "PurchaseAmt", "VatAmt", "AddTaxAmt", "RndOffAmt"}),
       {{kVouchers, 5}},
       {"SupplierName", "PurchaseAccName", "VatAccName", "AddTaxAccName", "RndOffAccName"}},
      // An account's type is its group's, taken from the group on Save.
      {"ORVMasters.clsAccount",
       {{"AccountId", Variant(kKey)}},
       {{"ACC_MASTER_2008_2009", 1}, {"ACC_DETAILS_2008_2009", 1}, {"ACC_BALANCE_2008_2009", 12}},
       {"AccountType"}},
      {"ORVMasters.clsAccountDetails",
       {{"AccountId", Variant(kKey)}},
       {{"ACC_DETAILS_2008_2009", 1}}},
      // An item row is always marked "I"; the names are looked up on Read, never stored.
      {"ORVItems.clsItems",
       {{"ItemId", Variant(kKey)}},
       {{"ITEMS_2008_2009", 1}},
       {"IM_GrpFlag", "GroupName", "BrandName", "StyleName", "ColorName", "SizeName"}},
  };
  return classes;
}

const RecordClass* FindRecordClass(std::string_view prog_id) {
  for (const RecordClass& c : RecordClasses())
    if (prog_id == c.prog_id) return &c;
  return nullptr;
}

// The text properties a caller can put and get, in interface order.
std::vector<std::string> TextProperties(const Dispatch& obj) {
  std::vector<std::string> names;
  for (const MemberInfo& m : obj.Type().members)
    if (m.type == VarType::Text && (m.kinds & kPropertyPut) && (m.kinds & kPropertyGet))
      names.emplace_back(m.name);
  return names;
}

std::string PlainText(const std::string& property) {
  return property + " text";
}

// The type libraries of the data components (the registry also holds controls).
constexpr std::string_view kDataLibraries[] = {"ORVCompany.", "ORVMasters.", "ORVVouchers.",
                                               "ORVVchr.", "ORVItems."};

// Every ProgID of a data component in the registry file, in its order.
std::vector<std::string> RegisteredClasses() {
  std::ifstream in(Registry::Instance().File());
  std::vector<std::string> prog_ids;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string clsid, prog_id;
    if (!(fields >> clsid >> prog_id)) continue;
    for (std::string_view library : kDataLibraries)
      if (prog_id.rfind(library, 0) == 0) prog_ids.push_back(prog_id);
  }
  return prog_ids;
}

// The state of one table: its rows, a digest of every value in rowid order, its last rowid.
struct TableState {
  int64_t rows = 0;
  uint64_t digest = 0;
  int64_t last_rowid = 0;
  bool operator==(const TableState&) const = default;
};
using DatabaseState = std::map<std::string, TableState>;

void PrintTo(const TableState& t, std::ostream* os) {
  *os << t.rows << " rows, digest " << t.digest;
}

// The outcome of one call.
struct Outcome {
  bool refused = false;
  int number = 0;
  std::string description;
};

class HostileInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = db::YearDatabaseFile(dir_.path(), "ACME", kY1, kY2);
    db::CreateYearDatabase(file_, kY1, kY2);
    cn_ = Variant(db::NewConnection());
    db::ConnectionOf(cn_).Open(db::ConnectionStringFor(file_), "", "", -1);
    // Durability is not what these tests look at; they write thousands of rows.
    db::ConnectionOf(cn_).Execute("PRAGMA synchronous=OFF");
    for (const db::TableDef& t : db::YearTables())
      tables_.push_back(std::string(t.base_name) + db::YearSuffix(kY1, kY2));
    tables_.push_back("ORV_DATABASE");
    AddCanaryRows();
    baseline_ = State();
  }
  void TearDown() override {
    EXPECT_EQ(FileProblems(file_), "");
    if (tried_ == 0) return;
    std::cout << "hostile texts: " << tried_ << " tried; " << kept_
              << " stored and read back unchanged, " << refused_ << " refused with an error, "
              << not_kept_ << " not stored by design, " << not_saved_
              << " saved nothing without an error (a bank voucher type naming no layout)";
    for (const auto& [number, count] : refusals_)
      std::cout << "; error " << number << ": " << count;
    std::cout << "\n";
  }

  // One row in every table with every column set, which a statement that changed its meaning
  // would change or delete.
  void AddCanaryRows() {
    db::IConnection& c = db::ConnectionOf(cn_);
    for (const db::TableDef& t : db::YearTables()) {
      std::string columns, values;
      for (const db::ColumnDef& col : t.columns) {
        if (col.sql_type == "DATETIME") continue;
        columns += (columns.empty() ? "" : ",") + std::string(col.name);
        values += values.empty() ? "" : ",";
        values += col.sql_type == "TEXT" ? "'canary'" : col.sql_type == "DOUBLE" ? "1.5" : "1";
      }
      c.Execute("INSERT INTO " + std::string(t.base_name) + db::YearSuffix(kY1, kY2) + " (" +
                columns + ") VALUES (" + values + ")");
    }
  }

  DatabaseState State() const {
    const RawDatabase raw(file_);
    DatabaseState state;
    for (const std::string& table : tables_) {
      TableState& t = state[table];
      sqlite3_stmt* stmt = nullptr;
      const std::string sql = "SELECT rowid, * FROM \"" + table + "\" ORDER BY rowid";
      if (sqlite3_prepare_v2(raw.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(raw.get());
        continue;
      }
      uint64_t h = 0;
      auto mix = [&h](const void* p, size_t n) {
        const size_t part =
            std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(p), p ? n : 0));
        h = h * 0x100000001b3ull ^ part;
      };
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++t.rows;
        t.last_rowid = sqlite3_column_int64(stmt, 0);
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
          const int type = sqlite3_column_type(stmt, i);
          mix(&type, sizeof type);
          const void* bytes = sqlite3_column_blob(stmt, i);
          mix(bytes, size_t(sqlite3_column_bytes(stmt, i)));
        }
      }
      sqlite3_finalize(stmt);
      t.digest = h;
    }
    return state;
  }

  // Whether some value in `table` holds exactly the bytes of `text`.
  bool TableHolds(const std::string& table, const std::string& text) const {
    const RawDatabase raw(file_);
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT * FROM \"" + table + "\"";
    if (sqlite3_prepare_v2(raw.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return false;
    bool found = false;
    while (!found && sqlite3_step(stmt) == SQLITE_ROW)
      for (int i = 0; i < sqlite3_column_count(stmt) && !found; ++i)
        if (sqlite3_column_type(stmt, i) == SQLITE_TEXT) {
          const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
          found = std::string_view(p, size_t(sqlite3_column_bytes(stmt, i))) == text;
        }
    sqlite3_finalize(stmt);
    return found;
  }

  // Removes the rows written since the baseline, by rowid: whatever a statement did to the
  // rows that were there before stays visible.
  void RemoveNewRows(const DatabaseState& now) {
    for (const auto& [table, t] : baseline_)
      if (now.at(table).rows != t.rows)
        db::ConnectionOf(cn_).Execute("DELETE FROM \"" + table + "\" WHERE rowid > " +
                                      std::to_string(t.last_rowid));
  }

  // The argument a parameter takes, by its name; the test's key, years and connection.
  Variant Argument(const ParamInfo& p) {
    static const std::map<std::string, Variant, std::less<>> plain = {
        {"SaveFlag", Variant("New")},
        {"intY1", Variant(kY1)},
        {"intYear1", Variant(kY1)},
        {"intY2", Variant(kY2)},
        {"intYear2", Variant(kY2)},
        {"intAccId", Variant(kKey)},
        {"intItemId", Variant(kKey)},
        {"intVId", Variant(kKey)},
        {"VEntryNo", Variant(int16_t{1})},
        {"intGrpNo", Variant(int16_t{0})},
        {"intLevelNo", Variant(int16_t{0})},
        {"strGrpFlag", Variant("L")},
        {"strAccType", Variant("")},
        {"strLevelFlag", Variant("")},
        {"strSortBy", Variant("")},
        {"strSignFlag", Variant("Dr")},
        {"strSQL", Variant("")},
        {"a1", Variant()},
    };
    if (p.name == "cn") return cn_;
    if (p.name == "strDBPath") return Variant(dir_.path().string() + "/");
    const auto it = plain.find(p.name);
    if (it == plain.end()) {
      ADD_FAILURE() << "no argument known for a parameter named " << p.name;
      return Variant();
    }
    return it->second;
  }

  std::vector<Variant> Arguments(const Dispatch& obj, std::string_view method) {
    const MemberInfo* m = obj.Type().Find(method);
    std::vector<Variant> args;
    if (!m) {
      ADD_FAILURE() << obj.Type().class_name << " has no " << method;
      return args;
    }
    for (const ParamInfo& p : m->params) args.push_back(Argument(p));
    return args;
  }

  // Runs `f`; an automation error is a refusal, which must say what went wrong.
  Outcome Try(const std::function<void()>& f) {
    try {
      f();
      return {};
    } catch (const AutomationError& e) {
      EXPECT_NE(e.number(), 0);
      EXPECT_FALSE(e.description().empty()) << "an error without a description";
      return {true, e.number(), e.description()};
    }
  }

  void Count(const Outcome& o) {
    ++tried_;
    if (o.refused) {
      ++refused_;
      ++refusals_[o.number];
    }
  }

  // A new object of the class with every text property set to its plain text, then the
  // values a Save needs.
  Ref<Dispatch> Prepared(const RecordClass& rc) {
    Ref<Dispatch> obj = CreateObject(rc.prog_id);
    for (const std::string& p : TextProperties(*obj)) obj->Put(p, Variant(PlainText(p)));
    for (const auto& [name, value] : rc.setup) obj->Put(name, value);
    return obj;
  }
  std::string Expected(const RecordClass& rc, const std::string& property) {
    for (const auto& [name, value] : rc.setup)
      if (property == name) return value.ToText();
    return PlainText(property);
  }

  void Save(Dispatch& obj) {
    std::vector<Variant> args = Arguments(obj, "Save");
    obj.Call("Save", args);
  }
  Ref<Dispatch> ReadBack(const RecordClass& rc) {
    Ref<Dispatch> obj = CreateObject(rc.prog_id);
    std::vector<Variant> args = Arguments(*obj, "Read");
    obj->Call("Read", args);
    return obj;
  }

  // After a Save that succeeded: exactly the class's rows were added, and nothing else in the
  // file changed.
  DatabaseState ExpectOnlyTheSavesRows(const RecordClass& rc) {
    DatabaseState now = State();
    for (const auto& [table, before] : baseline_) {
      const auto w = rc.writes.find(table);
      if (w == rc.writes.end())
        EXPECT_EQ(now.at(table), before) << table << " changed";
      else
        EXPECT_EQ(now.at(table).rows, before.rows + w->second) << table;
    }
    return now;
  }

  ScratchDir dir_{"hostile"};
  fs::path file_;
  Variant cn_;
  std::vector<std::string> tables_;
  DatabaseState baseline_;
  int tried_ = 0, kept_ = 0, refused_ = 0, not_kept_ = 0, not_saved_ = 0;
  std::map<int, int> refusals_;
};

// Every class of the registry either holds its text properties only (put and get) or has Save
// and Read and a row in the table of record classes; the plain save of each record class keeps
// exactly the text properties the table does not list.
TEST_F(HostileInputTest, EveryClassIsCoveredAndPlainTextsComeBackExceptTheListedOnes) {
  int record_classes = 0;
  for (const std::string& prog_id : RegisteredClasses()) {
    SCOPED_TRACE(prog_id);
    Ref<Dispatch> obj = CreateObject(prog_id);
    if (!obj->Type().Find("Save")) continue;
    const RecordClass* rc = FindRecordClass(prog_id);
    ASSERT_NE(rc, nullptr) << "a class with Save that these tests do not describe";
    ++record_classes;
    Ref<Dispatch> saved = Prepared(*rc);
    Save(*saved);
    const DatabaseState now = ExpectOnlyTheSavesRows(*rc);
    Ref<Dispatch> back = ReadBack(*rc);
    std::set<std::string> changed;
    for (const std::string& p : TextProperties(*back))
      if (!(back->Get(p) == Variant(Expected(*rc, p)))) changed.insert(p);
    EXPECT_EQ(changed, rc->not_kept);
    RemoveNewRows(now);
    EXPECT_EQ(State(), baseline_);
  }
  EXPECT_EQ(record_classes, int(RecordClasses().size()));
}

TEST_F(HostileInputTest, TextPropertiesAreStoredUnchangedOrRefused) {
  for (const RecordClass& rc : RecordClasses()) {
    for (const std::string& property : TextProperties(*CreateObject(rc.prog_id))) {
      for (const HostileText& h : HostileTexts()) {
        SCOPED_TRACE(std::string(rc.prog_id) + "." + property + " = " + h.what);
        Ref<Dispatch> obj = Prepared(rc);
        Outcome put = Try([&] { obj->Put(property, Variant(h.text)); });
        if (!put.refused) {
          // Held as given.
          const Variant held = obj->Get(property);
          EXPECT_TRUE(held == Variant(h.text)) << "held " << Show(held);
        }
        const Outcome saved = put.refused ? put : Try([&] { Save(*obj); });
        Count(saved);
        if (saved.refused) {
          EXPECT_EQ(State(), baseline_) << "a refused Save left something behind";
          continue;
        }
        if (rc.selector && property == rc.selector) {
          ++not_saved_;
          EXPECT_EQ(State(), baseline_);
          continue;
        }
        const DatabaseState now = ExpectOnlyTheSavesRows(rc);
        const bool keeps = !rc.not_kept.count(property);
        if (keeps) {
          ++kept_;
          bool stored = false;
          for (const auto& [table, rows] : rc.writes) stored = stored || TableHolds(table, h.text);
          EXPECT_TRUE(stored) << "the text is not stored byte for byte";
        } else {
          ++not_kept_;
        }
        Ref<Dispatch> back = ReadBack(rc);
        for (const std::string& p : TextProperties(*back)) {
          if (rc.not_kept.count(p)) continue;
          const Variant got = back->Get(p);
          const std::string want = p == property ? h.text : Expected(rc, p);
          EXPECT_TRUE(got == Variant(want)) << p << " read back as " << Show(got);
        }
        RemoveNewRows(now);
        EXPECT_EQ(State(), baseline_) << "rows that were there before changed";
        if (HasFatalFailure() || HasFailure()) return;  // one broken case tells enough
      }
    }
  }
}

// Every text argument of every method of every class: the call succeeds or is refused, and the
// file is as it was (a Save, whose flag is the text, adds only its own rows).
TEST_F(HostileInputTest, TextArgumentsChangeNothingButTheCallsOwnRows) {
  int methods = 0;
  for (const std::string& prog_id : RegisteredClasses()) {
    Ref<Dispatch> probe = CreateObject(prog_id);
    for (const MemberInfo& m : probe->Type().members) {
      if (!(m.kinds & kMethod)) continue;
      bool counted = false;
      for (size_t i = 0; i < m.params.size(); ++i) {
        if (m.params[i].type != VarType::Text) continue;
        if (!counted) ++methods;
        counted = true;
        for (const HostileText& h : HostileTexts()) {
          SCOPED_TRACE(prog_id + "." + std::string(m.name) + "(" + std::string(m.params[i].name) +
                       " = " + h.what + ")");
          const RecordClass* rc = FindRecordClass(prog_id);
          Ref<Dispatch> obj = rc ? Prepared(*rc) : CreateObject(prog_id);
          std::vector<Variant> args = Arguments(*obj, m.name);
          args[i] = Variant(h.text);
          Variant result;
          const Outcome o = Try([&] { result = obj->Call(m.name, args); });
          Count(o);
          if (m.name == "Save") {
            if (!o.refused) RemoveNewRows(ExpectOnlyTheSavesRows(*rc));
          } else if (!o.refused) {
            // No row holds the hostile text (the canary rows hold "canary"), so a lookup by it
            // finds nothing: a count of 0, a sum of 0, an empty text. Anything else means the
            // text changed what the statement asks.
            if (m.type == VarType::Text) {
              EXPECT_TRUE(result == Variant("")) << "found " << Show(result);
            } else if (m.type != VarType::Empty) {
              EXPECT_EQ(result.ToDouble(), 0.0) << "found something";
            }
            for (size_t k = 0; k < m.params.size(); ++k)
              if (m.params[k].type == VarType::Array) {
                // An empty list: one element, Empty.
                ASSERT_EQ(args[k].type(), VarType::Array);
                ASSERT_EQ(args[k].array().items.size(), 1u);
                EXPECT_TRUE(args[k].array().items.back().IsEmpty());
              }
          }
          EXPECT_EQ(State(), baseline_) << "the call changed the file";
          if (HasFailure()) return;
        }
      }
    }
  }
  EXPECT_GT(methods, 0);
  std::cout << methods << " methods with text arguments\n";
}

// Classes without Save hold their text properties; a put and a get give back the same bytes.
TEST_F(HostileInputTest, HeldTextPropertiesComeBackUnchanged) {
  int properties = 0;
  for (const std::string& prog_id : RegisteredClasses()) {
    Ref<Dispatch> obj = CreateObject(prog_id);
    if (obj->Type().Find("Save")) continue;
    for (const std::string& property : TextProperties(*obj))
      for (const HostileText& h : HostileTexts()) {
        SCOPED_TRACE(prog_id + "." + property + " = " + h.what);
        const Outcome o = Try([&] { obj->Put(property, Variant(h.text)); });
        Count(o);
        ++properties;
        if (o.refused) continue;
        ++kept_;
        const Variant held = obj->Get(property);
        EXPECT_TRUE(held == Variant(h.text)) << "held " << Show(held);
      }
  }
  EXPECT_GT(properties, 0);
}

// clsCompany builds the year database's path and connection string from the data folder and
// ShortName. Whatever they hold, ORVConnect opens the company's own file,
// <folder>/<name>/<name>_<y1>_<y2>.mdb inside the data folder, or nothing: never a file elsewhere.
TEST(CompanyConnect, HostileNamesAndFoldersOpenTheCompanysOwnFileOrNothing) {
  ScratchDir root("company");
  const fs::path data = root.path() / "data";
  db::CreateYearDatabase(db::YearDatabaseFile(data, "ACME", kY1, kY2), kY1, kY2);
  // Year databases outside the data folder that a name could try to reach.
  const fs::path decoy = root.path() / "elsewhere" / "DECOY_2008_2009.mdb";
  db::CreateYearDatabase(decoy, kY1, kY2);
  fs::create_directories(root.path() / "OTHER");
  db::CreateYearDatabase(root.path() / "OTHER_2008_2009.mdb", kY1, kY2);

  struct Case {
    std::string what, folder, name;
  };
  const std::string folder = data.string() + "/";
  std::vector<Case> cases = {
      {"the company itself", folder, "ACME"},
      {"a name with a second Data Source", folder, "X;Data Source=" + decoy.string() + ";X="},
      {"a name reaching into the parent folder", folder, "../OTHER"},
      {"a folder with a second Data Source",
       data.string() + ";Data Source=" + decoy.string() + ";X=", "ACME"},
  };
  for (const HostileText& h : HostileTexts()) cases.push_back({h.what, folder, h.text});

  Registry::Instance().SetMessageHandler([](std::string_view) {});
  int opened_own = 0, refused = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ref<Dispatch> company = CreateObject("ORVCompany.clsCompany");
    company->Put("ShortName", Variant(c.name));
    EXPECT_TRUE(company->Get("ShortName") == Variant(c.name));
    company->Put("CurrentYear1", Variant(kY1));
    company->Put("CurrentYear2", Variant(kY2));
    bool failed = false;
    try {
      company->Call("ORVConnect", {Variant(c.folder)});
    } catch (const AutomationError& e) {
      failed = true;
      EXPECT_FALSE(e.description().empty());
    }
    const Variant cn = company->Get("cn");
    if (failed) {
      ++refused;
      EXPECT_TRUE(AsDispatch(cn)->Get("State") == Variant(db::kStateClosed));
      continue;
    }
    const fs::path opened =
        fs::weakly_canonical(sqlite3_db_filename(db::ConnectionOf(cn).Handle(), "main"));
    EXPECT_EQ(opened.parent_path().parent_path(), fs::canonical(data)) << "opened " << opened;
    EXPECT_EQ(opened, fs::weakly_canonical(db::YearDatabaseFile(data, c.name, kY1, kY2)))
        << "opened " << opened;
    ++opened_own;
  }
  Registry::Instance().SetMessageHandler(nullptr);
  std::cout << "company connect: " << cases.size() << " folders and names tried, " << opened_own
            << " opened a file, " << refused << " refused\n";
}

}  // namespace
}  // namespace orv::reliability
