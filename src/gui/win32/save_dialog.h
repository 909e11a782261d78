#pragma once
// The system's save dialog, for the report's CSV and the preview's pictures;
// the writing and the box of a failed save are gui/save_file.h's.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace lodemark::win32 {

struct SaveChoice {
  std::u32string_view filter_name;  // 「CSV ファイル (*.csv)」
  std::u32string_view extension;    // "csv", added when the user types none
  std::u32string initial_name;      // shown in the dialog at the start; may be empty
};

// The file the user chose in the save dialog (which asks before replacing
// one), a native path; nothing when the dialog was cancelled.
std::optional<std::u32string> choose_save_file(HWND owner, const SaveChoice& choice);

}  // namespace lodemark::win32
