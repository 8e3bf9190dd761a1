// The child process of the reliability tests. It reports on standard output, one line at a
// time and unbuffered, so that a line the parent reads was written before anything after it
// happened:
//
//   post <file> <first id> <count>   "ready" once connected, then for each voucher "saving <id>"
//                                    before its Save and "<id>" once the Save returned
//   read <file> <vouchers>           lists vouchers and accounts until the file holds <vouchers>
//                                    complete vouchers: "done <rounds> <listed>", or "problem ..."
//   readonly-save <file> <id>        gives up the right to write files it may not write, says
//                                    "file <writable|read-only>, folder <writable|read-only>",
//                                    then tries to read ("rows <n>" or "read-error <number>
//                                    <text>") and to post ("saved" or "save-error <number> <text>")
//
// A failed call ends the program with "error <number> <text>" and exit code 1.
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "orv/db/connection.h"
#include "orv/db/schema.h"
#include "orv/error.h"
#include "orv/registry.h"
#include "voucher_plan.h"

namespace orv::reliability {
namespace {

void Say(std::string line) {
  std::replace(line.begin(), line.end(), '\n', ' ');
  line += '\n';
  size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, line.data() + done, line.size() - done);
    if (n < 0) std::_Exit(4);
    done += size_t(n);
  }
}

std::string Describe(const AutomationError& e) {
  return std::to_string(e.number()) + " " + e.description();
}

Variant Connect(const std::string& file) {
  Variant cn(db::NewConnection());
  db::ConnectionOf(cn).Open(db::ConnectionStringFor(file), "", "", -1);
  return cn;
}

int PostMode(const std::string& file, int16_t first, int count) {
  const Variant cn = Connect(file);
  Say("ready");
  for (int k = 0; k < count; ++k) {
    const int16_t id = int16_t(first + k);
    Say("saving " + std::to_string(id));
    Post(id, cn);
    Say(std::to_string(id));
  }
  return 0;
}

// One round: a list of the latest receipts through clsBankVoucher (each voucher read leg by
// leg), the posting accounts through clsAccount, and a census of the whole table.
int ReadMode(const std::string& file, int64_t vouchers) {
  const Variant cn = Connect(file);
  Ref<Dispatch> bank = CreateObject("ORVVouchers.clsBankVoucher");
  Ref<Dispatch> account = CreateObject("ORVMasters.clsAccount");
  const std::string query = std::string("Select V_Id from ") + kVoucherTable +
                            " where V_EntryNo=1 And V_VoucherType='Receipt' order by V_Id desc "
                            "limit 20";
  int64_t rounds = 0, listed = 0;
  for (;;) {
    ++rounds;
    std::vector<Variant> args = {Variant(query), cn, Variant(kY1), Variant(kY2), Variant()};
    const int16_t n = bank->Call("Get_Vouchers_With_Details", args).ToInt16();
    for (int16_t i = 0; i < n; ++i) {
      Ref<Dispatch> v = AsDispatch(args[4].array().items[size_t(i)]);
      const int16_t id = v->Get("V_Id").ToInt16();
      const std::vector<PlannedRow> rows = PlannedRows(id);
      if (v->Get("BankAmt").ToDouble() != rows.front().amount ||
          v->Get("CustomerAmt").ToDouble() != rows.back().amount ||
          v->Get("V_Remarks").ToText() != RemarksOf(id)) {
        Say("problem: listed voucher " + std::to_string(id) + " is not as posted");
        return 1;
      }
    }
    listed += n;

    std::vector<Variant> list = {
        Variant(int16_t{0}), Variant("L"), Variant(""),  Variant(""),  Variant(int16_t{0}),
        Variant("AM_AccId"), cn,           Variant(kY1), Variant(kY2), Variant()};
    const int16_t accounts = account->Call("Get_Accounts_With_Id", list).ToInt16();
    if (size_t(accounts) != LegAccounts().size()) {
      Say("problem: " + std::to_string(accounts) + " accounts listed");
      return 1;
    }

    const Census census = TakeCensus(db::ConnectionOf(cn).Handle());
    if (!census.problems.empty()) {
      Say("problem: " + census.problems.front());
      return 1;
    }
    if (census.Complete() == vouchers) {
      Say("done " + std::to_string(rounds) + " " + std::to_string(listed));
      return 0;
    }
  }
}

// Takes away the capabilities that let a privileged user write a file whose permissions
// forbid it, so that a read-only file is read-only for this process as for anyone else.
bool DropFileOverrides() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
    data[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
    data[CAP_TO_INDEX(cap)].permitted &= ~CAP_TO_MASK(cap);
    data[CAP_TO_INDEX(cap)].inheritable &= ~CAP_TO_MASK(cap);
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

// Whether this process can write `file`, and create a file in its folder.
bool CanWrite(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}
bool CanCreateBeside(const std::string& file) {
  const std::string probe = file + ".probe";
  const int fd = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

int ReadOnlyMode(const std::string& file, int16_t id) {
  Say(std::string("file ") + (CanWrite(file) ? "writable" : "read-only") + ", folder " +
      (CanCreateBeside(file) ? "writable" : "read-only"));
  Variant cn;
  try {
    cn = Connect(file);
    const int64_t rows = TakeCensus(db::ConnectionOf(cn).Handle()).rows;
    Say("rows " + std::to_string(rows));
  } catch (const AutomationError& e) {
    Say("read-error " + Describe(e));
    return 0;
  } catch (const std::exception& e) {
    Say(std::string("read-error 0 ") + e.what());
    return 0;
  }
  try {
    Post(id, cn);
    Say("saved");
  } catch (const AutomationError& e) {
    Say("save-error " + Describe(e));
  }
  return 0;
}

int Main(const std::vector<std::string>& args) {
  if (args.size() == 4 && args[0] == "post")
    return PostMode(args[1], int16_t(std::stoi(args[2])), std::stoi(args[3]));
  if (args.size() == 3 && args[0] == "read") return ReadMode(args[1], std::stoll(args[2]));
  if (args.size() == 3 && args[0] == "readonly-save") {
    if (!DropFileOverrides()) {
      Say("cannot drop privileges");
      return 3;
    }
    return ReadOnlyMode(args[1], int16_t(std::stoi(args[2])));
  }
  Say("usage: post <file> <first id> <count> | read <file> <vouchers> | readonly-save <file> <id>");
  return 2;
}

}  // namespace
}  // namespace orv::reliability

int main(int argc, char** argv) {
  try {
    return orv::reliability::Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const orv::AutomationError& e) {
    orv::reliability::Say("error " + orv::reliability::Describe(e));
  } catch (const std::exception& e) {
    orv::reliability::Say(std::string("error 0 ") + e.what());
  }
  return 1;
}
