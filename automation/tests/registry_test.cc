#include "orv/registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "error_of.h"

namespace orv {
namespace {

class Thing : public DispatchObject<Thing> {
 public:
  static const ClassTable<Thing>& Table() {
    static const ClassTable<Thing> table("Thing", "{AAAAAAAA-0000-0000-0000-000000000001}",
                                         "_Thing", "{AAAAAAAA-0000-0000-0000-000000000002}", {});
    return table;
  }
  static const TypeInfo& Type_() { return Table().type(); }
};

const ComponentInfo& TestComponent() {
  static const ComponentInfo info{
      "TestLib",
      Guid::FromLiteral("{AAAAAAAA-0000-0000-0000-000000000003}"),
      1,
      0,
      {{&Thing::Type_, "TestLib.Thing", [] { return Ref<Dispatch>(MakeRef<Thing>()); }}}};
  return info;
}

TEST(Registry, CreatesKnownClassesByIdAndProgId) {
  Registry& r = Registry::Instance();
  r.AddComponent(TestComponent());
  EXPECT_EQ(r.Create("testlib.THING")->Type().class_name, "Thing");
  EXPECT_EQ(r.Create("{AAAAAAAA-0000-0000-0000-000000000001}")->Type().class_name, "Thing");
  EXPECT_EQ(ErrorNumberOf([&] { r.Create("TestLib.Nothing"); }), err::kCannotCreateObject);
  EXPECT_EQ(
      ErrorNumberOf([&] { r.Create(Guid::FromLiteral("{AAAAAAAA-0000-0000-0000-0000000000FF}")); }),
      err::kCannotCreateObject);
}

TEST(Registry, FileEntriesAreReplacedPerClass) {
  const auto dir = std::filesystem::temp_directory_path() / ("orv-reg-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "sub" / "registry.txt";
  Registry::WriteComponent(file, TestComponent(), "/opt/a/libTest.so");
  Registry::WriteComponent(file, TestComponent(), "/opt/b/libTest.so");
  std::ifstream in(file);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(all.find("/opt/a/"), std::string::npos);
  EXPECT_NE(all.find("{AAAAAAAA-0000-0000-0000-000000000001}\tTestLib.Thing\t/opt/b/libTest.so"),
            std::string::npos);

  // A class that is only in the file names a library that does not exist: a clear error.
  std::ofstream(file, std::ios::app)
      << "{AAAAAAAA-0000-0000-0000-000000000009}\tX.Y\t/nonexistent.so\n";
  const auto saved = Registry::Instance().File();
  Registry::Instance().SetFile(file);
  EXPECT_EQ(Registry::Instance().ClassIdOf("x.y"),
            Guid::FromLiteral("{AAAAAAAA-0000-0000-0000-000000000009}"));
  EXPECT_EQ(ErrorNumberOf([] { Registry::Instance().Create("X.Y"); }), err::kCannotCreateObject);
  Registry::Instance().SetFile(saved);
  std::filesystem::remove_all(dir);
}

TEST(MessageBox, GoesToTheInstalledHandler) {
  std::vector<std::string> shown;
  Registry::Instance().SetMessageHandler([&](std::string_view t) { shown.emplace_back(t); });
  ShowMessage("first");
  ShowMessage("second");
  Registry::Instance().SetMessageHandler(nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{"first", "second"}));
}

}  // namespace
}  // namespace orv
