#include "file_checks.h"

#include "orv/db/schema.h"
#include "process.h"

namespace orv::reliability {

std::string FileProblems(const std::filesystem::path& file) {
  std::string problems;
  const db::CheckReport report = db::CheckYearDatabase(file);
  for (const std::string& p : report.problems) problems += "CheckYearDatabase: " + p + "\n";
  if (!report.ok && report.problems.empty()) problems += "CheckYearDatabase: not ok\n";
  const RunResult tool = RunToEnd(kOrvdbProgram, {"check", file.string()});
  if (tool.exit_code != 0)
    problems += "orvdb check exited with " + std::to_string(tool.exit_code) + ":\n" + tool.output;
  return problems;
}

}  // namespace orv::reliability
