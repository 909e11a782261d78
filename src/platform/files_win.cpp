#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {

FileError::FileError(std::u32string operation, std::u32string path, std::u32string reason)
    : Failure(operation + U": " + path + U" (" + reason + U")"),
      operation_(std::move(operation)),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// Others may read, write, rename and delete a file while this program has it
// open, as on POSIX: a replacement of a file being read is not refused.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

using Handle = win::UniqueHandle;

Handle open_native_or_throw(const std::wstring& native, const std::u32string& path, DWORD access, DWORD disposition,
                            const char32_t* operation) {
  Handle handle = win::open_file(native, access, kShareAll, disposition);
  if (!handle.valid()) throw FileError(operation, path, win::reason_text(::GetLastError()));
  return handle;
}

Handle open_or_throw(const ProgramPath& path, DWORD access, DWORD disposition, const char32_t* operation) {
  return open_native_or_throw(win::native_or_throw(path, operation), path.text(), access, disposition, operation);
}

Handle open_for_reading(const ProgramPath& path) {
  return open_or_throw(path, GENERIC_READ, OPEN_EXISTING, kCannotOpenFile);
}

// ReadFile: the count read, 0 at the end; throws FileError.
std::size_t read_some(HANDLE file, char* into, std::size_t size, const std::u32string& path) {
  DWORD got = 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!::ReadFile(file, into, count, &got, nullptr))
    throw FileError(kCannotReadFile, path, win::reason_text(::GetLastError()));
  return got;
}

bool attributes(const ProgramPath& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  const std::wstring native = win::native_or_empty(path);
  return !native.empty() && win::attributes_of(native, data);
}

// Owns a FindFirstFileExW search.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (valid()) ::FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The path with its last name as the existing entry spells it: a rename
// over a file named in another case keeps the file's name, as on POSIX.
std::wstring existing_spelling(const std::wstring& native) {
  const std::size_t slash = native.rfind(L'\\');
  if (slash == std::wstring::npos || native.find_first_of(L"*?", slash) != std::wstring::npos) return native;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(
      ::FindFirstFileExW(native.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  return search.valid() ? native.substr(0, slash + 1) + entry.cFileName : native;
}

bool is_directory(const WIN32_FILE_ATTRIBUTE_DATA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

// ---- TextReader ----

struct TextReader::Impl {
  Handle file;
  std::u32string path;
  std::vector<char> buffer = std::vector<char>(kBufferSize);
  std::uint64_t buffer_start = 0;  // file offset of buffer[0]
  std::size_t pos = 0;
  std::size_t len = 0;

  // Loads the next block; false at the end of the file.
  bool refill() {
    buffer_start += len;
    pos = 0;
    len = read_some(file.get(), buffer.data(), buffer.size(), path);
    return len > 0;
  }
};

TextReader::TextReader(const ProgramPath& path) : impl_(std::make_unique<Impl>()) {
  impl_->path = path.text();
  impl_->file = open_for_reading(path);
}
TextReader::~TextReader() = default;
TextReader::TextReader(TextReader&&) noexcept = default;
TextReader& TextReader::operator=(TextReader&&) noexcept = default;

bool TextReader::at_end() {
  Impl& r = *impl_;
  return r.pos >= r.len && !r.refill();
}

bool TextReader::read_line(std::string& line) { return read_line(line, std::string::npos); }

bool TextReader::read_line(std::string& line, std::size_t limit) {
  Impl& r = *impl_;
  line.clear();
  if (at_end()) return false;
  const auto keep = [&](const char* begin, const char* stop) {
    const std::size_t room = limit - line.size();
    line.append(begin, std::min(static_cast<std::size_t>(stop - begin), room));
  };
  for (;;) {
    const char* begin = r.buffer.data() + r.pos;
    const char* end = r.buffer.data() + r.len;
    const char* cr = static_cast<const char*>(std::memchr(begin, '\r', static_cast<std::size_t>(end - begin)));
    if (cr) {
      keep(begin, cr);
      r.pos = static_cast<std::size_t>(cr - r.buffer.data()) + 1;
      if (r.pos >= r.len && !r.refill()) return true;
      if (r.buffer[r.pos] == '\n') ++r.pos;
      return true;
    }
    keep(begin, end);
    r.pos = r.len;
    if (!r.refill()) return true;
  }
}

std::uint64_t TextReader::position() const { return impl_->buffer_start + impl_->pos; }

void TextReader::seek(std::uint64_t position) {
  Impl& r = *impl_;
  if (position >= r.buffer_start && position <= r.buffer_start + r.len) {
    r.pos = static_cast<std::size_t>(position - r.buffer_start);
    return;
  }
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!::SetFilePointerEx(r.file.get(), to, nullptr, FILE_BEGIN))
    throw FileError(kCannotReadFile, r.path, win::reason_text(::GetLastError()));
  r.buffer_start = position;
  r.pos = 0;
  r.len = 0;
}

// ---- FileWriter ----

struct FileWriter::Impl {
  Handle file;
  std::u32string path;
  std::string pending;

  void flush() {
    if (pending.empty()) return;
    const std::string data = std::move(pending);
    pending.clear();
    if (const DWORD error = win::write_fully(file.get(), data))
      throw FileError(kCannotWriteFile, path, win::reason_text(error));
  }
};

namespace {

// Appending goes through FILE_APPEND_DATA alone, so that every write lands
// at the end, as with O_APPEND.
DWORD writer_access(FileWriter::Mode mode) {
  return mode == FileWriter::Mode::Create ? GENERIC_WRITE : FILE_APPEND_DATA | SYNCHRONIZE;
}
DWORD writer_disposition(FileWriter::Mode mode) {
  return mode == FileWriter::Mode::Create ? CREATE_ALWAYS : OPEN_ALWAYS;
}

}  // namespace

FileWriter::FileWriter(const ProgramPath& path, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = path.text();
  impl_->file = open_or_throw(path, writer_access(mode), writer_disposition(mode), kCannotCreateFile);
  impl_->pending.reserve(kBufferSize);
}

FileWriter::FileWriter(OutputFolder& folder, std::u32string_view name, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = (ProgramPath(folder.program_path_) / name).text();
  if (folder.native_.empty()) {
    impl_->file = open_or_throw(impl_->path, writer_access(mode), writer_disposition(mode), kCannotCreateFile);
  } else {
    // The file system finds a name of another case by itself.
    const std::wstring native = win::api_path(win::join_native(win::wide_of_utf8(folder.native_), win::to_wide(name)));
    impl_->file =
        open_native_or_throw(native, impl_->path, writer_access(mode), writer_disposition(mode), kCannotCreateFile);
  }
  impl_->pending.reserve(kBufferSize);
}

FileWriter::~FileWriter() {
  if (impl_ && impl_->file.valid()) {
    try {
      impl_->flush();
    } catch (...) {
      // close() is the place to learn of a failed write.
    }
  }
}
FileWriter::FileWriter(FileWriter&&) noexcept = default;

FileWriter& FileWriter::operator=(FileWriter&& other) noexcept {
  if (this != &other) {
    // The writer given up writes out what it still holds, as its destructor would.
    const FileWriter replaced(std::move(*this));
    impl_ = std::move(other.impl_);
  }
  return *this;
}

void FileWriter::write(std::string_view bytes) {
  impl_->pending.append(bytes);
  if (impl_->pending.size() >= kBufferSize) impl_->flush();
}

void FileWriter::write_line(std::string_view bytes) {
  write(bytes);
  write("\r\n");
}

void FileWriter::sync() {
  impl_->flush();
  if (const DWORD error = win::sync_file(impl_->file.get()))
    throw FileError(kCannotWriteFile, impl_->path, win::reason_text(error));
}

void FileWriter::close() {
  if (!impl_->file.valid()) return;
  impl_->flush();
  if (const DWORD error = impl_->file.close_reporting())
    throw FileError(kCannotWriteFile, impl_->path, win::reason_text(error));
}

// ---- single operations ----

std::int64_t file_size(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!attributes(path, data) || is_directory(data)) return -1;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool exists(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data);
}

bool is_file(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data) && !is_directory(data);
}

bool is_folder(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data) && is_directory(data);
}

bool can_open_read_write(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  return !native.empty() && win::open_file(native, GENERIC_READ | GENERIC_WRITE, kShareAll, OPEN_EXISTING).valid();
}

// ---- OutputFolder ----

OutputFolder::OutputFolder(const ProgramPath& folder)
    : program_path_(folder.text()), native_(to_native(folder).value_or(std::string())) {}

OutputFolder OutputFolder::create(const ProgramPath& path) {
  OutputFolder folder;
  folder.program_path_ = path.text();
  const std::wstring native = win::native_or_throw(path, kCannotCreateFolder);
  folder.native_ = to_native(path).value_or(std::string());
  if (::CreateDirectoryW(native.c_str(), nullptr)) {
    folder.created_ = true;
  } else if (const DWORD error = ::GetLastError(); error != ERROR_ALREADY_EXISTS) {
    throw FileError(kCannotCreateFolder, path.text(), win::reason_text(error));
  }
  // Something of that name that is not a folder stays as it is: writing the
  // first file into it reports the failure with that file's path.
  return folder;
}

void create_folder(const ProgramPath& path) {
  const std::wstring native = win::native_or_throw(path, kCannotCreateFolder);
  if (::CreateDirectoryW(native.c_str(), nullptr)) return;
  const DWORD error = ::GetLastError();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (error == ERROR_ALREADY_EXISTS && win::attributes_of(native, data) && is_directory(data)) return;
  throw FileError(kCannotCreateFolder, path.text(), win::reason_text(error));
}

void remove_file(const ProgramPath& path) {
  const std::wstring native = win::native_or_throw(path, kCannotRemoveFile);
  if (!::DeleteFileW(native.c_str()))
    throw FileError(kCannotRemoveFile, path.text(), win::reason_text(::GetLastError()));
}

void rename_file(const ProgramPath& from, const ProgramPath& to) {
  const std::wstring native_from = win::native_or_throw(from, kCannotRenameFile);
  const std::wstring native_to = existing_spelling(win::native_or_throw(to, kCannotRenameFile));
  if (!::MoveFileExW(native_from.c_str(), native_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw FileError(kCannotRenameFile, from.text() + U" -> " + to.text(), win::reason_text(::GetLastError()));
}

std::string read_all(const ProgramPath& path) {
  std::string out;
  read_all(path, out);
  return out;
}

void read_all(const ProgramPath& path, std::string& out) {
  const Handle file = open_for_reading(path);
  // Read straight into the string at the file's size (one byte more to see
  // the end); a file that grows meanwhile is still read whole.
  LARGE_INTEGER size{};
  const std::size_t expected =
      ::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) : 0;
  out.resize(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) out.resize(out.size() * 2 + kBufferSize);
    const std::size_t n = read_some(file.get(), out.data() + used, out.size() - used, path.text());
    if (n == 0) break;
    used += n;
  }
  out.resize(used);
}

void read_blocks(const ProgramPath& path, const std::function<bool(std::string_view)>& on_block) {
  const Handle file = open_for_reading(path);
  std::vector<char> block(kBufferSize);
  for (;;) {
    const std::size_t n = read_some(file.get(), block.data(), block.size(), path.text());
    if (n == 0 || !on_block(std::string_view(block.data(), n))) return;
  }
}

std::vector<std::u32string> list_folders(const ProgramPath& path) {
  std::vector<std::u32string> out;
  const std::wstring native = win::native_or_empty(path);
  if (native.empty()) return out;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(::FindFirstFileExW(win::join_native(native, L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search.valid()) return out;
  do {
    const std::wstring_view name(entry.cFileName);
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) out.push_back(win::from_wide(name));
  } while (::FindNextFileW(search.get(), &entry));
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace lodemark::platform
