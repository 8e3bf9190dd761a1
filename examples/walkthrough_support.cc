// What several walkthrough steps share: late-bound calls with the year, and accounts of the
// chart that a step posts to.
#include "orv/registry.h"
#include "walkthrough.h"

namespace orv::walkthrough {

Variant CallWithYear(const Context& ctx, Dispatch& obj, std::string_view method,
                     std::vector<Variant> args) {
  args.insert(args.end(), {ctx.cn, Variant(ctx.year1), Variant(ctx.year2)});
  return obj.Call(method, args);
}

std::string EnsureAccount(const Context& ctx, const ChartAccount& a) {
  Ref<Dispatch> acc = CreateObject("ORVMasters.clsAccount");
  const std::string name = CallWithYear(ctx, *acc, "Get_AccountName", {Variant(a.id)}).ToText();
  if (!name.empty()) return name;
  acc->Put("AccountId", Variant(a.id));
  acc->Put("AccountName", Variant(a.name));
  acc->Put("GroupFlag", Variant("L"));
  acc->Put("GroupNo", Variant(a.group));
  AsDispatch(acc->Get("AD"))->Put("AccountId", Variant(a.id));
  CallWithYear(ctx, *acc, "Save", {Variant("New"), Variant(a.id)});
  std::cout << "created account " << a.id << " " << a.name << "\n";
  return "";
}

}  // namespace orv::walkthrough
