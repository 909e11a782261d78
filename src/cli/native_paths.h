#pragma once
// Paths as the user knows them: a path typed on the command line is checked
// before any work and named as typed when it cannot be used; a program path
// in a message ("Z:\data\out\X1.txt") is shown in the system's own form.
#include <optional>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "base/messages.h"
#include "base/program_path.h"
#include "base/text.h"
#include "base/utf8.h"
#include "platform/shown_paths.h"

namespace lodemark::cli {

// A path from the command line in the program's form, or the usage problem.
struct PathArgument {
  std::optional<ProgramPath> path;
  std::string problem;  // names the path exactly as typed
};

// `what` names the argument in a problem ("SOURCE_DIR").
PathArgument existing_folder(const std::string& typed, std::string_view what);
// A folder or file that the command may make: the folder it lies in must exist.
PathArgument path_in_existing_folder(const std::string& typed, std::string_view what);

// The usage problem of an output that conversion/output_guard.h refuses: the
// path as typed and the reason.
inline std::string refused_output(const std::string& typed, std::u32string_view reason) {
  return to_utf8(kOutputRefused) + ": " + typed + " (" + to_utf8(reason) + ")";
}

// Text of the data for the terminal: its control characters escaped.
inline std::string terminal_text(std::u32string_view text) { return to_utf8(escape_controls(text)); }
// The shown forms of platform/shown_paths.h, in the UTF-8 the terminal gets;
// the messages carry text of the data too.
inline std::string native_text(const ProgramPath& path) { return to_utf8(platform::shown_path(path.text())); }
inline std::string with_native_paths(std::u32string_view text) {
  return terminal_text(platform::with_shown_paths(text));
}
inline std::string failure_text(const Failure& failure) { return terminal_text(platform::shown_failure(failure)); }

}  // namespace lodemark::cli
