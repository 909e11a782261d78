// The readers and the writer of files, the same on every system: they hold a
// NativeFile and do their own buffering.
#include "platform/files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "base/text.h"
#include "platform/drives.h"
#include "platform/native_file.h"

namespace lodemark::platform {

FileError::FileError(std::u32string operation, std::u32string path, std::u32string reason)
    : Failure(operation + U": " + path + U" (" + reason + U")"),
      operation_(std::move(operation)),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

FileError not_a_file_error(std::u32string path) {
  return FileError(kCannotOpenFile, std::move(path), kNotARegularFile);
}

FileError too_large_error(std::u32string path, std::uint64_t limit) {
  return FileError(kCannotReadFile, std::move(path),
                   kFileTooLargeLead + decimal_text(static_cast<long long>(limit)) + kFileTooLargeTail);
}

std::int64_t bounded_file_size(const ProgramPath& path, std::uint64_t limit) {
  const std::int64_t size = file_size(path);
  if (size > 0 && static_cast<std::uint64_t>(size) > limit) throw too_large_error(path.text(), limit);
  return size;
}

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Refuses a file that holds, or has grown to hold, more than `limit` bytes.
void check_bound(const NativeFile& file, std::uint64_t size, std::uint64_t limit) {
  if (size > limit) throw too_large_error(file.path(), limit);
}

}  // namespace

// ---- TextReader ----

struct TextReader::Impl {
  NativeFile file;
  std::uint64_t limit = kNoSizeBound;
  std::vector<char> buffer = std::vector<char>(kBufferSize);
  std::uint64_t buffer_start = 0;  // file offset of buffer[0]
  std::size_t pos = 0;
  std::size_t len = 0;

  // Loads the next block; false at the end of the file.
  bool refill() {
    buffer_start += len;
    pos = 0;
    len = 0;  // should the read fail
    len = file.read_some(buffer.data(), buffer.size());
    check_bound(file, buffer_start + len, limit);
    return len > 0;
  }
};

TextReader::TextReader(const ProgramPath& path, std::uint64_t limit) : impl_(std::make_unique<Impl>()) {
  impl_->file = NativeFile::open(path, FileAccess::Read);
  impl_->limit = limit;
  check_bound(impl_->file, impl_->file.size_hint(), limit);
}
TextReader::~TextReader() = default;
TextReader::TextReader(TextReader&&) noexcept = default;
TextReader& TextReader::operator=(TextReader&&) noexcept = default;

bool TextReader::at_end() {
  Impl& r = *impl_;
  return r.pos >= r.len && !r.refill();
}

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
  r.file.seek(position);
  r.buffer_start = position;
  r.pos = 0;
  r.len = 0;
}

// ---- FileWriter ----

struct FileWriter::Impl {
  NativeFile file;
  std::string pending;

  void flush() {
    if (pending.empty()) return;
    const std::string data = std::move(pending);
    pending.clear();
    file.write_all(data);
  }
};

namespace {

FileAccess writer_access(FileWriter::Mode mode) {
  return mode == FileWriter::Mode::Create ? FileAccess::Create : FileAccess::Append;
}

}  // namespace

FileWriter::FileWriter(const ProgramPath& path, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->file = NativeFile::open(path, writer_access(mode));
  impl_->pending.reserve(kBufferSize);
}

FileWriter::FileWriter(OutputFolder& folder, std::u32string_view name, Mode mode) : impl_(std::make_unique<Impl>()) {
  impl_->file = NativeFile::open_in(folder, name, writer_access(mode));
  impl_->pending.reserve(kBufferSize);
}

FileWriter::~FileWriter() {
  if (impl_ && impl_->file.is_open()) {
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
  impl_->file.sync();
}

void FileWriter::close() {
  if (!impl_->file.is_open()) return;
  impl_->flush();
  impl_->file.close();
}

// ---- OutputFolder ----

OutputFolder::OutputFolder(const ProgramPath& folder)
    : program_path_(folder.text()), native_(to_native(folder).value_or(std::string())) {}

void create_folders_for(const ProgramPath& file) {
  const std::vector<std::u32string> parts = file.parts();
  if (parts.size() < 3) return;
  ProgramPath folder = parts.front() + ProgramPath::kSeparator;
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    folder = folder / parts[i];
    if (!is_folder(folder)) create_folder(folder);
  }
}

// ---- whole files ----

std::string read_all(const ProgramPath& path, std::uint64_t limit) {
  std::string out;
  read_all(path, limit, out);
  return out;
}

void read_all(const ProgramPath& path, std::uint64_t limit, std::string& out) {
  NativeFile file = NativeFile::open(path, FileAccess::Read);
  check_bound(file, file.size_hint(), limit);
  // Read straight into the string at the file's size (one byte more to see
  // the end); a file that grows meanwhile is still read whole, up to the
  // bound. Storage from an earlier read is reused.
  out.resize(static_cast<std::size_t>(file.size_hint()) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) out.resize(out.size() * 2 + kBufferSize);
    const std::size_t n = file.read_some(out.data() + used, out.size() - used);
    if (n == 0) break;
    used += n;
    check_bound(file, used, limit);
  }
  out.resize(used);
}

void read_blocks(const ProgramPath& path, std::uint64_t limit, const std::function<bool(std::string_view)>& on_block) {
  NativeFile file = NativeFile::open(path, FileAccess::Read);
  check_bound(file, file.size_hint(), limit);
  std::vector<char> block(kBufferSize);
  std::uint64_t read = 0;
  for (;;) {
    const std::size_t n = file.read_some(block.data(), block.size());
    read += n;
    check_bound(file, read, limit);
    if (n == 0 || !on_block(std::string_view(block.data(), n))) return;
  }
}

}  // namespace lodemark::platform
