// A recordset over one SQL text on a connection: rows are read lazily, a row can be added
// (AddNew, set fields, Update) or the current row changed (set fields, Update).
//
// Opening does not read: `Select * from T` opened only to add a row never touches T's rows.
// A changed row is written back by its rowid. RecordCount reads the remaining rows, so it is
// the true count. The statement goes back to the connection's cache when the recordset is
// closed or destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orv/db/connection.h"
#include "orv/variant.h"

namespace orv::db {

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Opens `sql` on the connection held in `cn`. An empty text fails (command text not set).
  void Open(std::string_view sql, const Variant& cn);
  void Open(std::string_view sql, IConnection& cn);
  void Close() noexcept;
  int32_t State() const noexcept { return impl_ ? kStateOpen : kStateClosed; }

  bool Eof();
  int32_t RecordCount();
  void MoveNext();
  void AddNew();
  void Update();

  // The current row's value of a column by name (without regard to case) or by index.
  Variant Field(std::string_view column);
  Variant Field(int index);
  void SetField(std::string_view column, const Variant& value);
  void SetField(int index, const Variant& value);

  int FieldCount();
  std::string FieldName(int index);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  Impl& Opened();
};

// The automation face of a recordset (Open, EOF, RecordCount, MoveNext, AddNew, Update, State,
// Close, Fields(...).Value) for front-ends that bind late.
Ref<Dispatch> NewRecordsetObject();

}  // namespace orv::db
