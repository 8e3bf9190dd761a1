// The walkthrough: one program that shows each component at work on a demo company's year
// database. Each component contributes one step, in a file of its own.
#pragma once

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "orv/dispatch.h"

namespace orv::walkthrough {

struct Context {
  Ref<Dispatch> company;  // the connected clsCompany
  Variant cn;             // its connection, passed to every persistence method
  int16_t year1 = 2008;
  int16_t year2 = 2009;
};

// Prints a step heading.
inline void Heading(const std::string& title) {
  std::cout << "\n== " << title << " ==\n";
}

// Calls `method` of `obj` by late binding with the connection and the year pair after `args`.
Variant CallWithYear(const Context& ctx, Dispatch& obj, std::string_view method,
                     std::vector<Variant> args);

// A posting account of the chart: its id, name and the group it belongs to.
struct ChartAccount {
  int16_t id;
  const char* name;
  int16_t group;
};

// The name the chart has for `a.id`; when it has none, creates the account through the account
// master's clsAccount (flag "L", details row included), prints "created account ..." and returns
// "".
std::string EnsureAccount(const Context& ctx, const ChartAccount& a);

// The steps, in the order the walkthrough runs them. A step that a build lacks is a weak
// symbol left null and skipped.
void Accounts(Context& ctx) __attribute__((weak));
void Vouchers(Context& ctx) __attribute__((weak));
void Trade(Context& ctx) __attribute__((weak));
void Items(Context& ctx) __attribute__((weak));

}  // namespace orv::walkthrough
