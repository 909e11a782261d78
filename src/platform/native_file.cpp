// What the operations on a file mean on every system; the calls themselves
// are in native_file_<system>.cpp.
#include "platform/native_file.h"

#include "base/messages.h"
#include "platform/files.h"

namespace lodemark::platform {
namespace {

const char32_t* open_operation(FileAccess access) {
  return access == FileAccess::Read || access == FileAccess::ReadWrite ? kCannotOpenFile : kCannotCreateFile;
}

}  // namespace

NativeFile NativeFile::opened(Opening opening, std::u32string path, FileAccess access) {
  if (!opening.handle) throw FileError(open_operation(access), std::move(path), std::move(opening.reason));
  if (access == FileAccess::Read && !opening.regular) throw not_a_file_error(std::move(path));
  NativeFile file;
  file.handle_ = std::move(opening.handle);
  file.path_ = std::move(path);
  return file;
}

NativeFile NativeFile::open(const ProgramPath& path, FileAccess access) {
  return opened(open_native(path, access), path.text(), access);
}

std::optional<NativeFile> NativeFile::open_unless_denied(const ProgramPath& path, FileAccess access) {
  Opening opening = open_native(path, access);
  if (opening.denied) return std::nullopt;
  return opened(std::move(opening), path.text(), access);
}

NativeFile NativeFile::open_in(OutputFolder& folder, std::u32string_view name, FileAccess access) {
  const ProgramPath path = ProgramPath(folder.program_path_) / name;
  // A folder on a missing drive: opening the file by its path says so.
  if (folder.native_.empty()) return open(path, access);
  return opened(open_native_in(folder, name, access), path.text(), access);
}

void NativeFile::check(const char32_t* operation, ErrorNumber error) const {
  if (error != 0) throw FileError(operation, path_, reason_of(error));
}

std::size_t NativeFile::read_some(char* into, std::size_t size) {
  const ReadResult result = read_native(into, size);
  check(kCannotReadFile, result.error);
  return result.count;
}

void NativeFile::write_all(std::string_view bytes) { check(kCannotWriteFile, write_native(bytes)); }

void NativeFile::seek(std::uint64_t position) { check(kCannotReadFile, seek_native(position)); }

void NativeFile::sync() { check(kCannotWriteFile, sync_native()); }

void NativeFile::close() {
  if (!handle_) return;
  const ErrorNumber error = close_native();
  handle_.reset();
  check(kCannotWriteFile, error);
}

bool NativeFile::try_lock(std::uint64_t offset, bool exclusive) {
  const ErrorNumber error = lock_native(offset, exclusive);
  if (held_by_another(error)) return false;
  check(kCannotLockFile, error);
  return true;
}

}  // namespace lodemark::platform
