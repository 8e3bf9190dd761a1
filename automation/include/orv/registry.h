// The class registry: class factories by class id and ProgID, component libraries loaded on
// demand, and the registry file that component libraries register themselves into.
//
// A component library exports two entry points (ORV_DEFINE_COMPONENT writes them): one hands
// out its ComponentInfo, the other writes its classes into a registry file. Creating a class by
// id first looks at the components already known in this process, then at the registry file,
// whose entry names the library to load. A library is loaded once and never unloaded.
//
// The registry file is a text file, one class a line: "{CLSID}<TAB>ProgID<TAB>library path".
// Its location is the environment variable ORV_REGISTRY, else
// $XDG_DATA_HOME/orv/registry.txt (~/.local/share/orv/registry.txt).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/dispatch.h"
#include "orv/export.h"

namespace orv {

struct ClassEntry {
  const TypeInfo& (*type)();
  std::string_view prog_id;  // "Library.Class"
  Ref<Dispatch> (*create)();
};

struct ComponentInfo {
  std::string_view library_name;  // the type library's name, e.g. "ORVMasters"
  Guid libid;
  uint16_t major = 1, minor = 0;
  std::vector<ClassEntry> classes;
};

class ORV_API Registry {
 public:
  static Registry& Instance();

  // The registry file in use; SetFile points this process at another (tests use a temporary one).
  std::filesystem::path File() const;
  void SetFile(std::filesystem::path file);

  // Makes a component's classes creatable in this process without going through the file.
  void AddComponent(const ComponentInfo& info);

  // Creates an object by class id, by ProgID ("ORVMasters.clsAccount", case-insensitive) or by
  // a class id's text. The cannot-create-object error when nothing is registered under it or
  // its library cannot be loaded.
  Ref<Dispatch> Create(const Guid& clsid);
  Ref<Dispatch> Create(std::string_view name);

  std::optional<Guid> ClassIdOf(std::string_view prog_id);

  // Writes the classes of a component into a registry file, replacing earlier lines of the same
  // class ids; the file is created when missing and replaced atomically.
  static void WriteComponent(const std::filesystem::path& file, const ComponentInfo& info,
                             const std::filesystem::path& library);
  // Loads a component library and has it register itself into `file`.
  static void RegisterLibrary(const std::filesystem::path& file, const std::filesystem::path& library);

  // The modal message box: shows `text` with one OK button and waits for it to be dismissed.
  // A host (a GUI front-end, a test) installs the handler; without one the text goes to
  // standard error and the call returns at once.
  using MessageHandler = std::function<void(std::string_view text)>;
  void SetMessageHandler(MessageHandler handler);
  void ShowMessage(std::string_view text);

 private:
  Registry();
  struct Impl;
  Impl* impl_;  // lives as long as the process
};

inline Ref<Dispatch> CreateObject(std::string_view name) { return Registry::Instance().Create(name); }
inline Ref<Dispatch> CreateObject(const Guid& clsid) { return Registry::Instance().Create(clsid); }
inline void ShowMessage(std::string_view text) { Registry::Instance().ShowMessage(text); }

}  // namespace orv

// The entry points of a component library. `info_fn` returns its `const ComponentInfo&`.
#define ORV_DEFINE_COMPONENT(info_fn)                                                   \
  ORV_EXPORT const ::orv::ComponentInfo* OrvGetComponent() { return &info_fn(); }      \
  ORV_EXPORT int OrvRegisterServer(const char* registry_file, const char* library) {   \
    try {                                                                              \
      ::orv::Registry::WriteComponent(registry_file, info_fn(), library);              \
      return 0;                                                                        \
    } catch (...) {                                                                    \
      return 1;                                                                        \
    }                                                                                  \
  }
