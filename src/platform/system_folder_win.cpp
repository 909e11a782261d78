#include <windows.h>

#include "platform/syscalls_win.h"
#include "platform/system_folder.h"

namespace lodemark::platform {
namespace {

// A folder that a GetXxxDirectoryW call fills in, without a trailing "\";
// empty when the call fails (SysWOW64 on 32-bit Windows).
template <class Call>
std::u32string folder_from(Call call) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const UINT length = call(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length);
  }
  if (buffer.size() > 3 && buffer.back() == L'\\') buffer.pop_back();
  return win::from_wide(buffer);
}

}  // namespace

std::u32string system_folder() { return folder_from(::GetSystemDirectoryW); }

std::vector<std::u32string> system_folders() {
  std::vector<std::u32string> out{system_folder()};
  if (std::u32string wow64 = folder_from(::GetSystemWow64DirectoryW); !wow64.empty() && wow64 != out.front())
    out.push_back(std::move(wow64));
  return out;
}

}  // namespace lodemark::platform
