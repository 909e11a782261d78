#include "cli/native_paths.h"

#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/drives.h"
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

bool starts_program_path(std::u32string_view text, std::size_t at) {
  const char32_t letter = text[at] & ~char32_t{0x20};
  return at + 2 < text.size() && letter >= U'A' && letter <= U'Z' && text[at + 1] == U':' &&
         text[at + 2] == ProgramPath::kSeparator && (at == 0 || text[at - 1] == U' ' || text[at - 1] == U'(');
}

// One path, or two joined by " -> " (a rename).
std::string native_of_paths(std::u32string_view paths) {
  const std::size_t arrow = paths.find(U" -> ");
  if (arrow != std::u32string_view::npos)
    return native_of_paths(paths.substr(0, arrow)) + " -> " + native_of_paths(paths.substr(arrow + 4));
  return native_text(ProgramPath(paths));
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

std::string native_text(const ProgramPath& path) {
  const auto native = platform::to_native(path);
  return native ? *native : to_utf8(path.text());
}

std::string with_native_paths(std::u32string_view text) {
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!starts_program_path(text, at)) continue;
    std::size_t end = std::min(text.find(U'\n', at), text.size());
    if (const std::size_t reason = text.rfind(U" (", end);
        end > at && text[end - 1] == U')' && reason != std::u32string_view::npos && reason > at)
      end = reason;
    out += to_utf8(text.substr(done, at - done)) + native_of_paths(text.substr(at, end - at));
    done = at = end;
  }
  return out + to_utf8(text.substr(std::min(done, text.size())));
}

std::string failure_text(const Failure& failure) {
  if (const auto* file_error = dynamic_cast<const platform::FileError*>(&failure))
    return to_utf8(file_error->operation()) + ": " + native_of_paths(file_error->path()) + " (" +
           to_utf8(file_error->reason()) + ")";
  return with_native_paths(failure.message());
}

}  // namespace lodemark::cli
