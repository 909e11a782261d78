#pragma once
// What the check of a source database keeps between its passes: per number
// of the catalogue, where its lines stand in each data file; and the checks
// of single lines. Used by the source_check_*.cpp files only.
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "conversion/checked_lines.h"
#include "conversion/source_problem.h"
#include "soil_dictionary/soil_code_preview.h"

namespace lodemark::source_check {

enum DataFile : std::size_t { Headers = 0, Layers = 1, Values = 2 };
inline constexpr std::uint32_t kNoRun = UINT32_MAX;

// One stretch of consecutive lines of a data file that begin with the same
// number.
struct LineRun {
  std::uint32_t ordinal = kNoRun;  // its place among the file's stretches
  std::uint32_t first_line = 0;
  std::uint32_t lines = 0;
  // Rodev1.Dat: the counts of the stretch's first line as a conversion takes
  // them (0 for a text that is no number or is negative).
  std::int32_t layer_count = 0;
  std::int32_t value_count = 0;
};

// One number of the catalogue.
struct CatalogueItem {
  // Texts are kept in UTF-8: an 8-character number then needs no memory of
  // its own beside the item.
  std::string folder;  // the number, trimmed
  std::uint32_t catalogue_line = 0;
  bool selected = true;
  std::array<LineRun, 3> first_runs;
  // From the lookups in Rodev1.Dat: the header line a conversion reads (0
  // for none) and its counts.
  std::uint32_t header_line = 0;
  std::int32_t layer_count = 0;
  std::int32_t value_count = 0;
};

struct CheckState {
  std::vector<CatalogueItem> items;
  // The catalogue's records in order, each as the index of its item; a
  // number that repeats gives its item again.
  std::vector<std::uint32_t> order;
  std::unordered_map<std::string, std::uint32_t> by_key;  // the untrimmed 8-character number
  // Case-folded folder name -> the item that first gave it.
  std::unordered_map<std::string, std::uint32_t> by_folded_folder;
  // Stretches beyond the first of a number, per file (rare).
  std::array<std::unordered_map<std::uint32_t, std::vector<LineRun>>, 3> more_runs;
  std::array<bool, 3> usable{};  // the file was there and read line by line

  std::optional<SoilCodePreview> dictionary;
  std::set<std::u32string> new_names_told;
};

// The stretch of lines being read, with what its lines' checks carry over.
struct RunInProgress {
  std::string key;  // the untrimmed 8-character number, UTF-8
  std::optional<std::uint32_t> item;
  LineRun run;
  std::optional<float> previous_depth;
  std::u32string previous_depth_text;
};

// Checks of one line that belongs to a catalogued borehole: the header
// line's coordinates and counts (filling the stretch's counts), a layer
// line, a depth-value line.
void check_header_line(const CheckedLines& lines, LineRun& run);
void check_layer_line(const CheckedLines& lines, RunInProgress& run, CheckState& state);
void check_value_line(const CheckedLines& lines, RunInProgress& run);

// After a data file's pass: follows the conversion's forward lookups through
// the file's stretches in catalogue order and reports headers missing, lines
// out of order or scattered, counts that do not match.
void report_lookups(DataFile file, CheckState& state, ProblemSink& sink);

// Case-folded form of a folder name, in UTF-8 (ASCII and full-width letters).
std::string fold_case(std::u32string_view text);

}  // namespace lodemark::source_check
