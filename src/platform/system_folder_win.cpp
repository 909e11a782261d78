#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <memory>

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

struct TaskMemoryFree {
  void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};

// The user's roaming application data ("C:\Users\x\AppData\Roaming");
// empty when the system cannot say.
std::u32string roaming_app_data() {
  wchar_t* path = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path);
  // The buffer is the caller's to free, even when the call failed.
  const std::unique_ptr<wchar_t, TaskMemoryFree> owned(path);
  if (FAILED(result) || path == nullptr) return {};
  std::wstring folder(path);
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return win::from_wide(folder);
}

}  // namespace

std::u32string system_folder() { return folder_from(::GetSystemDirectoryW); }

std::vector<std::u32string> system_folders() {
  std::vector<std::u32string> out{system_folder()};
  if (std::u32string wow64 = folder_from(::GetSystemWow64DirectoryW); !wow64.empty() && wow64 != out.front())
    out.push_back(std::move(wow64));
  return out;
}

std::u32string user_settings_file() {
  const std::u32string roaming = roaming_app_data();
  return roaming.empty() ? std::u32string() : roaming + U"\\Lodemark\\user-settings.txt";
}

}  // namespace lodemark::platform
