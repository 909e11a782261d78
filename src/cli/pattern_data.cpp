#include "cli/pattern_data.h"

#include "cli/native_paths.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/pattern_data_setting.h"

namespace lodemark::cli {

PatternDataFolder pattern_data_folder(const std::string& typed, bool needs, Console& console) {
  if (!typed.empty()) {
    const PathArgument given = existing_folder(typed, "PATDAT_DIR");
    if (!given.path) return {std::nullopt, usage_error(console, given.problem)};
    return {given.path, 0};
  }
  try {
    if (!needs) return {find_pattern_data_folder(), 0};
    TerminalObserver terminal(console, false);
    std::optional<ProgramPath> folder = load_pattern_data_folder(terminal);
    return {folder, folder ? 0 : kRefused};
  } catch (const Failure& failure) {
    // A settings file that is no file, or far too large to be one.
    return {std::nullopt, say(console, failure_text(failure), kRunFailure)};
  }
}

}  // namespace lodemark::cli
