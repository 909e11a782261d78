#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_posix.h"
#include "platform/syscalls_posix.h"

namespace lodemark::platform {

FileError::FileError(std::u32string operation, std::u32string path, std::u32string reason)
    : Failure(operation + U": " + path + U" (" + reason + U")"),
      operation_(std::move(operation)),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

namespace posix {

std::u32string reason_text(int error_number) { return from_utf8(std::strerror(error_number)); }

std::string native_or_empty(const ProgramPath& program_path) {
  auto native = to_native(program_path);
  return native ? *native : std::string();
}

std::string native_or_throw(const ProgramPath& program_path, const char32_t* operation) {
  auto native = to_native(program_path);
  if (!native) throw FileError(operation, program_path.text(), kNoDrive);
  return *native;
}

}  // namespace posix

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Descriptors, and the calls on them, come from the one set of wrappers.
using Fd = posix::UniqueFd;

// A file opened for reading only is checked not to be a folder; `info`, when
// given, receives what that check learned (zeroed if the check failed).
Fd open_native_or_throw(const std::string& native, const ProgramPath& path, int flags, const char32_t* operation,
                        struct stat* info = nullptr) {
  Fd fd = posix::open_file(native, flags, 0666);
  if (!fd.valid()) throw FileError(operation, path.text(), posix::reason_text(errno));
  if (!(flags & (O_WRONLY | O_RDWR))) {
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) st = {};
    if (S_ISDIR(st.st_mode)) throw FileError(operation, path.text(), posix::reason_text(EISDIR));
    if (info) *info = st;
  }
  return fd;
}

Fd open_or_throw(const ProgramPath& path, int flags, const char32_t* operation, struct stat* info = nullptr) {
  return open_native_or_throw(posix::native_or_throw(path, operation), path, flags, operation, info);
}

void write_all(int fd, const char* data, std::size_t size, const std::u32string& path) {
  if (const int error = posix::write_fully(fd, std::string_view(data, size)))
    throw FileError(kCannotWriteFile, path, posix::reason_text(error));
}

}  // namespace

// ---- TextReader ----

struct TextReader::Impl {
  Fd fd;
  std::u32string path;
  std::vector<char> buffer = std::vector<char>(kBufferSize);
  std::uint64_t buffer_start = 0;  // file offset of buffer[0]
  std::size_t pos = 0;
  std::size_t len = 0;

  // Loads the next block; false at the end of the file.
  bool refill() {
    buffer_start += len;
    pos = 0;
    len = 0;
    for (;;) {
      const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw FileError(kCannotReadFile, path, posix::reason_text(errno));
      len = static_cast<std::size_t>(n);
      return n > 0;
    }
  }
};

TextReader::TextReader(const ProgramPath& path) : impl_(std::make_unique<Impl>()) {
  impl_->path = path.text();
  impl_->fd = open_or_throw(path, O_RDONLY, kCannotOpenFile);
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
  if (::lseek(r.fd.get(), static_cast<off_t>(position), SEEK_SET) < 0)
    throw FileError(kCannotReadFile, r.path, posix::reason_text(errno));
  r.buffer_start = position;
  r.pos = 0;
  r.len = 0;
}

// ---- FileWriter ----

struct FileWriter::Impl {
  Fd fd;
  std::u32string path;
  std::string pending;

  void flush() {
    if (pending.empty()) return;
    const std::string data = std::move(pending);
    pending.clear();
    write_all(fd.get(), data.data(), data.size(), path);
  }
};

namespace {

int writer_flags(FileWriter::Mode mode) {
  return O_WRONLY | O_CREAT | (mode == FileWriter::Mode::Create ? O_TRUNC : O_APPEND);
}

}  // namespace

FileWriter::FileWriter(const ProgramPath& path, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = path.text();
  impl_->fd = open_or_throw(path, writer_flags(mode), kCannotCreateFile);
  impl_->pending.reserve(kBufferSize);
}

FileWriter::FileWriter(OutputFolder& folder, std::u32string_view name, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->path = (ProgramPath(folder.program_path_) / name).text();
  if (folder.native_.empty()) {
    impl_->fd = open_or_throw(impl_->path, writer_flags(mode), kCannotCreateFile);
  } else {
    const std::string native = folder.created_
                                   ? posix::join_native(folder.native_, posix::name_among(folder.entries_, name))
                                   : posix::native_child(folder.native_, name);
    impl_->fd = open_native_or_throw(native, impl_->path, writer_flags(mode), kCannotCreateFile);
  }
  impl_->pending.reserve(kBufferSize);
}

FileWriter::~FileWriter() {
  if (impl_ && impl_->fd.get() >= 0) {
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
  if (const int error = posix::sync_file(impl_->fd.get()))
    throw FileError(kCannotWriteFile, impl_->path, posix::reason_text(error));
}

void FileWriter::close() {
  if (impl_->fd.get() < 0) return;
  impl_->flush();
  if (const int error = impl_->fd.close_reporting())
    throw FileError(kCannotWriteFile, impl_->path, posix::reason_text(error));
}

// ---- single operations ----

std::int64_t file_size(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

bool exists(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0;
}

bool is_file(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_folder(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool can_open_read_write(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  if (native.empty()) return false;
  const Fd fd = posix::open_file(native, O_RDWR);
  return fd.get() >= 0;
}

// ---- OutputFolder ----

OutputFolder::OutputFolder(const ProgramPath& folder)
    : program_path_(folder.text()), native_(posix::native_or_empty(folder)) {}

OutputFolder OutputFolder::create(const ProgramPath& path) {
  OutputFolder folder;
  folder.program_path_ = path.text();
  folder.native_ = posix::native_or_throw(path, kCannotCreateFolder);
  if (::mkdir(folder.native_.c_str(), 0777) == 0) {
    folder.created_ = true;
  } else if (errno != EEXIST) {
    throw FileError(kCannotCreateFolder, path.text(), posix::reason_text(errno));
  }
  // Something of that name that is not a folder stays as it is: writing the
  // first file into it reports the failure with that file's path.
  return folder;
}

void create_folder(const ProgramPath& path) {
  const std::string native = posix::native_or_throw(path, kCannotCreateFolder);
  if (::mkdir(native.c_str(), 0777) == 0) return;
  const int err = errno;
  struct stat st {};
  if (err == EEXIST && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
  throw FileError(kCannotCreateFolder, path.text(), posix::reason_text(err));
}

void remove_file(const ProgramPath& path) {
  const std::string native = posix::native_or_throw(path, kCannotRemoveFile);
  if (::unlink(native.c_str()) != 0) throw FileError(kCannotRemoveFile, path.text(), posix::reason_text(errno));
}

void rename_file(const ProgramPath& from, const ProgramPath& to) {
  const std::string native_from = posix::native_or_throw(from, kCannotRenameFile);
  const std::string native_to = posix::native_or_throw(to, kCannotRenameFile);
  if (::rename(native_from.c_str(), native_to.c_str()) != 0)
    throw FileError(kCannotRenameFile, from.text() + U" -> " + to.text(), posix::reason_text(errno));
}

std::string read_all(const ProgramPath& path) {
  std::string out;
  read_all(path, out);
  return out;
}

void read_all(const ProgramPath& path, std::string& out) {
  struct stat st {};
  const Fd fd = open_or_throw(path, O_RDONLY, kCannotOpenFile, &st);
  // Read straight into the string at the file's size (one byte more to see
  // the end); a file that grows meanwhile is still read whole. Storage from
  // an earlier read is reused.
  const std::size_t expected = S_ISREG(st.st_mode) && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
  out.resize(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) out.resize(out.size() * 2 + kBufferSize);
    const ssize_t n = ::read(fd.get(), out.data() + used, out.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(kCannotReadFile, path.text(), posix::reason_text(errno));
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  out.resize(used);
}

void read_blocks(const ProgramPath& path, const std::function<bool(std::string_view)>& on_block) {
  const Fd fd = open_or_throw(path, O_RDONLY, kCannotOpenFile);
  std::vector<char> block(kBufferSize);
  for (;;) {
    const ssize_t n = ::read(fd.get(), block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(kCannotReadFile, path.text(), posix::reason_text(errno));
    if (n == 0 || !on_block(std::string_view(block.data(), static_cast<std::size_t>(n)))) return;
  }
}

std::vector<std::u32string> list_folders(const ProgramPath& path) {
  std::vector<std::u32string> out;
  const std::string native = posix::native_or_empty(path);
  if (native.empty()) return out;
  DIR* dir = ::opendir(native.c_str());
  if (!dir) return out;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::stat(posix::join_native(native, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      out.push_back(from_utf8(name));
  }
  ::closedir(dir);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace lodemark::platform
