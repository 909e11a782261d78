#include "cli/arguments.h"

#include <algorithm>
#include <optional>

namespace lodemark::cli {

std::string Arguments::value(std::string_view name) const {
  const auto found = values.find(name);
  return found == values.end() ? std::string() : found->second;
}

Arguments parse_arguments(const std::vector<std::string>& args, std::span<const KnownOption> options) {
  Arguments parsed;
  bool options_ended = false;
  for (std::size_t i = 1; i < args.size() && parsed.problem.empty(); ++i) {
    std::string word = args[i];
    if (options_ended || word.size() < 2 || word[0] != '-') {
      parsed.operands.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    std::optional<std::string> value;
    if (const std::size_t eq = word.find('='); word.starts_with("--") && eq != std::string::npos) {
      value = word.substr(eq + 1);
      word.resize(eq);
    }
    const auto known = std::find_if(options.begin(), options.end(), [&](const KnownOption& option) {
      return word == option.name || (!option.short_name.empty() && word == option.short_name);
    });
    if (known == options.end()) {
      parsed.problem = "unknown option " + word;
    } else if (!known->takes_value) {
      if (value) parsed.problem = word + " takes no value";
      parsed.flags.emplace(known->name);
    } else {
      if (!value && i + 1 < args.size()) value = args[++i];
      if (!value || value->empty())
        parsed.problem = word + " needs a value";
      else if (!parsed.values.emplace(known->name, *value).second)
        parsed.problem = std::string(known->name) + " is given twice";
    }
  }
  return parsed;
}

std::string take_source_folder(Arguments& parsed) {
  std::string source = parsed.value("--source");
  if (source.empty() && !parsed.operands.empty()) {
    source = parsed.operands.front();
    parsed.operands.erase(parsed.operands.begin());
  }
  return source;
}

std::string choices(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k)
    text += (k == 0 ? "" : k + 1 == names.size() ? " or " : ", ") + names[k];
  return text;
}

}  // namespace lodemark::cli
