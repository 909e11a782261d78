#pragma once
// One open file of the system: a descriptor on POSIX, a handle on Windows.
// The platform's readers, writers and lock are written once over it; each
// system has its own native_file_*.cpp. Every failure throws FileError with
// the operation, the path the file was opened by and the system's reason.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/program_path.h"

namespace lodemark::platform {

class OutputFolder;

// What a file is opened for; only Create and Append make a file.
enum class FileAccess {
  Read,       // an existing file, not a folder
  ReadWrite,  // an existing file, never truncated
  Create,     // made anew, or an existing one emptied
  Append,     // every write lands at the end
};

class NativeFile {
 public:
  NativeFile() = default;
  // Throws FileError: "cannot open" for Read and ReadWrite, "cannot create"
  // for Create and Append. Read refuses what is no file (a FIFO, a device),
  // which could be waited on or read forever.
  static NativeFile open(const ProgramPath& path, FileAccess access);
  // The same, but nullopt when the system denies this user that access (no
  // permission, a read-only file or file system).
  static std::optional<NativeFile> open_unless_denied(const ProgramPath& path, FileAccess access);
  // The file `name` of the folder.
  static NativeFile open_in(OutputFolder& folder, std::u32string_view name, FileAccess access);

  bool is_open() const { return handle_ != nullptr; }
  const std::u32string& path() const { return path_; }

  // Up to `size` bytes; 0 at the end of the file.
  std::size_t read_some(char* into, std::size_t size);
  void write_all(std::string_view bytes);
  void seek(std::uint64_t position);
  // The size of a file opened for reading, to read it whole in one go; 0
  // when unknown. The file may still grow.
  std::uint64_t size_hint() const;
  // Pushes what was written to the disk.
  void sync();
  // Closes and reports a failed write that the system held back until then;
  // the destructor closes silently.
  void close();
  // Locks the one byte at `offset` without waiting: true when taken, false
  // while another holds it. The lock lasts as long as this file is open.
  bool try_lock(std::uint64_t offset, bool exclusive);

 private:
  struct Handle;  // the system's own
  struct Closer {
    void operator()(Handle* handle) const;
  };
  using OwnedHandle = std::unique_ptr<Handle, Closer>;
  // The system's number of an error (errno, GetLastError()); 0 for none.
  using ErrorNumber = std::uint32_t;
  struct ReadResult {
    std::size_t count = 0;
    ErrorNumber error = 0;
  };
  // One attempt at opening: the file, or why not.
  struct Opening {
    OwnedHandle handle;
    std::u32string reason;
    bool denied = false;
    bool regular = true;  // a file, not a FIFO or device (known for Read only)
  };

  // Each system's own (native_file_<system>.cpp).
  static Opening open_native(const ProgramPath& path, FileAccess access);
  static Opening open_native_in(OutputFolder& folder, std::u32string_view name, FileAccess access);
  ReadResult read_native(char* into, std::size_t size);
  ErrorNumber write_native(std::string_view bytes);
  ErrorNumber seek_native(std::uint64_t position);
  ErrorNumber sync_native();
  ErrorNumber close_native();
  ErrorNumber lock_native(std::uint64_t offset, bool exclusive);
  static bool held_by_another(ErrorNumber error);
  static std::u32string reason_of(ErrorNumber error);

  static NativeFile opened(Opening opening, std::u32string path, FileAccess access);
  // Throws FileError(operation) unless `error` is 0.
  void check(const char32_t* operation, ErrorNumber error) const;

  OwnedHandle handle_;
  std::u32string path_;
};

}  // namespace lodemark::platform
