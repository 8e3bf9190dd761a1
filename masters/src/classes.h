// The classes of the account master component (ORVMasters):
//   clsAccount         one account or group of a year's chart of accounts (ACC_MASTER), with its
//                      details object, its twelve monthly balance rows, and the account queries;
//   clsAccountDetails  the contact, tax and terms details of one account (ACC_DETAILS).
// Each class keeps its stored properties in a db::Record driven by one FieldSpec table; the
// same table generates the property members of the dispatch interface.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "orv/db/record.h"
#include "orv/dispatch.h"

namespace orv::masters {

class AccountDetails final : public DispatchObject<AccountDetails> {
 public:
  AccountDetails();
  static const ClassTable<AccountDetails>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
  // The 51 properties in interface order: the order of the columns a save writes and a read
  // fills (the print address is computed, never read).
  static std::span<const db::FieldSpec> Fields();

  // "New" adds the details row, "Edit" changes the row of `account_id`; any other flag fails
  // and writes nothing. AD_AccId takes the AccountId property in both cases.
  void Save(const std::string& save_flag, int16_t account_id, const Variant& cn, int16_t y1,
            int16_t y2);
  // Sets AccountId to `account_id`, then, when the row exists, every other property from it.
  void Read(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2);

  db::Record values;
};

class Account final : public DispatchObject<Account> {
 public:
  Account();
  static const ClassTable<Account>& Table();
  static const TypeInfo& Type_() { return Table().type(); }
  // The eleven ACC_MASTER properties in interface order (AD, the details object, follows them).
  static std::span<const db::FieldSpec> Fields();
  // Rows of Fields() that the queries fill.
  static constexpr size_t kAccountId = 0;
  static constexpr size_t kAccountName = 1;

  // Writes the account row with its derived level and type, the details row and, for "New",
  // the twelve monthly balance rows, all as one unit.
  void Save(const std::string& save_flag, int16_t account_id, const Variant& cn, int16_t y1,
            int16_t y2);
  // Sets AccountId, then, when the account exists, every other property and the details.
  void Read(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2);
  // Deletes the account, its details and its monthly rows unless it is a group with members
  // or a posting account with voucher or stock rows; false when refused.
  bool Delete(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2);

  // The queries; they use nothing of the object they are called on. The list methods replace
  // `a1` with an array of count + 1 elements (the last Empty) and return the count.
  static int16_t GetAccountsWithId(int16_t group_no, const std::string& group_flag,
                                   const std::string& account_type, const std::string& level_flag,
                                   int16_t level_no, const std::string& sort_by, const Variant& cn,
                                   int16_t y1, int16_t y2, Variant& a1);
  static int16_t GetAccountsWithDetails(const std::string& sql, const Variant& cn, int16_t y1,
                                        int16_t y2, Variant& a1);
  static std::string GetAccountName(int16_t account_id, const Variant& cn, int16_t y1, int16_t y2);
  static std::string GetOpeningBalSign(int16_t account_id, const Variant& cn, int16_t y1,
                                       int16_t y2);
  static double GetAccountSum(const std::string& sign_flag, const Variant& cn, int16_t y1,
                              int16_t y2);

  // The details object, or the object-not-set error when AD was set to nothing.
  AccountDetails& Details() const;

  db::Record values;
  Ref<AccountDetails> details;  // shared with the caller that put it, never copied
};

}  // namespace orv::masters
