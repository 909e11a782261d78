// The Windows system folder shared by the test processes (test_support.h).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <stdexcept>
#include <string>

#include "base/file_names.h"
#include "base/utf8.h"
#include "support/test_support.h"

namespace lodemark::test {
namespace {

namespace fs = std::filesystem;

using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);

// Empty when the system has no such folder (no SysWOW64 on 32-bit Windows).
fs::path folder_of(FolderQuery query) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = query(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return {};
  return fs::path(std::wstring(buffer, length));
}

}  // namespace

SystemFolderClaim::SystemFolderClaim() {
  lock_ = ::CreateMutexW(nullptr, FALSE, L"Local\\lodemark-tests-system-folder");
  if (lock_ == nullptr) throw std::runtime_error("cannot create the lock of the system folder");
  // An abandoned lock (a test process that was killed) is ours all the same.
  const DWORD waited = ::WaitForSingleObject(lock_, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(lock_);
    throw std::runtime_error("cannot take the lock of the system folder");
  }
  const fs::path system = folder_of(&::GetSystemDirectoryW);
  folder_ = native_text(system);
  const fs::path settings_name = native_path(to_utf8(kSettingsFile));
  for (const fs::path& folder : {system, folder_of(&::GetSystemWow64DirectoryW)}) {
    if (folder.empty()) continue;
    const fs::path settings = folder / settings_name;
    std::error_code ec;
    if (!fs::exists(settings, ec)) continue;
    fs::path copy = fs::temp_directory_path() / ("lodemark-saved-settings-" + std::to_string(::GetCurrentProcessId()) +
                                                 "-" + std::to_string(saved_.size()));
    fs::rename(settings, copy);
    saved_.emplace_back(settings, std::move(copy));
  }
}

SystemFolderClaim::~SystemFolderClaim() {
  std::error_code ec;
  const fs::path settings_name = native_path(to_utf8(kSettingsFile));
  for (const fs::path& folder : {folder_of(&::GetSystemDirectoryW), folder_of(&::GetSystemWow64DirectoryW)})
    if (!folder.empty()) fs::remove(folder / settings_name, ec);
  for (const auto& [settings, copy] : saved_) fs::rename(copy, settings, ec);
  ::ReleaseMutex(lock_);
  ::CloseHandle(lock_);
}

}  // namespace lodemark::test
