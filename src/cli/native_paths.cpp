#include "cli/native_paths.h"

#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/files.h"

namespace lodemark::cli {
namespace {

std::optional<ProgramPath> mapped(const std::string& typed) {
  const auto path = platform::program_path_of_argument(typed);
  if (!path) return std::nullopt;
  return ProgramPath(*path);
}

std::string cannot_map(const std::string& typed, std::string_view what) {
  return std::string(what) + " is no usable path (not UTF-8, holding \"\\\", or on no drive): " + typed;
}

// The folder a path lies in; a drive's root for the root itself.
ProgramPath folder_of(const ProgramPath& path) {
  std::u32string text = path.text();
  while (text.size() > 3 && text.back() == ProgramPath::kSeparator) text.pop_back();
  return ProgramPath(text.substr(0, text.find_last_of(ProgramPath::kSeparator) + 1));
}

}  // namespace

PathArgument existing_folder(const std::string& typed, std::string_view what) {
  const auto path = mapped(typed);
  if (!path) return {std::nullopt, cannot_map(typed, what)};
  if (!platform::is_folder(*path)) return {std::nullopt, "no such folder (" + std::string(what) + "): " + typed};
  return {path->as_folder(), {}};
}

PathArgument path_in_existing_folder(const std::string& typed, std::string_view what) {
  const auto path = mapped(typed);
  if (!path) return {std::nullopt, cannot_map(typed, what)};
  if (!platform::is_folder(folder_of(*path)))
    return {std::nullopt, "the folder that would hold " + std::string(what) + " does not exist: " + typed};
  return {path, {}};
}

}  // namespace lodemark::cli
