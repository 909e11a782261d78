#pragma once
// One borehole's lines out of the three data files of a source folder: the
// header line, the layer lines and the depth-value lines. Every line of a
// borehole begins with its 8-character number (the key); the files hold the
// boreholes in list order, so each lookup scans forward from where the last
// one in the same file stopped, and a run reads each file once.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace lodemark {

// Fields 0-8 of a header line: latitude minutes and seconds, longitude
// minutes and seconds, three texts for the title files, the layer count and
// the depth-value count.
using BoreholeHeader = std::array<std::u32string, 9>;
// Per layer line: depth, alternation flag, soil code, second soil code.
using LayerRows = std::vector<std::array<std::u32string, 4>>;
// Per depth-value line: depth, value.
using DepthValueRows = std::vector<std::array<std::u32string, 2>>;

// An open data file with its read position, or the absent marker for a file
// that is missing or empty (the readers then do nothing).
class SourceHandle {
 public:
  SourceHandle() = default;
  // Opens the file for sequential reading when it holds at least one byte;
  // otherwise the absent marker. A file that exists but cannot be opened
  // throws platform::FileError.
  static SourceHandle Open(std::u32string_view path);

  bool Is_Absent() const { return !reader_; }
  // The open file; nullptr when absent.
  platform::TextReader* Reader() { return reader_ ? &*reader_ : nullptr; }

 private:
  std::optional<platform::TextReader> reader_;
};

// Overwrites all nine fields from the borehole's header line; leaves them
// untouched when the line is not found. Only the found line is consumed.
void read_borehole_header(SourceHandle& handle, BoreholeHeader& header, std::u32string_view key);

// Fills rows 0.. from the borehole's consecutive lines, at most `count` and
// at most rows.size() of them; rows without a line keep what they hold. The
// first line after them that belongs to another borehole stays unread.
void read_layers(SourceHandle& handle, int count, LayerRows& rows, std::u32string_view key);
void read_depth_values(SourceHandle& handle, int count, DepthValueRows& rows, std::u32string_view key);

}  // namespace lodemark
