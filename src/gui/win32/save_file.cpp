#include "gui/win32/save_file.h"

#include <commdlg.h>

#include <cwchar>

#include "base/failure.h"
#include "base/messages.h"
#include "gui/win32/message_boxes.h"
#include "gui/win32/win_text.h"
#include "platform/files.h"
#include "platform/whole_file.h"

namespace lodemark::win32 {

std::optional<ProgramPath> choose_save_file(HWND owner, const SaveChoice& choice) {
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
  return ProgramPath(from_wide(file));
}

bool save_file_or_say_why(HWND owner, const ProgramPath& path, const std::function<std::string()>& content,
                          std::u32string_view failed) {
  std::u32string reason;
  try {
    platform::write_whole_file(path, content());
    return true;
  } catch (const platform::FileError& failure) {
    reason = failure.reason();
  } catch (const Failure& failure) {
    reason = failure.message();
  }
  show_message_box(owner, std::u32string(failed) + path.text() + U"\n" + reason, BoxStyle::OkExclamation, kAppTitle);
  return false;
}

}  // namespace lodemark::win32
