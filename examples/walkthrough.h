// The walkthrough: one program that shows each component at work on a demo company's year
// database. Each component contributes one step, in a file of its own.
#pragma once

#include <iostream>
#include <string>

#include "orv/dispatch.h"

namespace orv::walkthrough {

struct Context {
  Ref<Dispatch> company;  // the connected clsCompany
  Variant cn;             // its connection, passed to every persistence method
  int16_t year1 = 2008;
  int16_t year2 = 2009;
};

// Prints a step heading.
inline void Heading(const std::string& title) { std::cout << "\n== " << title << " ==\n"; }

// The steps, in the order the walkthrough runs them. A step that a build lacks is a weak
// symbol left null and skipped.
void Accounts(Context& ctx) __attribute__((weak));
void Vouchers(Context& ctx) __attribute__((weak));
void Trade(Context& ctx) __attribute__((weak));
void Items(Context& ctx) __attribute__((weak));

}  // namespace orv::walkthrough
