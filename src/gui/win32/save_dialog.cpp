#include "gui/win32/save_dialog.h"

#include <commdlg.h>

#include <cwchar>

#include "gui/win32/win_text.h"

namespace lodemark::win32 {

std::optional<std::u32string> choose_save_file(HWND owner, const SaveChoice& choice) {
  // Name and pattern pairs, each ended by a null, the whole by another.
  const std::wstring extension = wide(choice.extension);
  std::wstring filter = wide(choice.filter_name);
  filter += L'\0';
  filter += L"*." + extension;
  filter += L'\0';
  std::wstring file = wide(choice.initial_name);
  file.resize(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  file.resize(std::wcslen(file.c_str()));
  return from_wide(file);
}

}  // namespace lodemark::win32
