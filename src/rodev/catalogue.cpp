#include "rodev/catalogue.h"

#include "platform/cp932.h"
#include "base/text.h"
#include "platform/files.h"

namespace lodemark {
namespace {

constexpr std::size_t kRecordBytes = 24;
constexpr std::u32string_view kCatalogueName = U"Rodev5.Dat";

std::u32string catalogue_path(std::u32string_view folder) {
  std::u32string path(folder);
  if (!path.ends_with(U'\\')) path += U'\\';
  return path + std::u32string(kCatalogueName);
}

// Record bytes 1-8, four spaces, record bytes 17-24, cut as bytes and then
// decoded: the four spaces end any character the number field left open.
std::u32string entry_of(std::string_view record) {
  std::string bytes;
  bytes.reserve(20);
  bytes.append(record.substr(0, 8)).append("    ").append(record.substr(16, 8));
  return cp932::decode(bytes);
}

// One byte more than a record tells a longer line from a record without
// holding all of it.
bool read_line(platform::TextReader& reader, std::string& line) { return reader.read_line(line, kRecordBytes + 1); }

}  // namespace

CatalogueReader::CatalogueReader(std::u32string_view folder) : path_(catalogue_path(folder)) {
  if (platform::file_size(path_) < 1) return;
  try {
    platform::TextReader reader(path_);
    if (!read_line(reader, line_) || line_.size() != kRecordBytes) return;
    first_ = entry_of(line_);
    reader_ = std::move(reader);
  } catch (const platform::FileError&) {
    // Locked or unreadable: no entries, as for a missing catalogue.
  }
}

bool CatalogueReader::next(std::u32string& entry) {
  if (first_) {
    entry = std::move(*first_);
    first_.reset();
    return true;
  }
  if (!reader_) return false;
  while (read_line(*reader_, line_)) {
    if (line_.size() != kRecordBytes) continue;
    entry = entry_of(line_);
    return true;
  }
  reader_.reset();
  return false;
}

void read_catalogue(std::u32string_view folder, int& count, std::vector<std::u32string>& entries) {
  count = 0;
  std::vector<std::u32string> found;
  try {
    CatalogueReader reader(folder);
    std::u32string entry;
    while (reader.next(entry)) found.push_back(std::move(entry));
  } catch (const platform::FileError&) {
    // Unreadable part way: an empty list rather than a part of one.
    return;
  }
  if (found.empty()) return;
  count = static_cast<int>(found.size());
  entries = std::move(found);
}

}  // namespace lodemark
