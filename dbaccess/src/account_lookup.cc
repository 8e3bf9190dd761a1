#include "orv/db/account_lookup.h"

#include "orv/registry.h"

namespace orv::db {

const Guid kClsidAccount = Guid::FromLiteral("{0C3559DC-5C85-438E-A03B-893719458854}");

Ref<Dispatch> NewAccountObject() {
  return CreateObject(kClsidAccount);
}

std::string AccountName(Dispatch& account, int16_t account_id, const Variant& cn, int16_t y1,
                        int16_t y2) {
  // Get_AccountName's dispatch id is fixed by the account master's interface.
  constexpr DispId kGetAccountName = 0x60030012;
  Variant args[] = {Variant(account_id), cn, Variant(y1), Variant(y2)};
  return account.Invoke(kGetAccountName, kMethod, args).ToText();
}

}  // namespace orv::db
