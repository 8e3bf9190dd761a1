#include "orv/db/connection.h"

#include <filesystem>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine_error.h"
#include "orv/db/connection_string.h"
#include "orv/db/sql.h"

namespace orv::db {
namespace fs = std::filesystem;

const Guid IConnection::kIid = Guid::FromLiteral("{6E1A4C90-3B2D-4E8F-9A51-0C7D2B8E4F13}");

bool OnlyTrailingNoise(std::string_view rest) noexcept {
  size_t i = 0;
  while (i < rest.size()) {
    const char c = rest[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';') {
      ++i;
    } else if (c == '-' && i + 1 < rest.size() && rest[i + 1] == '-') {
      while (i < rest.size() && rest[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < rest.size() && rest[i + 1] == '*') {
      const size_t end = rest.find("*/", i + 2);
      if (end == std::string_view::npos) return false;
      i = end + 2;
    } else {
      return false;
    }
  }
  return true;
}

std::string PasswordCheck(std::string_view password) {
  // FNV-1a, 64 bits, over a fixed prefix and the password.
  uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&h](std::string_view text) {
    for (char c : text) {
      h ^= static_cast<unsigned char>(c);
      h *= 0x100000001b3ull;
    }
  };
  mix("orv-year-database:");
  mix(password);
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf;
}

void ThrowEngineError(sqlite3* db, std::string_view context) {
  const int code = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
  std::string message = db ? sqlite3_errmsg(db) : "no database";
  if (!context.empty()) message += " [" + std::string(context.substr(0, 500)) + "]";
  int32_t number = err::kDatabaseError;
  switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
      number = 3022;  // duplicate value in a unique key, or a required value missing
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      number = 3218;  // currently locked
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      number = 3051;  // cannot write the file
      break;
    case SQLITE_FULL:
      number = 3183;  // disk full
      break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      number = 3343;  // unrecognized database format
      break;
    default:
      break;
  }
  ThrowDb(number, std::move(message));
}

namespace {

class Connection final : public DispatchObject<Connection>, public IConnection {
 public:
  static const ClassTable<Connection>& Table();

  ~Connection() override { Close(); }

  void* QueryInterface(const Guid& iid) noexcept override {
    if (iid == IConnection::kIid) return static_cast<IConnection*>(this);
    return Dispatch::QueryInterface(iid);
  }

  int32_t State() const noexcept override { return db_ ? kStateOpen : kStateClosed; }
  const std::string& ConnectionString() const noexcept override { return connection_string_; }

  void Open(std::string_view connection_string, std::string_view /*user*/,
            std::string_view /*password*/, int32_t /*options*/) override {
    if (db_) ThrowDb(3705, "Operation is not allowed when the object is open.");
    if (!connection_string.empty()) connection_string_ = std::string(connection_string);
    auto keys = ParseConnectionString(connection_string_);
    if (LowerAscii(keys["provider"]) != LowerAscii(kProvider))
      ThrowDb(err::kProviderNotFound,
              "Provider cannot be found. It may not be properly installed.");
    std::string path = keys["data source"];
    for (char& c : path)
      if (c == '\\') c = '/';
    if (path.empty()) ThrowDb(3024, "Could not find file ''.");
    const fs::path file(path);
    std::error_code ec;
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(dir, ec))
      ThrowDb(3044,
              "'" + dir.string() +
                  "' is not a valid path.  Make sure that the path name is "
                  "spelled correctly and that you are connected to the server on which the file "
                  "resides.");
    if (!fs::is_regular_file(file, ec)) ThrowDb(3024, "Could not find file '" + path + "'.");

    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    DbPtr db(raw);
    if (rc != SQLITE_OK) ThrowEngineError(db.get(), path);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), 30000);

    // The password check: a file that is not a year database, or one whose password differs,
    // is refused before anything else runs on it.
    sqlite3_stmt* raw_stmt = nullptr;
    // A file that is no database, or one without the year database's description, is not a year
    // database; any other failure (a read-only folder, a locked file) is the engine's to report.
    auto refuse = [&](int rc) {
      if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_ERROR || rc == SQLITE_DONE)
        ThrowDb(3343, "Unrecognized database format '" + path + "'.");
      ThrowEngineError(db.get(), path);
    };
    if (const int rc =
            sqlite3_prepare_v2(db.get(), "SELECT value FROM ORV_DATABASE WHERE key='password'", -1,
                               &raw_stmt, nullptr);
        rc != SQLITE_OK)
      refuse(sqlite3_extended_errcode(db.get()));
    StmtPtr stmt(raw_stmt);
    if (const int step = sqlite3_step(stmt.get()); step != SQLITE_ROW)
      refuse(step == SQLITE_DONE ? step : sqlite3_extended_errcode(db.get()));
    const auto* stored = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
    if (!stored || PasswordCheck(keys["jet oledb:database password"]) != stored)
      ThrowDb(err::kInvalidPassword, "Not a valid password.");
    stmt.reset();

    // Savepoint journals of nested units stay in memory: they are small and short-lived.
    for (const char* pragma :
         {"PRAGMA synchronous=FULL", "PRAGMA foreign_keys=OFF", "PRAGMA temp_store=MEMORY"})
      if (sqlite3_exec(db.get(), pragma, nullptr, nullptr, nullptr) != SQLITE_OK)
        ThrowEngineError(db.get(), pragma);
    db_ = std::move(db);
    trans_level_ = 0;
  }

  void Close() noexcept override {
    if (!db_) return;
    for (auto& [sql, list] : idle_)
      for (sqlite3_stmt* s : list) sqlite3_finalize(s);
    idle_.clear();
    slots_.clear();
    idle_count_ = 0;
    // Statements still held by recordsets are finalized when they come back; close_v2 waits
    // for them.
    in_use_.clear();
    db_.reset();
    trans_level_ = 0;
  }

  int64_t Execute(std::string_view sql) override {
    sqlite3_stmt* stmt = AcquireStatement(sql);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      ReleaseAfterError(stmt, sql);
    }
    const int64_t changed = sqlite3_changes64(db_.get());
    ReleaseStatement(stmt);
    return changed;
  }

  int32_t BeginTrans() override {
    CheckTransactionKept();
    Run(trans_level_ == 0 && sqlite3_get_autocommit(Handle())
            ? std::string("BEGIN IMMEDIATE")
            : "SAVEPOINT orv_trans_" + std::to_string(trans_level_));
    return ++trans_level_;
  }

  void CommitTrans() override {
    if (trans_level_ == 0)
      ThrowDb(3034, "You tried to commit or rollback without first beginning a transaction.");
    CheckTransactionKept();
    --trans_level_;
    Run(trans_level_ == 0 ? std::string("COMMIT")
                          : "RELEASE orv_trans_" + std::to_string(trans_level_));
  }

  void RollbackTrans() override {
    if (trans_level_ == 0)
      ThrowDb(3034, "You tried to commit or rollback without first beginning a transaction.");
    const bool lost = TransactionLost();
    --trans_level_;
    if (lost) return;  // the engine has already undone all of it
    if (trans_level_ == 0) {
      Run("ROLLBACK");
    } else {
      const std::string name = "orv_trans_" + std::to_string(trans_level_);
      Run("ROLLBACK TO " + name);
      Run("RELEASE " + name);
    }
  }

  sqlite3* Handle() override {
    if (!db_)
      ThrowDb(err::kConnectionNotUsable,
              "The connection cannot be used to perform this operation. It is either closed or "
              "invalid in this context.");
    return db_.get();
  }

  sqlite3_stmt* AcquireStatement(std::string_view sql) override {
    sqlite3* db = Handle();
    CheckTransactionKept();
    if (sql.empty())
      ThrowDb(err::kInvalidArgument, "Command text was not set for the command object.");
    LiftedSql lifted = LiftLiterals(sql);
    sqlite3_stmt* stmt = nullptr;
    if (auto it = idle_.find(lifted.text); it != idle_.end() && !it->second.empty()) {
      stmt = it->second.back();
      it->second.pop_back();
      --idle_count_;
    } else {
      const char* tail = nullptr;
      if (sqlite3_prepare_v3(db, lifted.text.data(), int(lifted.text.size()),
                             SQLITE_PREPARE_PERSISTENT, &stmt, &tail) != SQLITE_OK)
        ThrowEngineError(db, sql);
      if (!stmt) ThrowDb(err::kInvalidArgument, "Command text was not set for the command object.");
      if (!OnlyTrailingNoise(
              std::string_view(tail, lifted.text.data() + lifted.text.size() - tail))) {
        sqlite3_finalize(stmt);
        ThrowDb(3142, "Characters found after end of SQL statement. [" + std::string(sql) + "]");
      }
    }
    in_use_.insert(stmt);
    for (size_t i = 0; i < lifted.literals.size(); ++i) {
      const auto& lit = lifted.literals[i];
      const int idx = int(i) + 1;
      int rc;
      switch (lit.kind) {
        case LiftedSql::Literal::kInteger:
          rc = sqlite3_bind_int64(stmt, idx, std::stoll(lit.value));
          break;
        case LiftedSql::Literal::kReal:
          rc = sqlite3_bind_double(stmt, idx, std::strtod(lit.value.c_str(), nullptr));
          break;
        default:
          rc = sqlite3_bind_text(stmt, idx, lit.value.data(), int(lit.value.size()),
                                 SQLITE_TRANSIENT);
          break;
      }
      if (rc != SQLITE_OK) ReleaseAfterError(stmt, sql);
    }
    return stmt;
  }

  void ReleaseStatement(sqlite3_stmt* stmt) noexcept override {
    if (!stmt) return;
    if (!db_ || !in_use_.erase(stmt) || sqlite3_db_handle(stmt) != db_.get()) {
      sqlite3_finalize(stmt);  // from a connection since closed
      return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (idle_count_ >= kMaxIdle) {
      slots_.erase(stmt);
      sqlite3_finalize(stmt);
      return;
    }
    idle_[sqlite3_sql(stmt)].push_back(stmt);
    ++idle_count_;
  }

 private:
  std::shared_ptr<const void>& StatementSlot(sqlite3_stmt* stmt) override { return slots_[stmt]; }

  static constexpr size_t kMaxIdle = 512;

  [[noreturn]] void ReleaseAfterError(sqlite3_stmt* stmt, std::string_view sql) {
    // Take the message before the reset clears it.
    try {
      ThrowEngineError(db_.get(), sql);
    } catch (...) {
      ReleaseStatement(stmt);
      throw;
    }
  }

  // True when the caller has a transaction open but the engine rolled it back by itself (it does
  // so on a full disk or an I/O error).
  bool TransactionLost() { return trans_level_ > 0 && sqlite3_get_autocommit(Handle()); }

  // Nothing may run in a lost transaction: it would be committed on its own, behind the back of
  // a caller who still means to roll back.
  void CheckTransactionKept() {
    if (TransactionLost())
      ThrowDb(3034,
              "The transaction was rolled back by the database engine (disk full or I/O error); "
              "call RollbackTrans before anything else.");
  }

  void Run(const std::string& sql) {
    if (sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      ThrowEngineError(db_.get(), sql);
  }

  DbPtr db_;
  std::string connection_string_;
  int32_t trans_level_ = 0;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
  size_t idle_count_ = 0;
  std::unordered_set<sqlite3_stmt*> in_use_;
  std::unordered_map<sqlite3_stmt*, std::shared_ptr<const void>> slots_;
};

const ClassTable<Connection>& Connection::Table() {
  static const ClassTable<Connection> table(
      "Connection", "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B57}", "_Connection",
      "{5F2B8C41-7D3E-4A69-B0C2-9E8F1A6D3B58}",
      {
          {{"ConnectionString", 0, kPropertyGet | kPropertyPut, VarType::Text},
           [](Connection& c) { return Variant(c.connection_string_); },
           [](Connection& c, const Variant& v) {
             if (c.db_) ThrowDb(3705, "Operation is not allowed when the object is open.");
             c.connection_string_ = v.ToText();
           }},
          {{"State", 1, kPropertyGet, VarType::Int32},
           [](Connection& c) { return Variant(c.State()); }},
          {{"Open",
            2,
            kMethod,
            VarType::Empty,
            {{"ConnectionString", VarType::Text, false, true},
             {"UserID", VarType::Text, false, true},
             {"Password", VarType::Text, false, true},
             {"Options", VarType::Int32, false, true}}},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant> a) {
             auto text = [&](size_t i) { return i < a.size() ? a[i].JoinText() : std::string(); };
             c.Open(text(0), text(1), text(2), a.size() > 3 ? a[3].ToInt32() : -1);
             return Variant();
           }},
          {{"Close", 3, kMethod},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant>) {
             if (!c.db_)
               ThrowDb(err::kObjectClosed, "Operation is not allowed when the object is closed.");
             c.Close();
             return Variant();
           }},
          {{"Execute",
            4,
            kMethod,
            VarType::Empty,
            {{"CommandText", VarType::Text},
             {"RecordsAffected", VarType::Empty, true, true},
             {"Options", VarType::Int32, false, true}}},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant> a) {
             const int64_t n = c.Execute(a[0].ToText());
             if (a.size() > 1) a[1] = Variant(int32_t(n));
             return Variant();
           }},
          {{"BeginTrans", 5, kMethod, VarType::Int32},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant>) { return Variant(c.BeginTrans()); }},
          {{"CommitTrans", 6, kMethod},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant>) {
             c.CommitTrans();
             return Variant();
           }},
          {{"RollbackTrans", 7, kMethod},
           nullptr,
           nullptr,
           [](Connection& c, std::span<Variant>) {
             c.RollbackTrans();
             return Variant();
           }},
      });
  return table;
}

}  // namespace

Ref<Dispatch> NewConnection() {
  return Ref<Dispatch>(MakeRef<Connection>());
}

IConnection& ConnectionOf(const Variant& cn) {
  Ref<Object> obj = cn.ToObject();
  if (!obj) ThrowObjectNotSet();
  auto* c = QueryAs<IConnection>(obj.get());
  if (!c) ThrowTypeMismatch();
  return *c;
}

}  // namespace orv::db
