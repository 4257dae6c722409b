#pragma once

#include <stdexcept>
#include <string>

namespace vx {

// The run-time's I/O error: raised by every failed open, write or close of the run log. Its text is
// the run-time's wording for the system error code, the one the default error display shows.
class InOutError : public std::runtime_error {
 public:
  explicit InOutError(int errorCode);
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// "File access denied" for 5, "I/O error 1234" for codes without a wording of their own.
std::string InOutErrorText(int errorCode);

}  // namespace vx
