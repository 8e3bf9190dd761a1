// orvdb: creates and checks year databases, and registers component libraries.
//
//   orvdb create <data folder> <short name> <year1> <year2>
//   orvdb check <file>
//   orvdb register [--registry <file>] <library>...
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "orv/db/schema.h"
#include "orv/error.h"
#include "orv/registry.h"

namespace {

int Usage() {
  std::cerr << "usage:\n"
               "  orvdb create <data folder> <short name> <year1> <year2>\n"
               "  orvdb check <year database file>\n"
               "  orvdb register [--registry <file>] <component library>...\n";
  return 2;
}

bool ParseYear(const std::string& text, int16_t* out) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < -32768 || v > 32767) return false;
  *out = static_cast<int16_t>(v);
  return true;
}

int Create(const std::vector<std::string>& args) {
  if (args.size() != 4) return Usage();
  int16_t y1, y2;
  if (!ParseYear(args[2], &y1) || !ParseYear(args[3], &y2)) {
    std::cerr << "orvdb: years must be whole numbers from -32768 to 32767\n";
    return 2;
  }
  if (args[1].empty() || args[1] == "." || args[1] == ".." ||
      args[1].find_first_of("/\\") != std::string::npos) {
    std::cerr << "orvdb: the short name must be a plain file name\n";
    return 2;
  }
  const auto file = orv::db::YearDatabaseFile(args[0], args[1], y1, y2);
  orv::db::CreateYearDatabase(file, y1, y2);
  std::cout << "created " << file.string() << "\n";
  return 0;
}

int Check(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  const orv::db::CheckReport r = orv::db::CheckYearDatabase(args[0]);
  for (const auto& [table, rows] : r.row_counts) std::cout << table << "\t" << rows << " rows\n";
  for (const std::string& p : r.problems) std::cout << "problem: " << p << "\n";
  std::cout << (r.ok ? "ok\n" : "FAILED\n");
  return r.ok ? 0 : 1;
}

int Register(std::vector<std::string> args) {
  std::filesystem::path registry = orv::Registry::Instance().File();
  if (args.size() >= 2 && args[0] == "--registry") {
    registry = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  for (const std::string& lib : args) {
    orv::Registry::RegisterLibrary(registry, lib);
    std::cout << "registered " << lib << " in " << registry.string() << "\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (cmd == "create") return Create(args);
    if (cmd == "check") return Check(args);
    if (cmd == "register") return Register(args);
  } catch (const orv::AutomationError& e) {
    std::cerr << "orvdb: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "orvdb: " << e.what() << "\n";
    return 1;
  }
  return Usage();
}
