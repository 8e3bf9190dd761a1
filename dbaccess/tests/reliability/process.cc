#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

extern char** environ;

namespace orv::reliability {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// Owns posix_spawn's file actions.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) Fail("pipe");
  Fd read_end(fds[0]), write_end(fds[1]);

  FileActions actions;
  // dup2 clears close-on-exec on the child's standard output; every other pipe end closes.
  posix_spawn_file_actions_adddup2(actions.get(), write_end.get(), STDOUT_FILENO);
  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawn(&pid_, program.c_str(), actions.get(), nullptr, argv.data(), environ);
  if (rc != 0) {
    errno = rc;
    Fail("posix_spawn " + program);
  }
  out_ = read_end.release();
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    Kill();
    Wait();
  }
  if (out_ >= 0) ::close(out_);
}

bool ChildProcess::Fill(int timeout_ms) {
  if (eof_) return false;
  pollfd p{out_, POLLIN, 0};
  const int ready = ::poll(&p, 1, timeout_ms);
  if (ready < 0 && errno != EINTR) Fail("poll");
  if (ready <= 0) return false;
  char chunk[4096];
  const ssize_t n = ::read(out_, chunk, sizeof chunk);
  if (n < 0) {
    if (errno == EINTR) return true;
    Fail("read");
  }
  if (n == 0) {
    eof_ = true;
    return false;
  }
  buffer_.append(chunk, size_t(n));
  return true;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const size_t nl = buffer_.find('\n');
    if (nl != std::string::npos) {
      std::string line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || eof_) return std::nullopt;
    Fill(int(left.count()));
  }
}

std::vector<std::string> ChildProcess::ReadRemainingLines() {
  while (Fill(-1)) {
  }
  std::vector<std::string> lines;
  size_t start = 0, nl;
  while ((nl = buffer_.find('\n', start)) != std::string::npos) {
    lines.push_back(buffer_.substr(start, nl - start));
    start = nl + 1;
  }
  // A last line cut off by a kill is not a whole report; it is left out.
  buffer_.erase(0, start);
  return lines;
}

void ChildProcess::Kill() {
  if (!status_) ::kill(pid_, SIGKILL);
}

int ChildProcess::Wait() {
  if (status_) return *status_;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0)
    if (errno != EINTR) Fail("waitpid");
  status_ = status;
  return status;
}

RunResult RunToEnd(const std::string& program, const std::vector<std::string>& args) {
  ChildProcess child(program, args);
  std::string output;
  for (const std::string& line : child.ReadRemainingLines()) output += line + "\n";
  const int status = child.Wait();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

ScratchDir::ScratchDir(const std::string& label) {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("orv-" + label + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace orv::reliability
