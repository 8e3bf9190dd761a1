#include "classes.h"
#include "orv/db/connection.h"
#include "orv/db/connection_string.h"
#include "orv/registry.h"

namespace orv::company {
namespace {

// The value of a by-reference object property must be an object of the expected interface
// (or nothing).
Variant CheckedObject(const Variant& v, const Guid& iid) {
  Ref<Object> obj = v.ToObject();
  if (obj && !obj->QueryInterface(iid)) ThrowTypeMismatch();
  return Variant(obj);
}

// The short name names a folder and a file inside the data folder, so it must be a plain name:
// no separator, and not "." or "..". (An empty name is left to fail as the open does.)
void CheckShortName(const std::string& name) {
  if (name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
    ThrowError(3044, "ORV.Database",
               "'" + name +
                   "' is not a valid company short name: it names a folder and a file "
                   "inside the data folder.");
}

}  // namespace

Company::Company() : cn(db::NewConnection()), tables(MakeRef<Tables>()) {}

int16_t Company::Connect(const std::string& data_folder) {
  const std::string y = std::to_string(year1) + "_" + std::to_string(year2);
  const std::string path = data_folder + short_name + "\\" + short_name + "_" + y + ".mdb";
  db::IConnection& c = db::ConnectionOf(cn);
  if (c.State() == db::kStateOpen) c.Close();
  CheckShortName(short_name);
  c.Open(db::ConnectionStringFor(std::string_view(path)), "", "", -1);
  ShowMessage("Connection successfull...");
  AsDispatch(tables)->Call("Initialise_Table_Names", {Variant(year1), Variant(year2)});
  ShowMessage("Tables Initialised ...");
  return 0;
}

const ClassTable<Company>& Company::Table() {
  static const ClassTable<Company> table(
      "clsCompany", "{EB31EC61-A725-481A-BC01-5F3C5FC9D135}", "_clsCompany",
      "{9CFE4F5A-2121-49AE-8D63-AC2A144DAC0E}",
      {
          {{"ShortName", 0x40030001, kPropertyGet | kPropertyPut, VarType::Text},
           [](Company& c) { return Variant(c.short_name); },
           [](Company& c, const Variant& v) { c.short_name = v.ToText(); }},
          {{"cn", 0x40030010, kPropertyGet | kPropertyPutRef, VarType::Object},
           [](Company& c) { return c.cn; },
           [](Company& c, const Variant& v) { c.cn = CheckedObject(v, db::IConnection::kIid); }},
          {{"CurrentYear1", 0x40030011, kPropertyGet | kPropertyPut, VarType::Int16},
           [](Company& c) { return Variant(c.year1); },
           [](Company& c, const Variant& v) { c.year1 = v.ToInt16(); }},
          {{"CurrentYear2", 0x40030012, kPropertyGet | kPropertyPut, VarType::Int16},
           [](Company& c) { return Variant(c.year2); },
           [](Company& c, const Variant& v) { c.year2 = v.ToInt16(); }},
          {{"Table", 0x40030013, kPropertyGet | kPropertyPutRef, VarType::Object},
           [](Company& c) { return c.tables; },
           [](Company& c, const Variant& v) {
             c.tables = CheckedObject(v, Tables::Table().type().iid);
           }},
          {{"ORVConnect", 0x60030000, kMethod, VarType::Int16, {{"strDBPath", VarType::Text}}},
           nullptr,
           nullptr,
           [](Company& c, std::span<Variant> a) { return Variant(c.Connect(a[0].ToText())); }},
      });
  return table;
}

}  // namespace orv::company
