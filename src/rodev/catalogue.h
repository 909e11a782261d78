#pragma once
// The borehole list of a source folder, built from its catalogue
// "Rodev5.Dat": one entry per 24-byte record, showing the record's number
// (bytes 1-8) and name (bytes 17-24) in byte-wide columns.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "platform/files.h"
#include "rodev/borehole.h"

namespace lodemark {

// A catalogue line is a record when it holds exactly this many bytes (its
// line end not counted).
inline constexpr std::size_t kCatalogueRecordBytes = 24;

// The entry of a record: bytes 1-8, four spaces, bytes 17-24, decoded.
CatalogueEntry catalogue_entry_of(std::string_view record);

// Reads a folder's catalogue one entry at a time, front to back, so that a
// long catalogue costs no more memory than a short one. A catalogue that is
// missing or empty, or whose first line is not a record, has no entries; one
// that cannot be opened or read (a FIFO, a device, one larger than
// kMaxCatalogueBytes included) throws platform::FileError, so that nobody
// takes it for an empty list. The folder may end with "\" or not.
class CatalogueReader {
 public:
  explicit CatalogueReader(const ProgramPath& folder);  // throws platform::FileError

  // The next entry; nullopt after the last one. A read failure throws
  // platform::FileError.
  std::optional<CatalogueEntry> next();

  const std::u32string& path() const { return path_; }

 private:
  std::u32string path_;
  std::optional<platform::TextReader> reader_;
  std::optional<CatalogueEntry> first_;
  std::string line_;
};

// Every record of the folder's catalogue in file order; a catalogue that
// fails to read anywhere throws platform::FileError.
std::vector<CatalogueEntry> read_catalogue(const ProgramPath& folder);

}  // namespace lodemark
