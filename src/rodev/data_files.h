#pragma once
// One borehole's lines out of the three data files of a source folder: the
// header line, the layer lines and the depth-value lines. Every line of a
// borehole begins with its 8-character number (the key); the files hold the
// boreholes in list order, so each lookup scans forward from where the last
// one in the same file stopped, and a run reads each file once.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "platform/files.h"
#include "rodev/borehole.h"

namespace lodemark {

// A data file open with its read position; a file that is missing or empty
// has no reader, and the lookups in it find nothing.
class SourceFile {
 public:
  // Opens the file for sequential reading when it holds at least one byte.
  // A file that exists but cannot be opened throws platform::FileError.
  static SourceFile open(const ProgramPath& path);

  // The open file; nullptr for a missing or empty one.
  platform::TextReader* reader() { return reader_ ? &*reader_ : nullptr; }

 private:
  SourceFile() = default;
  std::optional<platform::TextReader> reader_;
};

// A field of a line: 1-based first character and width, in characters of
// the decoded line.
struct FieldSpan {
  std::size_t first;
  std::size_t width;
};
// Every line begins with its borehole's number.
inline constexpr FieldSpan kKeyField{1, 8};
// Header line.
inline constexpr FieldSpan kLatitudeMinutesField{9, 2};
inline constexpr FieldSpan kLatitudeSecondsField{11, 2};
inline constexpr FieldSpan kLongitudeMinutesField{13, 2};
inline constexpr FieldSpan kLongitudeSecondsField{15, 2};
inline constexpr FieldSpan kLayerCountField{66, 3};
inline constexpr FieldSpan kValueCountField{69, 3};
// Layer line and depth-value line.
inline constexpr FieldSpan kDepthField{12, 8};
inline constexpr FieldSpan kAlternationFlagField{31, 1};
inline constexpr FieldSpan kSoilCodeField{32, 2};
inline constexpr FieldSpan kSecondSoilCodeField{34, 2};
// Rodev3.Dat: the value recorded at the depth.
inline constexpr FieldSpan kValueField{20, 2};
// No field reaches past this character.
inline constexpr std::size_t kLastFieldChar = 71;

// The fields of a decoded line of each file (the key not among them); a
// field past the end of a short line is cut short or empty.
BoreholeHeader header_of_line(const std::u32string& line);
Layer layer_of_line(const std::u32string& line);
DepthValue depth_value_of_line(const std::u32string& line);

// The borehole's header line; nullopt when there is none ahead. Only the
// found line is consumed.
std::optional<BoreholeHeader> read_borehole_header(SourceFile& file, std::u32string_view key);

// Exactly max(count, 0) rows, filled from the borehole's consecutive lines;
// rows without a line are empty. The borehole's first line is looked for
// and consumed even when count is 0; one line beyond the count is read and
// dropped, and the first line after them that belongs to another borehole
// stays unread.
std::vector<Layer> read_layers(SourceFile& file, std::u32string_view key, int count);
std::vector<DepthValue> read_depth_values(SourceFile& file, std::u32string_view key, int count);

// The same rows, with how many of them came from a line: the rest are the
// empty rows a count larger than the lines present gives.
template <typename Row>
struct RowsRead {
  std::vector<Row> rows;
  std::size_t present = 0;
};
RowsRead<Layer> read_layer_rows(SourceFile& file, std::u32string_view key, int count);
RowsRead<DepthValue> read_depth_value_rows(SourceFile& file, std::u32string_view key, int count);

}  // namespace lodemark
