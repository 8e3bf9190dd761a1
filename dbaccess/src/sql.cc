#include "orv/db/sql.h"

#include "engine_error.h"

namespace orv::db {
namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '$';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool KeywordIs(std::string_view word, std::string_view kw) {
  if (word.size() != kw.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != kw[i]) return false;
  }
  return true;
}

[[noreturn]] void Refuse(std::string what, std::string_view fragment) {
  ThrowDb(err::kUnsafeSqlFragment, what + ": " + std::string(fragment.substr(0, 200)));
}

}  // namespace

std::string YearSuffix(int16_t y1, int16_t y2) {
  return "_" + std::to_string(y1) + "_" + std::to_string(y2);
}

std::string Quote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
  return out;
}

void CheckComparison(std::string_view op) {
  for (std::string_view ok : {"=", "<>", "<", "<=", ">", ">="})
    if (op == ok) return;
  Refuse("Not a comparison operator (expected =, <>, <, <=, > or >=)", op);
}

void CheckSortList(std::string_view list) {
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < list.size() && IsBlank(list[i])) ++i;
  };
  for (;;) {
    skip_blanks();
    // A column name: an identifier or a bracketed name.
    if (i < list.size() && list[i] == '[') {
      const size_t end = list.find(']', i + 1);
      if (end == std::string_view::npos || end == i + 1) Refuse("Not a sort list", list);
      // A bracketed name holds no quote, no bracket and no control character (a NUL would end
      // the statement the engine reads).
      for (size_t k = i + 1; k < end; ++k)
        if (list[k] == '[' || list[k] == '\'' || list[k] == '"' ||
            static_cast<unsigned char>(list[k]) < 0x20)
          Refuse("Not a sort list", list);
      i = end + 1;
    } else if (i < list.size() && IsIdentStart(list[i])) {
      while (i < list.size() && IsIdentChar(list[i])) ++i;
    } else {
      Refuse("Not a sort list (expected column names with ASC or DESC, separated by commas)", list);
    }
    skip_blanks();
    if (i < list.size() && IsIdentStart(list[i])) {
      const size_t start = i;
      while (i < list.size() && IsIdentChar(list[i])) ++i;
      const std::string_view word = list.substr(start, i - start);
      if (!KeywordIs(word, "ASC") && !KeywordIs(word, "DESC")) Refuse("Not a sort list", list);
      skip_blanks();
    }
    if (i == list.size()) return;
    if (list[i] != ',') Refuse("Not a sort list", list);
    ++i;
  }
}

void CheckReadOnlyQuery(IConnection& cn, std::string_view sql) {
  sqlite3* db = cn.Handle();
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &raw, &tail) != SQLITE_OK)
    ThrowEngineError(db, sql);
  StmtPtr stmt(raw);
  if (!stmt) Refuse("Empty query", sql);
  if (!OnlyTrailingNoise(std::string_view(tail, sql.data() + sql.size() - tail)))
    Refuse("Only one statement may be given", sql);
  // The engine knows whether a statement writes; a query must also return rows.
  if (!sqlite3_stmt_readonly(stmt.get()) || sqlite3_column_count(stmt.get()) == 0)
    Refuse("Only a read-only SELECT may be given", sql);
  size_t i = 0;
  while (i < sql.size() && IsBlank(sql[i])) ++i;
  size_t j = i;
  while (j < sql.size() && IsIdentChar(sql[j])) ++j;
  const std::string_view first = sql.substr(i, j - i);
  if (!KeywordIs(first, "SELECT") && !KeywordIs(first, "WITH") && !KeywordIs(first, "VALUES"))
    Refuse("Only a read-only SELECT may be given", sql);
}

LiftedSql LiftLiterals(std::string_view sql) {
  LiftedSql out;
  // A statement with parameters of its own (such as the ones this layer builds) is kept as it
  // is; a '?' inside a text literal only costs the lifting.
  if (sql.find('?') != std::string_view::npos) {
    out.text = std::string(sql);
    return out;
  }
  out.text.reserve(sql.size());
  bool lift = false;
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'') {
      // A text literal; '' inside stands for one quote.
      std::string value;
      size_t j = i + 1;
      bool closed = false;
      while (j < sql.size()) {
        if (sql[j] == '\'') {
          if (j + 1 < sql.size() && sql[j + 1] == '\'') {
            value += '\'';
            j += 2;
            continue;
          }
          closed = true;
          break;
        }
        value += sql[j++];
      }
      if (!closed) {  // leave it to the engine to report
        out.text.append(sql.substr(i));
        break;
      }
      if (lift) {
        out.text += '?';
        out.literals.push_back({LiftedSql::Literal::kText, std::move(value)});
      } else {
        out.text.append(sql.substr(i, j + 1 - i));
      }
      i = j + 1;
    } else if (c == '"' || c == '[' || c == '`') {
      const char close = c == '[' ? ']' : c;
      size_t j = sql.find(close, i + 1);
      j = j == std::string_view::npos ? sql.size() : j + 1;
      out.text.append(sql.substr(i, j - i));
      i = j;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      size_t j = sql.find('\n', i);
      j = j == std::string_view::npos ? sql.size() : j;
      out.text.append(sql.substr(i, j - i));
      i = j;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      size_t j = sql.find("*/", i + 2);
      j = j == std::string_view::npos ? sql.size() : j + 2;
      out.text.append(sql.substr(i, j - i));
      i = j;
    } else if (IsIdentStart(c)) {
      size_t j = i;
      while (j < sql.size() && IsIdentChar(sql[j])) ++j;
      const std::string_view word = sql.substr(i, j - i);
      if (KeywordIs(word, "WHERE") || KeywordIs(word, "SET") || KeywordIs(word, "VALUES") ||
          KeywordIs(word, "ON") || KeywordIs(word, "HAVING"))
        lift = true;
      else if (KeywordIs(word, "SELECT") || KeywordIs(word, "ORDER") || KeywordIs(word, "GROUP") ||
               KeywordIs(word, "LIMIT") || KeywordIs(word, "FROM"))
        lift = false;
      out.text.append(word);
      i = j;
    } else if (IsDigit(c) || (c == '.' && i + 1 < sql.size() && IsDigit(sql[i + 1]))) {
      size_t j = i;
      bool real = false;
      if (c == '0' && j + 1 < sql.size() && (sql[j + 1] == 'x' || sql[j + 1] == 'X')) {
        j += 2;
        while (j < sql.size() && IsIdentChar(sql[j])) ++j;
        out.text.append(sql.substr(i, j - i));
        i = j;
        continue;
      }
      while (j < sql.size() && IsDigit(sql[j])) ++j;
      if (j < sql.size() && sql[j] == '.') {
        real = true;
        ++j;
        while (j < sql.size() && IsDigit(sql[j])) ++j;
      }
      if (j < sql.size() && (sql[j] == 'e' || sql[j] == 'E')) {
        size_t k = j + 1;
        if (k < sql.size() && (sql[k] == '+' || sql[k] == '-')) ++k;
        if (k < sql.size() && IsDigit(sql[k])) {
          real = true;
          while (k < sql.size() && IsDigit(sql[k])) ++k;
          j = k;
        }
      }
      const std::string_view number = sql.substr(i, j - i);
      // A number glued to a name ("1abc") is the engine's to reject; long integers stay text.
      const bool glued = j < sql.size() && IsIdentChar(sql[j]);
      if (lift && !glued && (real || number.size() <= 18)) {
        out.text += '?';
        out.literals.push_back(
            {real ? LiftedSql::Literal::kReal : LiftedSql::Literal::kInteger, std::string(number)});
      } else {
        out.text.append(number);
      }
      i = j;
    } else if (c == ':' || c == '@' || c == '$') {
      // Named parameters of the caller's own would mix with ours: leave the statement as it is.
      LiftedSql plain;
      plain.text = std::string(sql);
      return plain;
    } else {
      out.text += c;
      ++i;
    }
  }
  return out;
}

}  // namespace orv::db
