// Child processes for the reliability tests: a program started with posix_spawn (a fresh
// executable, never a bare fork of a process that has loaded libraries and may run threads),
// its standard output read through a pipe, and a scratch folder that removes itself.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orv::reliability {

// A running child. Its standard output is this object's to read; its standard error is the
// test's. Destroying the object kills (SIGKILL) and reaps a child that is still running.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }

  // The next line of output (without its newline); nullopt at the end of the output, or when
  // none came within `timeout`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  // Every line still to come, up to the end of the output (the child has ended or closed it).
  std::vector<std::string> ReadRemainingLines();

  void Kill();
  // Waits for the child and returns its wait status.
  int Wait();

 private:
  bool Fill(int timeout_ms);  // false at the end of the output or on timeout

  pid_t pid_ = -1;
  int out_ = -1;
  bool eof_ = false;
  std::optional<int> status_;
  std::string buffer_;
};

// Runs a program to its end and returns its exit code (-1 when it did not exit normally) and
// its output.
struct RunResult {
  int exit_code;
  std::string output;
};
RunResult RunToEnd(const std::string& program, const std::vector<std::string>& args);

// A fresh folder under the temporary directory, removed with everything in it.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& label);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orv::reliability
