#pragma once
// The options and operands of one lodemark-cli command, read the same way for
// every command: "--name VALUE" and "--name=VALUE" are one, a flag takes no
// value, "--" ends the options.
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::cli {

struct KnownOption {
  std::string_view name;        // "--dest"
  std::string_view short_name;  // "-y", or empty
  bool takes_value = false;
};

struct Arguments {
  std::map<std::string, std::string, std::less<>> values;  // by long name
  std::set<std::string, std::less<>> flags;                // by long name
  std::vector<std::string> operands;
  std::string problem;  // what is wrong with the call; empty when nothing is

  // The option's value; empty when it was not given.
  std::string value(std::string_view name) const;
  bool has(std::string_view flag) const { return flags.contains(flag); }
};

// What a command makes of its arguments: its options, or what is wrong with
// the call.
template <typename Options>
struct Parsed {
  std::optional<Options> options;
  std::string problem;
};

// args[0] is the command and is skipped. An unknown option, a value missing
// or empty, a value given to a flag and an option given twice are problems.
Arguments parse_arguments(const std::vector<std::string>& args, std::span<const KnownOption> options);

// SOURCE_DIR of list and check: --source, else the first operand (which is
// then taken off the operands); empty when neither is there.
std::string take_source_folder(Arguments& parsed);

// The choices a usage error names: "a, b or c".
std::string choices(const std::vector<std::string>& names);

}  // namespace lodemark::cli
