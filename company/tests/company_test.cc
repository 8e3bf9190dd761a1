// clsCompany and clsTables driven the way a front-end drives them: created through the
// registry (which loads the component library on demand) and called by late binding.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "error_of.h"
#include "orv/db/schema.h"
#include "orv/registry.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class CompanyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = fs::temp_directory_path() / ("orv-company-" + std::to_string(getpid()));
    fs::remove_all(data_);
    db::CreateYearDatabase(db::YearDatabaseFile(data_, "ACME", 2008, 2009), 2008, 2009);
    db::CreateYearDatabase(db::YearDatabaseFile(data_, "ACME", 2009, 2010), 2009, 2010);
    Registry::Instance().SetMessageHandler([this](std::string_view t) { shown_.emplace_back(t); });
    company_ = CreateObject("{EB31EC61-A725-481A-BC01-5F3C5FC9D135}");
  }
  void TearDown() override {
    Registry::Instance().SetMessageHandler(nullptr);
    company_.reset();
    fs::remove_all(data_);
  }

  // The data folder as a front-end passes it: with its trailing separator.
  std::string Folder() const { return data_.string() + "/"; }

  Variant Connect(const std::string& folder) {
    return company_->Call("ORVConnect", {Variant(folder)});
  }
  int32_t State() { return AsDispatch(company_->Get("cn"))->Get("State").ToInt32(); }
  std::string TableName(const char* prop) {
    return AsDispatch(company_->Get("Table"))->Get(prop).ToText();
  }
  void Select(int16_t y1, int16_t y2) {
    company_->Put("ShortName", Variant("ACME"));
    company_->Put("CurrentYear1", Variant(y1));
    company_->Put("CurrentYear2", Variant(y2));
  }

  fs::path data_;
  std::vector<std::string> shown_;
  Ref<Dispatch> company_;
};

TEST_F(CompanyTest, NewObjectHoldsAClosedConnectionAndEmptyNames) {
  EXPECT_EQ(company_->Get("ShortName"), Variant(""));
  EXPECT_EQ(company_->Get("CurrentYear1"), Variant(int16_t{0}));
  EXPECT_EQ(State(), 0);
  EXPECT_EQ(TableName("AM"), "");
  EXPECT_EQ(company_->IdOfName("orvconnect"), 0x60030000);
  EXPECT_EQ(company_->IdOfName("Table"), 0x40030013);
  EXPECT_EQ(CreateObject("ORVCompany.clsCompany")->Type().class_name, "clsCompany");
}

TEST_F(CompanyTest, ConnectOpensTheYearShowsBothMessagesAndNamesTheTables) {
  Select(2008, 2009);
  EXPECT_EQ(Connect(Folder()), Variant(int16_t{0}));
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(shown_,
            (std::vector<std::string>{"Connection successfull...", "Tables Initialised ..."}));
  EXPECT_EQ(TableName("AM"), "ACC_MASTER_2008_2009");
  EXPECT_EQ(TableName("AD"), "ACC_DETAILS_2008_2009");
  const std::string cs = AsDispatch(company_->Get("cn"))->Get("ConnectionString").ToText();
  EXPECT_EQ(cs, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Folder() +
                    "ACME\\ACME_2008_2009.mdb;Jet OLEDB:Database Password=K58!q47T%61d25&w84R");
}

TEST_F(CompanyTest, SecondConnectReopensTheSameConnectionObject) {
  Select(2008, 2009);
  Connect(Folder());
  const Variant first = company_->Get("cn");
  Select(2009, 2010);
  Connect(Folder());
  EXPECT_EQ(company_->Get("cn"), first);
  EXPECT_EQ(State(), 1);
  EXPECT_EQ(TableName("AM"), "ACC_MASTER_2009_2010");
  EXPECT_EQ(shown_.size(), 4u);
}

TEST_F(CompanyTest, FailedConnectShowsNothingAndLeavesNamesAndTheConnectionClosed) {
  Select(2008, 2009);
  Connect(Folder());
  shown_.clear();
  struct Case {
    const char* what;
    std::string folder;
    const char* short_name;
    int16_t y1, y2;
    int error;
  };
  const Case cases[] = {
      {"year without a file", Folder(), "ACME", 2010, 2011, 3024},
      {"years left at 0", Folder(), "ACME", 0, 0, 3024},
      {"empty short name", Folder(), "", 2008, 2009, 3024},
      {"folder without its separator", data_.string(), "ACME", 2008, 2009, 3044},
      {"missing company folder", Folder(), "NOBODY", 2008, 2009, 3044},
      {"short name leaving the data folder", Folder(), "../ACME", 2008, 2009, 3044},
      {"folder adding a key of its own", Folder() + ";Data Source=" + Folder() + "ACME/x;", "ACME",
       2008, 2009, 3044},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    company_->Put("ShortName", Variant(c.short_name));
    company_->Put("CurrentYear1", Variant(c.y1));
    company_->Put("CurrentYear2", Variant(c.y2));
    EXPECT_EQ(ErrorNumberOf([&] { Connect(c.folder); }), c.error);
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(TableName("AM"), "ACC_MASTER_2008_2009");
  }
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(fs::exists(data_ / "ACME" / "ACME_0_0.mdb"));
  EXPECT_FALSE(fs::exists(data_ / "ACME" / "ACME_2010_2011.mdb"));
  EXPECT_FALSE(fs::exists(data_ / "NOBODY"));
}

TEST_F(CompanyTest, ConnectionAndTablesAreHeldByReference) {
  // A connection assigned by the front-end is the one ORVConnect opens.
  Ref<Dispatch> other = CreateObject("ORVCompany.clsCompany");
  const Variant their_cn = other->Get("cn");
  company_->PutRef("cn", their_cn);
  Select(2008, 2009);
  Connect(Folder());
  EXPECT_EQ(AsDispatch(their_cn)->Get("State"), Variant(int32_t{1}));
  EXPECT_EQ(
      ErrorNumberOf([&] { company_->PutRef("cn", Variant(CreateObject("ORVCompany.clsTables"))); }),
      err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([&] { company_->Put("cn", their_cn); }), err::kNoSuchMember);

  company_->PutRef("cn", Variant());
  EXPECT_EQ(ErrorNumberOf([&] { Connect(Folder()); }), err::kObjectNotSet);
}

TEST(Tables, NamesFollowTheYearPairAsGiven) {
  Ref<Dispatch> t = CreateObject("ORVCompany.clsTables");
  struct Case {
    int16_t y1, y2;
    const char* am;
    const char* ad;
  };
  const Case cases[] = {
      {2008, 2009, "ACC_MASTER_2008_2009", "ACC_DETAILS_2008_2009"},
      {0, 0, "ACC_MASTER_0_0", "ACC_DETAILS_0_0"},
      {-1, 0, "ACC_MASTER_-1_0", "ACC_DETAILS_-1_0"},
      {2009, 2008, "ACC_MASTER_2009_2008", "ACC_DETAILS_2009_2008"},
  };
  for (const Case& c : cases) {
    t->Call("Initialise_Table_Names", {Variant(c.y1), Variant(c.y2)});
    EXPECT_EQ(t->Get("AM"), Variant(c.am));
    EXPECT_EQ(t->Get("ad"), Variant(c.ad));
  }
  t->Put("AM", Variant("mine"));
  EXPECT_EQ(t->Get("AM"), Variant("mine"));
  // The eight other names are private.
  for (const char* hidden : {"AB", "IT", "VO", "VD", "PU", "CIR", "RE", "ST"})
    EXPECT_EQ(ErrorNumberOf([&] { t->Get(hidden); }), err::kNoSuchMember) << hidden;
  EXPECT_EQ(ErrorNumberOf([&] {
              t->Call("Initialise_Table_Names", {Variant(40000.0), Variant(int16_t{1})});
            }),
            err::kOverflow);
}

}  // namespace
}  // namespace orv
