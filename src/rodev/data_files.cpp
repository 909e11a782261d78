#include "rodev/data_files.h"

#include <algorithm>
#include <cstdint>

#include "platform/cp932.h"
#include "platform/files.h"
#include "rodev/line_key.h"

namespace lodemark {
namespace {

// A field past the end of a short line is cut short or empty.
std::u32string cut(const std::u32string& line, FieldSpan span) {
  if (span.first > line.size()) return {};
  return line.substr(span.first - 1, span.width);
}

BoreholeHeader header_of(std::string_view raw) { return header_of_line(cp932::decode(raw)); }
Layer layer_of(std::string_view raw) { return layer_of_line(cp932::decode(raw)); }
DepthValue depth_value_of(std::string_view raw) { return depth_value_of_line(cp932::decode(raw)); }

// Reads lines through the file's reader, keeping of each only the bytes that
// decide the key and the fields.
class LineScan {
 public:
  LineScan(platform::TextReader& reader, std::u32string_view key)
      : reader_(reader), key_(key), keep_(LineKey::bytes_for(std::max(kLastFieldChar, key.size())) + 1) {}

  // Moves to just after the next line that begins with the key. When there is
  // none, the read position goes back to where the search began.
  bool find() {
    const std::uint64_t start = reader_.position();
    while (reader_.read_line(line_, keep_))
      if (key_.begins(line_)) return true;
    reader_.seek(start);
    return false;
  }

  // Takes the next line when it belongs to the key too; otherwise leaves it
  // unread.
  bool next() {
    if (reader_.at_end()) return false;
    const std::uint64_t before = reader_.position();
    reader_.read_line(line_, keep_);
    if (key_.begins(line_)) return true;
    reader_.seek(before);
    return false;
  }

  std::string_view line() const { return line_; }

 private:
  platform::TextReader& reader_;
  LineKey key_;
  std::size_t keep_;
  std::string line_;
};

template <typename Row>
RowsRead<Row> read_rows(SourceFile& file, std::u32string_view key, int count, Row (*row_of)(std::string_view)) {
  RowsRead<Row> read{std::vector<Row>(static_cast<std::size_t>(std::max(count, 0))), 0};
  platform::TextReader* reader = file.reader();
  if (!reader) return read;
  LineScan scan(*reader, key);
  if (!scan.find()) return read;
  // A line of the borehole beyond the count is read and dropped; the lookup
  // of the next borehole passes over any further ones.
  for (Row& row : read.rows) {
    row = row_of(scan.line());
    ++read.present;
    if (!scan.next()) break;
  }
  return read;
}

}  // namespace

BoreholeHeader header_of_line(const std::u32string& line) {
  return {.latitude_minutes = cut(line, kLatitudeMinutesField),
          .latitude_seconds = cut(line, kLatitudeSecondsField),
          .longitude_minutes = cut(line, kLongitudeMinutesField),
          .longitude_seconds = cut(line, kLongitudeSecondsField),
          .title2_line19 = cut(line, {36, 8}),
          .title2_line20 = cut(line, {44, 8}),
          .title2_line23 = cut(line, {52, 8}),
          .layer_count = cut(line, kLayerCountField),
          .depth_value_count = cut(line, kValueCountField)};
}

Layer layer_of_line(const std::u32string& line) {
  return {.depth = cut(line, kDepthField),
          .alternation_flag = cut(line, kAlternationFlagField),
          .soil_code = cut(line, kSoilCodeField),
          .second_soil_code = cut(line, kSecondSoilCodeField)};
}

DepthValue depth_value_of_line(const std::u32string& line) {
  return {.depth = cut(line, kDepthField), .value = cut(line, kValueField)};
}

SourceFile SourceFile::open(const ProgramPath& path) {
  SourceFile file;
  if (platform::file_size(path) > 0) file.reader_.emplace(path);
  return file;
}

std::optional<BoreholeHeader> read_borehole_header(SourceFile& file, std::u32string_view key) {
  platform::TextReader* reader = file.reader();
  if (!reader) return std::nullopt;
  LineScan scan(*reader, key);
  if (!scan.find()) return std::nullopt;
  return header_of(scan.line());
}

std::vector<Layer> read_layers(SourceFile& file, std::u32string_view key, int count) {
  return read_rows(file, key, count, &layer_of).rows;
}

std::vector<DepthValue> read_depth_values(SourceFile& file, std::u32string_view key, int count) {
  return read_rows(file, key, count, &depth_value_of).rows;
}

RowsRead<Layer> read_layer_rows(SourceFile& file, std::u32string_view key, int count) {
  return read_rows(file, key, count, &layer_of);
}

RowsRead<DepthValue> read_depth_value_rows(SourceFile& file, std::u32string_view key, int count) {
  return read_rows(file, key, count, &depth_value_of);
}

}  // namespace lodemark
