#include "source/borehole_catalogue.h"

#include "platform/cp932.h"
#include "platform/files.h"
#include "util/string_file_services.h"

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

// The entries of the catalogue; none when its first line is not a record.
std::vector<std::u32string> read_entries(std::u32string_view path) {
  std::vector<std::u32string> found;
  platform::TextReader reader(path);
  std::string line;
  bool first = true;
  // One byte more than a record tells a longer line from a record without
  // holding all of it.
  while (reader.read_line(line, kRecordBytes + 1)) {
    const bool record = line.size() == kRecordBytes;
    if (first && !record) return {};
    first = false;
    if (record) found.push_back(entry_of(line));
  }
  return found;
}

}  // namespace

void Fill_Borehole_List(std::u32string_view folder, int& count, std::vector<std::u32string>& entries) {
  count = 0;
  const std::u32string path = catalogue_path(folder);
  if (FileSize(path) < 1) return;
  std::vector<std::u32string> found;
  try {
    found = read_entries(path);
  } catch (const platform::FileError&) {
    // Locked or unreadable: an empty list, as for a missing catalogue.
    return;
  }
  if (found.empty()) return;
  count = static_cast<int>(found.size());
  entries = std::move(found);
}

}  // namespace lodemark
