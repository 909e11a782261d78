// Replacing a file's content on Windows: a work file beside the target,
// written and flushed, then ReplaceFileW, which gives it the target's
// attributes, ACL, creation time and short name. Where ReplaceFileW cannot
// work (a file system without it), MoveFileExW with write-through, the
// visible attributes copied by hand; the same under Wine, whose ReplaceFileW
// is not one step (under_wine). An editor or a virus scanner that holds
// the target open makes the swap fail with a sharing violation for a moment:
// the swap is tried again for a short bounded time before it fails.
//
// Hard links: with OtherNames::Split the name given gets the new file and
// the other names keep the old content, as on POSIX; with Share the content
// is written in place. Windows cannot sync the folder itself: the new name
// is on disk once the file system's own journal has it.
#include <windows.h>

#include <random>
#include <vector>

#include "base/messages.h"
#include "base/text.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/replace_file.h"
#include "platform/retry.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

// Attempts at a free work-file name before giving up.
constexpr int kNameAttempts = 100;
// How long a file held open by another program is waited for.
constexpr std::chrono::milliseconds kBusyWait{2000};
constexpr Pauses kBusyPauses{std::chrono::milliseconds(10), std::chrono::milliseconds(250)};

using Handle = win::UniqueHandle;

// Errors that another program holding the file causes, and that go away
// when it lets go.
bool held_by_another(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_USER_MAPPED_FILE;
}

// Runs `step` (0 or an error) again while another program holds the file,
// for at most kBusyWait.
template <class Step>
DWORD retried(Step&& step) {
  DWORD error = 0;
  retry_until(
      [&] {
        error = step();
        return error == 0 || !held_by_another(error);
      },
      kBusyWait, kBusyPauses);
  return error;
}

struct Target {
  std::wstring native;  // api form, links followed
  BY_HANDLE_FILE_INFORMATION info{};
  bool exists = true;
};

Target examine(const ProgramPath& target, bool may_be_missing) {
  const std::wstring given = win::native_or_throw(target, kCannotWriteFile);
  const Handle probe = win::open_file(given, FILE_READ_ATTRIBUTES, win::kShareAll, OPEN_EXISTING);
  const auto fail = [&](DWORD error) { return FileError(kCannotWriteFile, target.text(), win::reason_text(error)); };
  if (!probe.valid()) {
    const DWORD error = ::GetLastError();
    if (!may_be_missing) throw fail(error);
    if (error == ERROR_FILE_NOT_FOUND) return {given, {}, false};
    // A folder that is a file, say: the file cannot be made.
    throw FileError(kCannotCreateFile, target.text(), win::reason_text(error));
  }
  Target out;
  if (!::GetFileInformationByHandle(probe.get(), &out.info)) throw fail(::GetLastError());
  // A read-only file is read-only for everyone, as a file without any write
  // permission is on POSIX.
  if (may_be_missing && (out.info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    throw FileError(kCannotCreateFile, target.text(), win::reason_text(ERROR_ACCESS_DENIED));
  if (out.info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) throw fail(ERROR_ACCESS_DENIED);
  const std::wstring resolved = win::final_path(probe.get());
  out.native = resolved.empty() ? given : win::api_path(resolved);
  // A file whose ACL keeps this user from writing is refused before any work
  // file is made. A sharing violation here is not that, and is waited out at
  // the swap.
  const Handle writable = win::open_file(out.native, GENERIC_WRITE, win::kShareAll, OPEN_EXISTING);
  if (!writable.valid() && ::GetLastError() != ERROR_SHARING_VIOLATION) throw fail(::GetLastError());
  return out;
}

void overwrite_in_place(const std::wstring& native, std::string_view content, const ProgramPath& target) {
  Handle file;
  DWORD error = retried([&] {
    file = win::open_file(native, GENERIC_WRITE, win::kShareAll, OPEN_EXISTING);
    return file.valid() ? DWORD{0} : ::GetLastError();
  });
  if (error == 0) error = win::write_fully(file.get(), content);
  if (error == 0 && !::SetEndOfFile(file.get())) error = ::GetLastError();
  if (error == 0) error = win::sync_file(file.get());
  if (error == 0) error = file.close_reporting();
  if (error != 0) throw FileError(kCannotWriteFile, target.text(), win::reason_text(error));
}

// A new file of a name nobody else uses, beside the target.
struct WorkFile {
  Handle file;
  std::wstring native;
};

WorkFile create_work_file(const std::wstring& folder, std::u32string_view work_name, const ProgramPath& target) {
  std::random_device random;
  const std::wstring stem = win::join_native(folder, win::to_wide(work_name)) + L"." +
                            win::to_wide(decimal_text(::GetCurrentProcessId())) + L".";
  for (int attempt = 0;; ++attempt) {
    WorkFile work;
    work.native = stem + win::to_wide(decimal_text(random()));
    // CREATE_NEW: a file or link planted at the name is never written through.
    work.file = win::open_file(work.native, GENERIC_WRITE, 0, CREATE_NEW);
    if (work.file.valid()) return work;
    const DWORD error = ::GetLastError();
    if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt + 1 == kNameAttempts)
      throw FileError(kCannotCreateFile, target.text(), win::reason_text(error));
  }
}

DWORD move_over(const std::wstring& work, const std::wstring& target) {
  return ::MoveFileExW(work.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? 0
             : ::GetLastError();
}

constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Wine's ReplaceFileW moves the target aside before the work file takes its
// name, so that a process killed in between leaves no target at all; there
// the plain rename, which is one step, is used. (Wine keeps no ACLs.)
bool under_wine() {
  static const bool kWine = [] {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return kWine;
}

// One attempt at the swap: 0 or the error.
DWORD swap_in(const std::wstring& work, const std::wstring& target, bool target_exists) {
  if (under_wine() || !target_exists) return move_over(work, target);
  // Whether another program holds the target is asked first: a ReplaceFileW
  // that fails on it can leave a stray file of its own behind (Wine does).
  if (Handle probe = win::open_file(target, GENERIC_READ | DELETE, win::kShareAll, OPEN_EXISTING); !probe.valid()) {
    if (const DWORD error = ::GetLastError(); held_by_another(error)) return error;
  }
  if (::ReplaceFileW(target.c_str(), work.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
    return 0;
  const DWORD error = ::GetLastError();
  // The target is gone already and the work file kept its name: finish by
  // renaming. Otherwise, unless another program holds the file, ReplaceFileW
  // is not available here: a plain rename over the target.
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || !held_by_another(error)) return move_over(work, target);
  return error;
}

bool exists_native(const std::wstring& native) {
  return ::GetFileAttributesW(native.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

struct ReplacementSet::Impl {
  struct Pending {
    WorkFile work;
    Target target;
    std::u32string shown;
    bool renamed = false;
  };
  std::vector<Pending> pending;

  ~Impl() {
    // A work file was opened without sharing: its handle is closed first.
    for (Pending& file : pending) {
      if (file.renamed) continue;
      file.work.file.reset();
      ::DeleteFileW(file.work.native.c_str());
    }
  }
};

ReplacementSet::ReplacementSet() : impl_(std::make_unique<Impl>()) {}
ReplacementSet::~ReplacementSet() = default;

void ReplacementSet::add(const ProgramPath& target, std::string_view content, std::u32string_view work_name) {
  Target found = examine(target, true);
  const std::wstring folder = win::parent_of(found.native);
  Impl::Pending& file = impl_->pending.emplace_back(
      Impl::Pending{create_work_file(folder, work_name, target), std::move(found), target.text()});
  if (const DWORD error = win::write_fully(file.work.file.get(), content); error != 0)
    throw FileError(kCannotWriteFile, file.shown, win::reason_text(error));
}

void ReplacementSet::commit(const std::function<void()>& before_rename) {
  for (Impl::Pending& file : impl_->pending) {
    DWORD error = win::sync_file(file.work.file.get());
    if (error == 0) error = file.work.file.close_reporting();
    if (error != 0) throw FileError(kCannotWriteFile, file.shown, win::reason_text(error));
    // ReplaceFileW gives the work file the target's attributes on Windows,
    // but not under Wine, nor does the plain rename: set the visible ones.
    if (const DWORD kept = file.target.info.dwFileAttributes & kKeptAttributes)
      ::SetFileAttributesW(file.work.native.c_str(), kept);
  }
  if (before_rename) before_rename();
  for (Impl::Pending& file : impl_->pending) {
    const Target& target = file.target;
    const DWORD error = retried([&] { return swap_in(file.work.native, target.native, target.exists); });
    // Should the target be gone with the new content still in the work file
    // (a swap stopped halfway), that file is all there is: it stays.
    if (error != 0 && !exists_native(target.native) && exists_native(file.work.native)) file.renamed = true;
    if (error != 0) throw FileError(kCannotRenameFile, file.shown, win::reason_text(error));
    file.renamed = true;
  }
}

void replace_file(const ProgramPath& target, std::string_view content, const Replacement& how) {
  const Target found = examine(target, false);
  if (how.other_names == OtherNames::Share && found.info.nNumberOfLinks > 1) {
    overwrite_in_place(found.native, content, target);
    return;
  }
  ReplacementSet set;
  set.add(target, content, how.work_name);
  set.commit(how.before_rename);
}

}  // namespace lodemark::platform
