#include "rodev/data_files.h"

#include <algorithm>
#include <cstdint>

#include "platform/cp932.h"
#include "rodev/line_key.h"
#include "base/text.h"
#include "platform/files.h"

namespace lodemark {
namespace {

// A field of a line: 1-based first character and width, in characters of
// the decoded line.
struct FieldSpan {
  std::size_t first;
  std::size_t width;
};

constexpr std::array<FieldSpan, 9> kHeaderFields{{
    {9, 2}, {11, 2}, {13, 2}, {15, 2}, {36, 8}, {44, 8}, {52, 8}, {66, 3}, {69, 3}}};
constexpr std::array<FieldSpan, 4> kLayerFields{{{12, 8}, {31, 1}, {32, 2}, {34, 2}}};
constexpr std::array<FieldSpan, 2> kX5Fields{{{12, 8}, {20, 2}}};

// No field reaches past this character.
constexpr std::size_t kLastFieldChar = 71;

// A field past the end of a short line is cut short or empty.
std::u32string cut(const std::u32string& line, FieldSpan span) {
  if (span.first > line.size()) return {};
  return line.substr(span.first - 1, span.width);
}

template <std::size_t N>
void copy_fields(std::string_view raw, const std::array<FieldSpan, N>& spans,
                 std::array<std::u32string, N>& out) {
  const std::u32string line = cp932::decode(raw);
  for (std::size_t i = 0; i < N; ++i) out[i] = cut(line, spans[i]);
}

// Reads lines through the handle, keeping of each only the bytes that decide
// the key and the fields.
class LineScan {
 public:
  LineScan(platform::TextReader& reader, std::u32string_view key)
      : reader_(reader),
        key_(key),
        keep_(LineKey::bytes_for(std::max(kLastFieldChar, key.size())) + 1) {}

  // Moves to just after the next line that begins with the key. When there is
  // none, the read position goes back to where the search began.
  bool Find() {
    const std::uint64_t start = reader_.position();
    while (reader_.read_line(line_, keep_))
      if (key_.begins(line_)) return true;
    reader_.seek(start);
    return false;
  }

  // Takes the next line when it belongs to the key too; otherwise leaves it
  // unread.
  bool Next() {
    if (reader_.at_end()) return false;
    const std::uint64_t before = reader_.position();
    reader_.read_line(line_, keep_);
    if (key_.begins(line_)) return true;
    reader_.seek(before);
    return false;
  }

  std::string_view Line() const { return line_; }

 private:
  platform::TextReader& reader_;
  LineKey key_;
  std::size_t keep_;
  std::string line_;
};

template <std::size_t N>
void read_rows(SourceHandle& handle, int count, std::vector<std::array<std::u32string, N>>& rows,
               std::u32string_view key, const std::array<FieldSpan, N>& spans) {
  platform::TextReader* reader = handle.Reader();
  if (!reader) return;
  LineScan scan(*reader, key);
  if (!scan.Find()) return;
  const std::size_t limit = count > 0 ? std::min(static_cast<std::size_t>(count), rows.size()) : 0;
  // A line of the borehole beyond the count is read and dropped; the lookup
  // of the next borehole passes over any further ones.
  for (std::size_t m = 0; m < limit; ++m) {
    copy_fields(scan.Line(), spans, rows[m]);
    if (!scan.Next()) return;
  }
}

}  // namespace

SourceHandle SourceHandle::Open(std::u32string_view path) {
  SourceHandle handle;
  if (platform::file_size(path) > 0) handle.reader_.emplace(path);
  return handle;
}

void read_borehole_header(SourceHandle& handle, BoreholeHeader& header, std::u32string_view key) {
  platform::TextReader* reader = handle.Reader();
  if (!reader) return;
  LineScan scan(*reader, key);
  if (scan.Find()) copy_fields(scan.Line(), kHeaderFields, header);
}

void read_layers(SourceHandle& handle, int count, LayerRows& rows, std::u32string_view key) {
  read_rows(handle, count, rows, key, kLayerFields);
}

void read_depth_values(SourceHandle& handle, int count, DepthValueRows& rows, std::u32string_view key) {
  read_rows(handle, count, rows, key, kX5Fields);
}

}  // namespace lodemark
