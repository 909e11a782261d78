#pragma once
// Files named by program paths. Every open file is owned by an object that
// closes it; failures throw FileError with the operation, the path and the
// system's reason.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/program_path.h"

namespace lodemark::platform {

class NativeFile;

// message() reads "<operation>: <path> (<reason>)".
class FileError : public Failure {
 public:
  FileError(std::u32string operation, std::u32string path, std::u32string reason);
  const std::u32string& operation() const { return operation_; }
  const std::u32string& path() const { return path_; }
  const std::u32string& reason() const { return reason_; }

 private:
  std::u32string operation_;
  std::u32string path_;
  std::u32string reason_;
};

// A file that the program will not read: a FIFO or a device, which could be
// read forever ("cannot open"), or one larger than a reader's bound ("cannot
// read").
FileError not_a_file_error(std::u32string path);
FileError too_large_error(std::u32string path, std::uint64_t limit);

// No bound on a file's size: for files read a line at a time.
inline constexpr std::uint64_t kNoSizeBound = UINT64_MAX;

// Sequential reading of a text file by lines. A line ends at CR or CR LF;
// an LF alone is part of the line. The position is the byte offset of the
// next unread line and can be set back to any earlier position.
class TextReader {
 public:
  // Throws FileError, also on reading past `limit` bytes.
  explicit TextReader(const ProgramPath& path, std::uint64_t limit = kNoSizeBound);
  ~TextReader();
  TextReader(TextReader&&) noexcept;
  TextReader& operator=(TextReader&&) noexcept;

  bool at_end();
  // Reads the next line without its line end, keeping only its first `limit`
  // bytes: the rest is skipped, so that a huge line (a file without CRs)
  // costs no memory. False at the end of the file.
  bool read_line(std::string& line, std::size_t limit);
  std::uint64_t position() const;
  void seek(std::uint64_t position);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A folder that several files are written into, one after another. Its
// native form is found once; a folder that this object created is empty, so
// the files written into it need no search for names of another case.
class OutputFolder {
 public:
  // The folder as it is; each file's name is resolved as the file is opened.
  explicit OutputFolder(const ProgramPath& folder);
  // The folder, created first when nothing of that name exists (its parent
  // must exist). Throws FileError when it cannot be created.
  static OutputFolder create(const ProgramPath& folder);

  ProgramPath path() const { return ProgramPath(program_path_); }
  // This object created the folder: a file of it is new when first written.
  bool created() const { return created_; }

 private:
  friend class NativeFile;
  OutputFolder() = default;
  std::u32string program_path_;
  std::string native_;  // the platform's form of the folder; empty when the drive is missing
  bool created_ = false;
  std::vector<std::string> entries_;  // what a folder created here holds: the files opened in it
};

// A file written front to back: created anew (an existing file is replaced)
// or opened for appending.
class FileWriter {
 public:
  enum class Mode { Create, Append };
  FileWriter(const ProgramPath& path, Mode mode);  // throws FileError
  // The file `name` in the folder.
  FileWriter(OutputFolder& folder, std::u32string_view name, Mode mode);  // throws FileError
  ~FileWriter();
  FileWriter(FileWriter&&) noexcept;
  FileWriter& operator=(FileWriter&&) noexcept;

  void write(std::string_view bytes);
  // Writes the bytes followed by CR LF.
  void write_line(std::string_view bytes);
  // Pushes everything written so far to the disk (fsync).
  void sync();
  // Closes and reports a failure of the final write; the destructor closes
  // silently.
  void close();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Size in bytes; -1 when there is no such file (or a folder). Throws
// not_a_file_error for a FIFO, a device or a socket.
std::int64_t file_size(const ProgramPath& path);
// The same, and too_large_error above `limit` bytes.
std::int64_t bounded_file_size(const ProgramPath& path, std::uint64_t limit);
// A file or a folder of that name exists.
bool exists(const ProgramPath& path);
bool is_file(const ProgramPath& path);
bool is_folder(const ProgramPath& path);
// Opens for reading and writing and closes again; false when that fails.
bool can_open_read_write(const ProgramPath& path);

void create_folder(const ProgramPath& path);
// The folder that holds `file`, and those above it, made where missing.
void create_folders_for(const ProgramPath& file);
void remove_file(const ProgramPath& path);
// Replaces `to` by `from` in one atomic step.
void rename_file(const ProgramPath& from, const ProgramPath& to);
// The whole content of a file; too_large_error beyond `limit` bytes.
std::string read_all(const ProgramPath& path, std::uint64_t limit);
// The same into `out`, whose storage is reused.
void read_all(const ProgramPath& path, std::uint64_t limit, std::string& out);
// The file front to back, a block at a time, for readers with line rules of
// their own: `on_block` gets each block in turn until it answers false.
// too_large_error once more than `limit` bytes were read.
void read_blocks(const ProgramPath& path, std::uint64_t limit, const std::function<bool(std::string_view)>& on_block);
// Names of the sub-folders of a folder, sorted; empty when it cannot be read.
std::vector<std::u32string> list_folders(const ProgramPath& path);

}  // namespace lodemark::platform
