// Walkthrough: creates the year database of a demo company under ./demo-data, opens it through
// clsCompany (created by ProgID through the class registry) and runs each component's step.
#include "walkthrough.h"

#include <cstdlib>
#include <filesystem>

#include "orv/db/schema.h"
#include "orv/error.h"
#include "orv/registry.h"

namespace fs = std::filesystem;
using orv::Variant;

int main(int argc, char** argv) {
  const fs::path data = argc > 1 ? fs::path(argv[1]) : fs::path("demo-data");
  try {
    if (!std::getenv("ORV_REGISTRY")) orv::Registry::Instance().SetFile(ORV_BUILD_REGISTRY);
    orv::walkthrough::Context ctx;

    orv::walkthrough::Heading("Company");
    const fs::path file = orv::db::YearDatabaseFile(data, "DEMO", ctx.year1, ctx.year2);
    if (fs::exists(file)) {
      // Start from an empty year each run so that every step shows the same thing.
      std::cout << "removing the previous demo year database " << file.string() << "\n";
      for (const char* tail : {"", "-wal", "-shm"}) fs::remove(file.string() + tail);
    }
    orv::db::CreateYearDatabase(file, ctx.year1, ctx.year2);
    std::cout << "created year database " << file.string() << "\n";

    orv::Registry::Instance().SetMessageHandler(
        [](std::string_view text) { std::cout << "[message box] " << text << "\n"; });
    ctx.company = orv::CreateObject("ORVCompany.clsCompany");
    std::cout << "created " << ctx.company->Type().class_name << " from the registry "
              << orv::Registry::Instance().File().string() << "\n";
    ctx.company->Put("ShortName", Variant("DEMO"));
    ctx.company->Put("CurrentYear1", Variant(ctx.year1));
    ctx.company->Put("CurrentYear2", Variant(ctx.year2));
    const std::string folder = fs::absolute(data).string() + "/";
    ctx.company->Call("ORVConnect", {Variant(folder)});
    ctx.cn = ctx.company->Get("cn");
    auto tables = orv::AsDispatch(ctx.company->Get("Table"));
    std::cout << "connected: " << orv::AsDispatch(ctx.cn)->Get("ConnectionString").ToText() << "\n"
              << "account master table:  " << tables->Get("AM").ToText() << "\n"
              << "account details table: " << tables->Get("AD").ToText() << "\n";

    for (auto step : {orv::walkthrough::Accounts, orv::walkthrough::Vouchers,
                      orv::walkthrough::Trade, orv::walkthrough::Items})
      if (step) step(ctx);
    std::cout << "\nwalkthrough finished\n";
  } catch (const orv::AutomationError& e) {
    std::cerr << "walkthrough failed: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
