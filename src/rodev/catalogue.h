#pragma once
// The borehole list of a source folder, built from its catalogue
// "Rodev5.Dat": one entry per 24-byte record, showing the record's number
// (bytes 1-8) and name (bytes 17-24) in byte-wide columns.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace lodemark {


// Reads a folder's catalogue one entry at a time, front to back, so that a
// long catalogue costs no more memory than a short one. Every entry is a
// text of 20 bytes (bytes 1-8, four spaces, bytes 17-24). A catalogue that
// is missing, empty, cannot be opened or read at its first line, or whose
// first line is not a record has no entries. The folder may end with "\" or
// not.
class CatalogueReader {
 public:
  explicit CatalogueReader(std::u32string_view folder);

  // The next entry; false after the last one. A read failure after the first
  // line throws platform::FileError.
  bool next(std::u32string& entry);

  const std::u32string& path() const { return path_; }

 private:
  std::u32string path_;
  std::optional<platform::TextReader> reader_;
  std::optional<std::u32string> first_;
  std::string line_;
};

// Sets count to 0, then lists every record of the folder's catalogue in file
// order: entries holds exactly count texts. A catalogue without entries, or
// one that fails to read anywhere, gives count 0 and leaves entries as
// passed.
void read_catalogue(std::u32string_view folder, int& count, std::vector<std::u32string>& entries);

}  // namespace lodemark

#include "rodev/borehole.h"
namespace lodemark {
// Placeholder until the record types land.
inline std::vector<CatalogueEntry> read_catalogue(std::u32string_view folder) {
  int count = 0;
  std::vector<std::u32string> texts;
  read_catalogue(folder, count, texts);
  std::vector<CatalogueEntry> entries;
  for (int i = 0; i < count; ++i) {
    const std::u32string& t = texts[static_cast<std::size_t>(i)];
    entries.push_back({t.substr(0, 8), t.substr(t.size() > 8 ? t.size() - 8 : 0)});
  }
  return entries;
}
}  // namespace lodemark
