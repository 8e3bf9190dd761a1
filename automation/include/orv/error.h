// The one error type of the system. It carries the classic error number, the source (the
// component or engine that raised it) and a description, and crosses component libraries
// intact: it is defined once, in the automation runtime.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "orv/export.h"

namespace orv {

// Error numbers that callers' error handling tests for.
namespace err {
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kNoSuchMember = 438;
inline constexpr int32_t kWrongArgumentCount = 450;
inline constexpr int32_t kPropertyReadOnly = 383;
// Data-access errors.
inline constexpr int32_t kNoCurrentRecord = 3021;
inline constexpr int32_t kObjectClosed = 3704;
inline constexpr int32_t kConnectionNotUsable = 3709;
inline constexpr int32_t kProviderNotFound = 3706;
inline constexpr int32_t kInvalidArgument = 3001;
inline constexpr int32_t kItemNotFound = 3265;
inline constexpr int32_t kInvalidPassword = 3031;
inline constexpr int32_t kDatabaseError = 3000;   // the engine's own errors, with its message
inline constexpr int32_t kUnsafeSqlFragment = 3002;  // a caller's SQL fragment was refused
inline constexpr int32_t kOperationNotAllowed = 3219;
}  // namespace err

class ORV_API AutomationError : public std::exception {
 public:
  AutomationError(int32_t number, std::string source, std::string description);
  ~AutomationError() override;

  int32_t number() const noexcept { return number_; }
  const std::string& source() const noexcept { return source_; }
  const std::string& description() const noexcept { return description_; }
  // "description (source, error N)".
  const char* what() const noexcept override;

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
  std::string what_;
};

// The runtime's own conversion errors, with the classic descriptions.
[[noreturn]] ORV_API void ThrowOverflow();
[[noreturn]] ORV_API void ThrowInvalidUseOfNull();
[[noreturn]] ORV_API void ThrowTypeMismatch();
[[noreturn]] ORV_API void ThrowObjectNotSet();
[[noreturn]] ORV_API void ThrowError(int32_t number, std::string source, std::string description);

}  // namespace orv
