#pragma once
// Saving from a window: the system's save dialog, and the writing, with a
// box that says what failed. The report's CSV and the preview's pictures
// are saved alike.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/program_path.h"

namespace lodemark::win32 {

struct SaveChoice {
  std::u32string_view filter_name;  // 「CSV ファイル (*.csv)」
  std::u32string_view extension;    // "csv", added when the user types none
  std::u32string initial_name;      // shown in the dialog at the start; may be empty
};

// The file the user chose in the save dialog (which asks before replacing
// one); nothing when the dialog was cancelled.
std::optional<ProgramPath> choose_save_file(HWND owner, const SaveChoice& choice);

// Writes what `content` gives to `path`, replacing a file of that name and
// keeping it whole when the writing fails. When anything fails a box over
// `owner` says `failed`, the file and the reason; false then.
bool save_file_or_say_why(HWND owner, const ProgramPath& path, const std::function<std::string()>& content,
                          std::u32string_view failed);

}  // namespace lodemark::win32
