#include "orv/registry.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <unordered_map>

namespace orv {
namespace fs = std::filesystem;
namespace {

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

struct FileEntry {
  Guid clsid;
  std::string prog_id;
  std::string library;
};

std::vector<FileEntry> ReadRegistryFile(const fs::path& file) {
  std::vector<FileEntry> out;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t t1 = line.find('\t');
    const size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
    if (t2 == std::string::npos) continue;
    auto g = Guid::Parse(line.substr(0, t1));
    if (!g) continue;
    out.push_back({*g, line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1)});
  }
  return out;
}

fs::path DefaultRegistryFile() {
  if (const char* env = std::getenv("ORV_REGISTRY"); env && *env) return env;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return fs::path(xdg) / "orv" / "registry.txt";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local" / "share" / "orv" / "registry.txt";
}

[[noreturn]] void CannotCreate(const std::string& what) {
  ThrowError(err::kCannotCreateObject, "Registry", "ActiveX component can't create object: " + what);
}

}  // namespace

struct Registry::Impl {
  std::mutex mu;
  fs::path file = DefaultRegistryFile();
  std::unordered_map<Guid, ClassEntry> classes;             // known in this process
  std::unordered_map<std::string, Guid> prog_ids;           // lower-case ProgID
  std::map<std::string, void*> libraries;                   // loaded, never unloaded
  // The parsed registry file and the modification time it was read at.
  std::vector<FileEntry> file_entries;
  fs::path file_read;
  fs::file_time_type file_time{};
  MessageHandler message_handler;

  void AddLocked(const ComponentInfo& info) {
    for (const ClassEntry& c : info.classes) {
      const Guid id = c.type().clsid;
      classes.emplace(id, c);
      prog_ids.emplace(Lowered(c.prog_id), id);
    }
  }

  void RefreshFileLocked() {
    std::error_code ec;
    const auto t = fs::last_write_time(file, ec);
    if (ec) {
      file_entries.clear();
      file_read.clear();
      return;
    }
    if (file_read == file && t == file_time) return;
    file_entries = ReadRegistryFile(file);
    file_read = file;
    file_time = t;
  }

  const FileEntry* FindInFileLocked(const Guid& id) {
    RefreshFileLocked();
    for (const FileEntry& e : file_entries)
      if (e.clsid == id) return &e;
    return nullptr;
  }

  // Loads a component library (once) and makes its classes known.
  void LoadLocked(const std::string& library) {
    if (libraries.count(library)) return;
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) CannotCreate(std::string(dlerror()));
    using GetComponent = const ComponentInfo* (*)();
    auto get = reinterpret_cast<GetComponent>(dlsym(handle, "OrvGetComponent"));
    if (!get) CannotCreate(library + " is not a component library");
    libraries.emplace(library, handle);
    AddLocked(*get());
  }
};

Registry::Registry() : impl_(new Impl) {}

Registry& Registry::Instance() {
  // Never destroyed: objects of loaded libraries may outlive static destruction order.
  static Registry* instance = new Registry;
  return *instance;
}

fs::path Registry::File() const {
  std::lock_guard lock(impl_->mu);
  return impl_->file;
}

void Registry::SetFile(fs::path file) {
  std::lock_guard lock(impl_->mu);
  impl_->file = std::move(file);
}

void Registry::AddComponent(const ComponentInfo& info) {
  std::lock_guard lock(impl_->mu);
  impl_->AddLocked(info);
}

Ref<Dispatch> Registry::Create(const Guid& clsid) {
  Ref<Dispatch> (*create)() = nullptr;
  {
    std::lock_guard lock(impl_->mu);
    auto it = impl_->classes.find(clsid);
    if (it == impl_->classes.end()) {
      const FileEntry* e = impl_->FindInFileLocked(clsid);
      if (!e) CannotCreate("class " + clsid.ToString() + " is not registered");
      impl_->LoadLocked(e->library);
      it = impl_->classes.find(clsid);
      if (it == impl_->classes.end())
        CannotCreate("class " + clsid.ToString() + " is not in " + e->library);
    }
    create = it->second.create;
  }
  // Created outside the lock: a constructor may create further objects.
  return create();
}

std::optional<Guid> Registry::ClassIdOf(std::string_view prog_id) {
  std::lock_guard lock(impl_->mu);
  const std::string key = Lowered(prog_id);
  if (auto it = impl_->prog_ids.find(key); it != impl_->prog_ids.end()) return it->second;
  impl_->RefreshFileLocked();
  for (const FileEntry& e : impl_->file_entries)
    if (Lowered(e.prog_id) == key) return e.clsid;
  return std::nullopt;
}

Ref<Dispatch> Registry::Create(std::string_view name) {
  if (auto g = Guid::Parse(name)) return Create(*g);
  auto id = ClassIdOf(name);
  if (!id) CannotCreate("no class is registered as " + std::string(name));
  return Create(*id);
}

void Registry::WriteComponent(const fs::path& file, const ComponentInfo& info,
                              const fs::path& library) {
  std::vector<FileEntry> entries = ReadRegistryFile(file);
  std::erase_if(entries, [&](const FileEntry& e) {
    for (const ClassEntry& c : info.classes)
      if (c.type().clsid == e.clsid) return true;
    return false;
  });
  const std::string lib = fs::absolute(library).lexically_normal().string();
  for (const ClassEntry& c : info.classes)
    entries.push_back({c.type().clsid, std::string(c.prog_id), lib});

  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  const fs::path tmp = file.string() + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    out << "# class id\tProgID\tlibrary\n";
    for (const FileEntry& e : entries)
      out << e.clsid.ToString() << '\t' << e.prog_id << '\t' << e.library << '\n';
    if (!out.flush())
      ThrowError(err::kFileNotFound, "Registry", "cannot write registry file " + tmp.string());
  }
  fs::rename(tmp, file);
}

void Registry::RegisterLibrary(const fs::path& file, const fs::path& library) {
  const std::string lib = fs::absolute(library).lexically_normal().string();
  void* handle = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) CannotCreate(std::string(dlerror()));
  using RegisterServer = int (*)(const char*, const char*);
  auto reg = reinterpret_cast<RegisterServer>(dlsym(handle, "OrvRegisterServer"));
  if (!reg) CannotCreate(lib + " is not a component library");
  if (reg(file.c_str(), lib.c_str()) != 0)
    ThrowError(err::kFileNotFound, "Registry", "cannot register " + lib + " in " + file.string());
  // The handle stays open: the process may create the library's classes next.
}

void Registry::SetMessageHandler(MessageHandler handler) {
  std::lock_guard lock(impl_->mu);
  impl_->message_handler = std::move(handler);
}

void Registry::ShowMessage(std::string_view text) {
  MessageHandler handler;
  {
    std::lock_guard lock(impl_->mu);
    handler = impl_->message_handler;
  }
  if (handler) {
    handler(text);
    return;
  }
  std::cerr << text << std::endl;
}

}  // namespace orv
