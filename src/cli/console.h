#pragma once
// The streams lodemark-cli talks through, and whether a person sits at them.
#include <iosfwd>

namespace lodemark::cli {

struct Console {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool in_is_terminal = false;
  bool err_is_terminal = false;
  // Help and usage in Japanese (the user's language is), else in English.
  bool japanese = false;
};

}  // namespace lodemark::cli
