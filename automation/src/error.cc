#include "orv/error.h"

namespace orv {

AutomationError::AutomationError(int32_t number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  what_ = description_ + " (" + source_ + ", error " + std::to_string(number_) + ")";
}

AutomationError::~AutomationError() = default;

const char* AutomationError::what() const noexcept { return what_.c_str(); }

void ThrowError(int32_t number, std::string source, std::string description) {
  throw AutomationError(number, std::move(source), std::move(description));
}

void ThrowOverflow() { ThrowError(err::kOverflow, "Runtime", "Overflow"); }
void ThrowInvalidUseOfNull() { ThrowError(err::kInvalidUseOfNull, "Runtime", "Invalid use of Null"); }
void ThrowTypeMismatch() { ThrowError(err::kTypeMismatch, "Runtime", "Type mismatch"); }
void ThrowObjectNotSet() {
  ThrowError(err::kObjectNotSet, "Runtime", "Object variable or With block variable not set");
}

}  // namespace orv
