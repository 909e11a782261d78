#include "base/failure.h"

#include "base/utf8.h"

namespace lodemark {

Failure::Failure(std::u32string message) : std::runtime_error(to_utf8(message)), message_(std::move(message)) {}

}  // namespace lodemark
