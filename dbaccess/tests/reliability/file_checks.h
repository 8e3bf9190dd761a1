// The programs the reliability tests run, and the check every test makes of a year database
// after something went wrong around it.
#pragma once

#include <filesystem>
#include <string>

namespace orv::reliability {

// The child program (see poster.cc) and the command-line tool, as the build placed them.
inline const std::string kPosterProgram = ORV_POSTER;
inline const std::string kOrvdbProgram = ORV_ORVDB;

// "" when the file passes the engine's integrity check and the check of its tables and columns,
// both in this process (db::CheckYearDatabase) and through `orvdb check`; else what failed.
std::string FileProblems(const std::filesystem::path& file);

}  // namespace orv::reliability
