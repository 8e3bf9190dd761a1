// The account master's name lookup as the voucher components reach it: an account object
// created at run time by its class id through the registry (the voucher components do not link
// the account master), asked by late binding, and released afterwards.
#pragma once

#include <string>

#include "orv/dispatch.h"

namespace orv::db {

// The class id of the account master's clsAccount.
extern const Guid kClsidAccount;

// Creates one clsAccount for the caller's lookups.
Ref<Dispatch> NewAccountObject();

// account.Get_AccountName(id, cn, y1, y2): the account's name, or "" when there is no account.
std::string AccountName(Dispatch& account, int16_t account_id, const Variant& cn, int16_t y1,
                        int16_t y2);

}  // namespace orv::db
