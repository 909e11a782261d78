#include "rodev/catalogue.h"

#include "base/file_names.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace lodemark {
namespace {

std::u32string catalogue_path(const ProgramPath& folder) { return (folder / kCatalogueFile).text(); }

// One byte more than a record tells a longer line from a record without
// holding all of it.
bool read_line(platform::TextReader& reader, std::string& line) {
  return reader.read_line(line, kCatalogueRecordBytes + 1);
}

}  // namespace

// Cut as bytes and then decoded: the four spaces end any character the number
// field left open.
CatalogueEntry catalogue_entry_of(std::string_view record) {
  std::string bytes;
  bytes.reserve(20);
  bytes.append(record.substr(0, 8)).append("    ").append(record.substr(16, 8));
  return CatalogueEntry(cp932::decode(bytes));
}

CatalogueReader::CatalogueReader(const ProgramPath& folder) : path_(catalogue_path(folder)) {
  if (platform::bounded_file_size(path_, kMaxCatalogueBytes) < 1) return;
  platform::TextReader reader(path_, kMaxCatalogueBytes);
  if (!read_line(reader, line_) || line_.size() != kCatalogueRecordBytes) return;
  first_ = catalogue_entry_of(line_);
  reader_ = std::move(reader);
}

std::optional<CatalogueEntry> CatalogueReader::next() {
  if (first_) {
    std::optional<CatalogueEntry> entry = std::move(first_);
    first_.reset();
    return entry;
  }
  if (!reader_) return std::nullopt;
  while (read_line(*reader_, line_))
    if (line_.size() == kCatalogueRecordBytes) return catalogue_entry_of(line_);
  reader_.reset();
  return std::nullopt;
}

std::vector<CatalogueEntry> read_catalogue(const ProgramPath& folder) {
  std::vector<CatalogueEntry> entries;
  CatalogueReader reader(folder);
  while (auto entry = reader.next()) entries.push_back(std::move(*entry));
  return entries;
}

}  // namespace lodemark
