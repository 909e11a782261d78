#include "platform/shown_paths.h"

#include <algorithm>

#include "base/program_path.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace lodemark::platform {
namespace {

bool starts_program_path(std::u32string_view text, std::size_t at) {
  const char32_t letter = text[at] & ~char32_t{0x20};
  return at + 2 < text.size() && letter >= U'A' && letter <= U'Z' && text[at + 1] == U':' &&
         text[at + 2] == ProgramPath::kSeparator && (at == 0 || text[at - 1] == U' ' || text[at - 1] == U'(');
}

// One path, or two joined by " -> " (a rename).
std::u32string shown_paths(std::u32string_view paths) {
  const std::size_t arrow = paths.find(U" -> ");
  if (arrow != std::u32string_view::npos)
    return shown_paths(paths.substr(0, arrow)) + U" -> " + shown_paths(paths.substr(arrow + 4));
  return shown_path(paths);
}

}  // namespace

std::u32string shown_path(std::u32string_view program_path) {
  if (const auto native = to_native(ProgramPath(program_path))) return from_utf8(*native);
  return std::u32string(program_path);
}

std::u32string with_shown_paths(std::u32string_view text) {
  std::u32string out;
  std::size_t done = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!starts_program_path(text, at)) continue;
    std::size_t end = std::min(text.find(U'\n', at), text.size());
    if (const std::size_t reason = text.rfind(U" (", end);
        end > at && text[end - 1] == U')' && reason != std::u32string_view::npos && reason > at)
      end = reason;
    out.append(text.substr(done, at - done)).append(shown_paths(text.substr(at, end - at)));
    done = at = end;
  }
  return out.append(text.substr(std::min(done, text.size())));
}

std::u32string shown_failure(const Failure& failure) {
  if (const auto* file_error = dynamic_cast<const FileError*>(&failure))
    return file_error->operation() + U": " + shown_paths(file_error->path()) + U" (" + file_error->reason() + U")";
  return with_shown_paths(failure.message());
}

}  // namespace lodemark::platform
