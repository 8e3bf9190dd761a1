#include "orv/db/recordset.h"

#include <strings.h>

#include <cstring>
#include <deque>
#include <optional>
#include <unordered_map>

#include "engine_error.h"

namespace orv::db {
namespace {

constexpr std::string_view kRowidColumn = "orv_rowid_";

enum class ColumnKind : uint8_t { kAny, kInt16, kDouble, kText, kBool, kDate };

ColumnKind KindOfDecl(const char* decl) {
  if (!decl) return ColumnKind::kAny;
  auto starts = [decl](const char* prefix) {
    return strncasecmp(decl, prefix, std::strlen(prefix)) == 0;
  };
  if (starts("SMALLINT")) return ColumnKind::kInt16;
  if (starts("DOUBLE") || starts("REAL") || starts("FLOAT")) return ColumnKind::kDouble;
  if (starts("BOOL")) return ColumnKind::kBool;
  if (starts("DATE")) return ColumnKind::kDate;
  if (starts("TEXT") || starts("VARCHAR") || starts("CHAR") || starts("MEMO"))
    return ColumnKind::kText;
  return ColumnKind::kAny;
}

Variant IntegerValue(int64_t v) {
  if (v >= INT32_MIN && v <= INT32_MAX) return Variant(int32_t(v));
  return Variant(double(v));
}

Variant TextValue(sqlite3_stmt* s, int i) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return Variant(std::string(p ? p : "", size_t(sqlite3_column_bytes(s, i))));
}

Variant ColumnValue(sqlite3_stmt* s, int i, ColumnKind kind) {
  const int storage = sqlite3_column_type(s, i);
  if (storage == SQLITE_NULL) return Variant::MakeNull();
  switch (kind) {
    case ColumnKind::kInt16:
      if (storage == SQLITE_INTEGER) {
        const int64_t v = sqlite3_column_int64(s, i);
        if (v >= -32768 && v <= 32767) return Variant(int16_t(v));
        return IntegerValue(v);
      }
      break;
    case ColumnKind::kDouble:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
        return Variant(sqlite3_column_double(s, i));
      break;
    case ColumnKind::kBool:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
        return Variant(sqlite3_column_double(s, i) != 0);
      break;
    case ColumnKind::kDate:
      if (storage == SQLITE_TEXT) {
        Variant text = TextValue(s, i);
        Date d;
        if (ParseDate(text.text(), &d)) return Variant(d);
        return text;
      }
      if (storage == SQLITE_FLOAT || storage == SQLITE_INTEGER)
        return Variant(Date{sqlite3_column_double(s, i)});
      break;
    case ColumnKind::kText:
    case ColumnKind::kAny:
      break;
  }
  switch (storage) {
    case SQLITE_INTEGER:
      return IntegerValue(sqlite3_column_int64(s, i));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(s, i));
    default:
      return TextValue(s, i);
  }
}

// Binds a value for a column of `kind`, converted as the column's type requires.
void BindValue(sqlite3_stmt* s, int idx, const Variant& v, ColumnKind kind) {
  if (v.IsNull() || v.IsEmpty()) {
    sqlite3_bind_null(s, idx);
    return;
  }
  switch (kind) {
    case ColumnKind::kInt16:
      sqlite3_bind_int(s, idx, v.ToInt16());
      return;
    case ColumnKind::kDouble:
      sqlite3_bind_double(s, idx, v.ToDouble());
      return;
    case ColumnKind::kBool:
      sqlite3_bind_int(s, idx, v.ToBool() ? -1 : 0);
      return;
    case ColumnKind::kDate: {
      const std::string t = FormatDate(v.ToDate());
      sqlite3_bind_text(s, idx, t.data(), int(t.size()), SQLITE_TRANSIENT);
      return;
    }
    case ColumnKind::kText: {
      if (v.type() == VarType::Text) {
        // The value outlives the statement's step: no copy needed.
        sqlite3_bind_text(s, idx, v.text().data(), int(v.text().size()), SQLITE_STATIC);
        return;
      }
      const std::string t = v.ToText();
      sqlite3_bind_text(s, idx, t.data(), int(t.size()), SQLITE_TRANSIENT);
      return;
    }
    case ColumnKind::kAny:
      break;
  }
  switch (v.type()) {
    case VarType::Int16:
    case VarType::Int32:
      sqlite3_bind_int64(s, idx, v.ToInt32());
      return;
    case VarType::Bool:
      sqlite3_bind_int(s, idx, v.boolean() ? -1 : 0);
      return;
    case VarType::Double:
      sqlite3_bind_double(s, idx, v.dbl());
      return;
    default: {
      const std::string t = v.ToText();
      sqlite3_bind_text(s, idx, t.data(), int(t.size()), SQLITE_TRANSIENT);
    }
  }
}

bool NameEquals(const char* a, std::string_view b) {
  size_t i = 0;
  for (; i < b.size(); ++i) {
    char x = a[i], y = b[i];
    if (x == '\0') return false;
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return a[i] == '\0';
}

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

struct Column {
  std::string name;    // as the query names it (short names stay in the string itself)
  std::string origin;  // the table column behind it when its name differs
  bool from_table;     // false for an expression
  ColumnKind kind;
  const std::string& Origin() const { return origin.empty() ? name : origin; }
};

// What a prepared statement's columns are; worked out once per preparation.
struct Description {
  int reprepared;  // the statement's re-preparation count when it was described
  std::vector<Column> columns;
  std::string table;  // the one table the columns come from
  bool mixed_tables = false;
  // INSERT and UPDATE texts built for this statement's columns, by the columns they set.
  mutable std::unordered_map<std::string, std::string> statements;
};

std::shared_ptr<const Description> Describe(sqlite3_stmt* stmt, int first) {
  auto d = std::make_shared<Description>();
  d->reprepared = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
  const int n = sqlite3_column_count(stmt);
  for (int i = first; i < n; ++i) {
    const char* name = sqlite3_column_name(stmt, i);
    const char* origin = sqlite3_column_origin_name(stmt, i);
    const char* table = sqlite3_column_table_name(stmt, i);
    Column c{name ? name : "", "", table != nullptr, KindOfDecl(sqlite3_column_decltype(stmt, i))};
    if (origin && c.name != origin) c.origin = origin;
    if (table) {
      if (d->table.empty())
        d->table = table;
      else if (!NameEquals(d->table.c_str(), table))
        d->mixed_tables = true;
    }
    d->columns.push_back(std::move(c));
  }
  return d;
}

[[noreturn]] void NoCurrentRecord() {
  ThrowDb(err::kNoCurrentRecord,
          "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
          "requires a current record.");
}

}  // namespace

struct Recordset::Impl {
  Ref<Object> owner;  // keeps the connection object alive while the recordset is open
  IConnection* cn = nullptr;
  sqlite3_stmt* stmt = nullptr;             // held until the recordset closes
  bool done = false;                        // every row has been read
  int first = 0;                            // 1 when column 0 is the rowid we added
  std::shared_ptr<const Description> desc;  // shared with the cached statement
  struct Row {
    int64_t rowid = 0;
    std::vector<Variant> values;
  };
  std::deque<Row> rows;
  size_t pos = 0;
  // A row this recordset added is current until the next MoveNext; rows not yet read stay
  // where they are, unread.
  std::optional<Row> added;
  int32_t added_count = 0;
  bool adding = false;
  std::vector<std::pair<int, Variant>> pending;  // changes to the current or new row
  size_t next_lookup = 0;

  ~Impl() {
    if (stmt) cn->ReleaseStatement(stmt);
  }

  bool FetchOne() {
    if (done) return false;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
      Row r;
      if (first) r.rowid = sqlite3_column_int64(stmt, 0);
      r.values.reserve(desc->columns.size());
      for (size_t i = 0; i < desc->columns.size(); ++i)
        r.values.push_back(ColumnValue(stmt, int(i) + first, desc->columns[i].kind));
      rows.push_back(std::move(r));
      return true;
    }
    done = true;
    if (rc == SQLITE_DONE) {
      sqlite3_reset(stmt);  // ends the statement's read of the database
      return false;
    }
    ThrowEngineError(cn->Handle(), sqlite3_sql(stmt));
  }

  bool AtEnd() {
    if (added) return false;
    while (pos >= rows.size())
      if (!FetchOne()) return true;
    return false;
  }

  Row& Current() { return added ? *added : rows[pos]; }

  // Callers mostly ask for columns in table order, so the search starts after the last column
  // found and wraps around.
  int Index(std::string_view name) {
    const size_t n = desc->columns.size();
    for (size_t k = 0; k < n; ++k) {
      const size_t i = (next_lookup + k) % n;
      if (NameEquals(desc->columns[i].name.c_str(), name)) {
        next_lookup = i + 1;
        return int(i);
      }
    }
    ThrowDb(err::kItemNotFound,
            "Item cannot be found in the collection corresponding to the requested name or "
            "ordinal: " +
                std::string(name));
  }

  void CheckIndex(int i) const {
    if (i < 0 || size_t(i) >= desc->columns.size())
      ThrowDb(err::kItemNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal: " +
                  std::to_string(i));
  }

  // The one table whose columns the recordset shows; changing an existing row also needs its
  // rowid.
  const std::string& TargetTable(bool changing_existing_row) const {
    if (desc->table.empty() || desc->mixed_tables || (changing_existing_row && !first))
      ThrowDb(3251, "Current Recordset does not support updating.");
    return desc->table;
  }

  Variant Get(int i) {
    for (auto it = pending.rbegin(); it != pending.rend(); ++it)
      if (it->first == i) return it->second;
    if (adding) return Variant::MakeNull();
    if (AtEnd()) NoCurrentRecord();
    return Current().values[size_t(i)];
  }

  void Set(int i, const Variant& v) {
    if (!adding && AtEnd()) NoCurrentRecord();
    if (!desc->columns[size_t(i)].from_table)
      ThrowDb(3251, "Current Recordset does not support updating: " +
                        desc->columns[size_t(i)].name + " is not a table column.");
    for (auto& p : pending)
      if (p.first == i) {
        p.second = v;
        return;
      }
    pending.emplace_back(i, v);
  }

  // The INSERT (adding) or UPDATE-by-rowid text for the pending columns, each a parameter.
  std::string ChangeSql(const std::string& table) const {
    if (adding && pending.empty()) return "INSERT INTO " + QuoteName(table) + " DEFAULT VALUES";
    std::string sql =
        (adding ? "INSERT INTO " : "UPDATE ") + QuoteName(table) + (adding ? " (" : " SET ");
    for (size_t k = 0; k < pending.size(); ++k) {
      if (k) sql += ',';
      sql += QuoteName(desc->columns[size_t(pending[k].first)].Origin());
      if (!adding) sql += "=?";
    }
    if (!adding) return sql + " WHERE rowid=?";
    sql += ") VALUES (?";
    for (size_t k = 1; k < pending.size(); ++k) sql += ",?";
    return sql + ")";
  }

  void Update() {
    if (!adding && pending.empty()) return;
    const std::string& table = TargetTable(!adding && !added);
    // The statement text depends only on which columns changed: it is kept with the
    // description, so repeated saves of the same shape build it once.
    std::string key(1, adding ? 'i' : 'u');
    for (const auto& p : pending)
      key.append(reinterpret_cast<const char*>(&p.first), sizeof p.first);
    std::string& sql = desc->statements[key];
    if (sql.empty()) sql = ChangeSql(table);
    sqlite3_stmt* s = cn->AcquireStatement(sql);
    try {
      for (size_t k = 0; k < pending.size(); ++k)
        BindValue(s, int(k) + 1, pending[k].second, desc->columns[size_t(pending[k].first)].kind);
      if (!adding) sqlite3_bind_int64(s, int(pending.size()) + 1, Current().rowid);
      if (sqlite3_step(s) != SQLITE_DONE) ThrowEngineError(cn->Handle(), sql);
    } catch (...) {
      cn->ReleaseStatement(s);
      throw;
    }
    cn->ReleaseStatement(s);
    if (adding) {
      Row r;
      r.rowid = sqlite3_last_insert_rowid(cn->Handle());
      r.values.assign(desc->columns.size(), Variant::MakeNull());
      for (auto& [i, v] : pending) r.values[size_t(i)] = v;
      added = std::move(r);
      ++added_count;
      adding = false;
    } else {
      for (auto& [i, v] : pending) Current().values[size_t(i)] = v;
    }
    pending.clear();
  }
};

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

Recordset::Impl& Recordset::Opened() {
  if (!impl_) ThrowDb(err::kObjectClosed, "Operation is not allowed when the object is closed.");
  return *impl_;
}

void Recordset::Open(std::string_view sql, const Variant& cn) {
  Ref<Object> owner = cn.ToObject();
  IConnection& c = ConnectionOf(cn);
  Open(sql, c);
  impl_->owner = std::move(owner);
}

void Recordset::Open(std::string_view sql, IConnection& cn) {
  if (impl_) ThrowDb(3705, "Operation is not allowed when the object is open.");
  if (sql.empty())
    ThrowDb(err::kInvalidArgument, "Command text was not set for the command object.");
  auto impl = std::make_unique<Impl>();
  impl->cn = &cn;
  // Read the rowid alongside the row when the statement allows it, so that a changed row can
  // be written back to exactly the row it came from.
  size_t b = 0;
  while (b < sql.size() && (sql[b] == ' ' || sql[b] == '\t' || sql[b] == '\r' || sql[b] == '\n'))
    ++b;
  if (sql.size() - b > 7 && NameEquals("select", sql.substr(b, 6)) &&
      (sql[b + 6] == ' ' || sql[b + 6] == '\t' || sql[b + 6] == '\n' || sql[b + 6] == '\r')) {
    std::string with_rowid =
        "SELECT _rowid_ AS " + std::string(kRowidColumn) + "," + std::string(sql.substr(b + 6));
    try {
      impl->stmt = cn.AcquireStatement(with_rowid);
      if (sqlite3_column_table_name(impl->stmt, 0) == nullptr) {
        cn.ReleaseStatement(impl->stmt);
        impl->stmt = nullptr;
      } else {
        impl->first = 1;
      }
    } catch (const AutomationError&) {
      impl->stmt = nullptr;
    }
  }
  if (!impl->stmt) impl->stmt = cn.AcquireStatement(sql);
  // The description is kept with the cached statement: later opens of the same text reuse it.
  std::shared_ptr<const void>& slot = cn.StatementSlot(impl->stmt);
  // A change of schema re-prepares a statement; its description is then worked out anew.
  if (!slot || static_cast<const Description*>(slot.get())->reprepared !=
                   sqlite3_stmt_status(impl->stmt, SQLITE_STMTSTATUS_REPREPARE, 0))
    slot = Describe(impl->stmt, impl->first);
  impl->desc = std::static_pointer_cast<const Description>(slot);
  impl_ = std::move(impl);
}

void Recordset::Close() noexcept {
  impl_.reset();
}

bool Recordset::Eof() {
  Impl& r = Opened();
  return !r.adding && r.AtEnd();
}

int32_t Recordset::RecordCount() {
  Impl& r = Opened();
  while (r.FetchOne()) {
  }
  return int32_t(r.rows.size()) + r.added_count;
}

void Recordset::MoveNext() {
  Impl& r = Opened();
  if (r.adding || !r.pending.empty()) r.Update();
  if (r.added) {
    r.added.reset();
    return;
  }
  if (r.AtEnd()) NoCurrentRecord();
  ++r.pos;
}

void Recordset::AddNew() {
  Impl& r = Opened();
  if (r.adding || !r.pending.empty()) r.Update();
  r.TargetTable(false);
  r.added.reset();
  r.adding = true;
}

void Recordset::Update() {
  Opened().Update();
}

Variant Recordset::Field(std::string_view column) {
  Impl& r = Opened();
  return r.Get(r.Index(column));
}

Variant Recordset::Field(int index) {
  Impl& r = Opened();
  r.CheckIndex(index);
  return r.Get(index);
}

void Recordset::SetField(std::string_view column, const Variant& value) {
  Impl& r = Opened();
  r.Set(r.Index(column), value);
}

void Recordset::SetField(int index, const Variant& value) {
  Impl& r = Opened();
  r.CheckIndex(index);
  r.Set(index, value);
}

int Recordset::FieldCount() {
  return int(Opened().desc->columns.size());
}

std::string Recordset::FieldName(int index) {
  Impl& r = Opened();
  r.CheckIndex(index);
  return r.desc->columns[size_t(index)].name;  // copied: the text belongs to the statement
}

}  // namespace orv::db
