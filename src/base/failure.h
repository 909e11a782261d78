#pragma once
// A failure inside a conversion run: what failed, where and why, as a text
// that the window and the command line show as it stands.
#include <stdexcept>
#include <string>

namespace lodemark {

class Failure : public std::runtime_error {
 public:
  explicit Failure(std::u32string message);
  const std::u32string& message() const { return message_; }

 private:
  std::u32string message_;
};

}  // namespace lodemark
