#pragma once
// What the check of a source database keeps between its passes: per number
// of the catalogue, where its lines stand in each data file; and the checks
// of single lines. Used by the source_check_*.cpp files only.
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "conversion/checked_lines.h"
#include "conversion/source_problem.h"
#include "conversion/text_index.h"
#include "soil_dictionary/soil_code_preview.h"

namespace lodemark::source_check {

// Case-folded form of a folder name in UTF-8 (ASCII and full-width letters).
std::string fold_case(std::string_view folder);

enum DataFile : std::size_t { Headers = 0, Layers = 1, Values = 2 };

// One stretch of consecutive lines of a data file that begin with the same
// number. Stretches follow each other in the file, so their first lines
// order them.
struct LineRun {
  std::uint32_t first_line = 0;  // 0: none
  std::uint32_t lines = 0;
  // Rodev1.Dat: the counts of the stretch's first line as a conversion takes
  // them (0 for a text that is no number or is negative; at most 32767).
  std::int16_t layer_count = 0;
  std::int16_t value_count = 0;
};

// One number of the catalogue, kept small: its number lies in
// CheckState::keys, its folder name is that number trimmed.
struct CatalogueItem {
  std::uint32_t key_at = 0;
  std::uint32_t catalogue_line = 0;
  std::array<LineRun, 3> first_runs;
  // From the lookups in Rodev1.Dat: the header line a conversion reads (0
  // for none) and its counts.
  std::uint32_t header_line = 0;
  std::int16_t layer_count = 0;
  std::int16_t value_count = 0;
  // The deepest numeric depth among the layer lines a conversion reads.
  std::optional<float> deepest_layer;
  std::uint8_t key_size = 0;
  bool selected = true;
};

struct CheckState {
  std::vector<CatalogueItem> items;
  // Every item's untrimmed 8-character number in UTF-8, one after another.
  std::string keys;
  // The catalogue's records in order, each as the index of its item; a
  // number that repeats gives its item again.
  std::vector<std::uint32_t> order;
  TextIndex by_key;
  // Case-folded folder name -> the item that first gave it.
  TextIndex by_folded_folder;
  // Every stretch of a number that has more than one in the file (rare).
  std::array<std::unordered_map<std::uint32_t, std::vector<LineRun>>, 3> more_runs;
  std::array<bool, 3> usable{};  // the file was there and read line by line

  std::optional<SoilCodePreview> dictionary;
  std::set<std::u32string> new_names_told;

  std::string_view key(std::uint32_t item) const {
    return std::string_view(keys).substr(items[item].key_at, items[item].key_size);
  }
  std::string_view folder(std::uint32_t item) const;
  std::string folded_folder(std::uint32_t item) const { return fold_case(folder(item)); }
  std::optional<std::uint32_t> item_of_key(std::string_view key) const {
    return by_key.find(key, [this](std::uint32_t i) { return this->key(i); });
  }
  std::optional<std::uint32_t> item_of_folded(std::string_view folded) const {
    return by_folded_folder.find(folded, [this](std::uint32_t i) { return folded_folder(i); });
  }
  // Every stretch of the item in the file, in file order.
  std::span<const LineRun> runs(DataFile file, std::uint32_t item) const;
};

// The stretch of lines being read, with what its lines' checks carry over.
struct RunInProgress {
  std::string key;  // the untrimmed 8-character number, UTF-8
  std::optional<std::uint32_t> item;
  LineRun run;
  std::optional<float> previous_depth;
  std::u32string previous_depth_text;

  // A new stretch; the texts keep their buffers.
  void start(std::string_view number) {
    key.assign(number);
    item.reset();
    run = LineRun{};
    previous_depth.reset();
    previous_depth_text.clear();
  }
};

// Checks of one line that belongs to a catalogued borehole: the header
// line's coordinates and counts (filling the stretch's counts), a layer
// line, a depth-value line.
void check_header_line(const CheckedLines& lines, LineRun& run);
void check_layer_line(const CheckedLines& lines, RunInProgress& run, CheckState& state);
void check_value_line(const CheckedLines& lines, RunInProgress& run, const CheckState& state);

// After a data file's pass: follows the conversion's forward lookups through
// the file's stretches in catalogue order and reports headers missing, lines
// out of order or scattered, counts that do not match.
void report_lookups(DataFile file, CheckState& state, ProblemSink& sink);

}  // namespace lodemark::source_check
