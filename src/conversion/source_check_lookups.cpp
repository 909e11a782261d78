// The conversion's forward lookups, followed through the stretches that a
// data file's pass found.
#include <algorithm>
#include <span>
#include <vector>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/source_check_state.h"

namespace lodemark::source_check {
namespace {

constexpr std::u32string_view kFileNames[] = {kHeaderFile, kLayerFile, kDepthValueFile};

// A problem of one catalogued number.
struct ItemProblems {
  const CheckState& state;
  std::uint32_t index;
  ProblemSink& sink;

  void report(Rule rule, std::u32string_view file, std::uint32_t line, std::u32string message) const {
    sink.report({rule, std::u32string(file), line, from_utf8(state.folder(index)), std::move(message)});
  }
};

// The count against the lines of the stretch found (none: 0 lines).
void report_count(DataFile file, const CatalogueItem& item, std::int32_t count, std::uint32_t lines,
                  const ItemProblems& problems) {
  const bool layers = file == Layers;
  const std::u32string_view word = layers ? kLayerCountName : kDepthValueCountName;
  const std::u32string_view output = layers ? kLayerOutputFile : kDepthValueOutputFile;
  const std::u32string values[] = {std::u32string(word), decimal_text(count), std::u32string(kFileNames[file]),
                                   decimal_text(lines), std::u32string(output)};
  const Rule too_few = layers ? Rule::LayerCountShort : Rule::ValueCountShort;
  const Rule too_many = layers ? Rule::LayerCountLong : Rule::ValueCountLong;
  auto tell = [&](Rule rule, std::size_t way) {
    problems.report(rule, kHeaderFile, item.header_line,
                    rule_text(rule, {values[0], values[1], values[2], values[3], values[4]}, way));
  };
  // A count of 0 is the second way of a short count.
  if (count < 1) {
    if (lines > 0) tell(too_few, 1);
  } else if (static_cast<std::uint32_t>(count) > lines) {
    tell(too_many, 0);
  } else if (static_cast<std::uint32_t>(count) < lines) {
    tell(too_few, 0);
  }
}

}  // namespace

void report_lookups(DataFile file, CheckState& state, ProblemSink& sink) {
  const std::u32string_view name = kFileNames[file];
  std::vector<bool> seen(state.items.size());
  std::uint32_t position = 0;  // the first line of the file that the next lookup reads
  for (const std::uint32_t index : state.order) {
    CatalogueItem& item = state.items[index];
    if (!item.selected) continue;
    const bool first_time = !seen[index];
    seen[index] = true;
    // A conversion looks layers and depth values up only for a count of 1 or more.
    const std::int32_t count = file == Layers ? item.layer_count : file == Values ? item.value_count : 1;
    const std::span<const LineRun> runs = state.runs(file, index);
    const ItemProblems problems{state, index, sink};
    const LineRun* found = nullptr;
    if (count >= 1) {
      const auto at =
          std::find_if(runs.begin(), runs.end(), [&](const LineRun& r) { return r.first_line >= position; });
      if (at != runs.end()) {
        found = &*at;
        position = at->first_line + 1;
      }
    }
    // A number that repeats in the catalogue is told once, there.
    if (!first_time) continue;
    if (file == Headers) {
      if (found) {
        item.header_line = found->first_line;
        item.layer_count = found->layer_count;
        item.value_count = found->value_count;
        if (found->lines > 1)
          problems.report(Rule::HeaderLineRepeated, name, found->first_line + 1,
                          rule_text(Rule::HeaderLineRepeated, {decimal_text(found->first_line)}));
      } else if (runs.empty()) {
        problems.report(Rule::HeaderMissing, kCatalogueFile, item.catalogue_line, rule_text(Rule::HeaderMissing));
      }
    } else if (item.header_line != 0 && state.usable[Headers]) {
      // Without a header line nothing of the borehole is read: header-missing says so.
      if (count < 1) {
        if (!runs.empty()) report_count(file, item, count, runs.front().lines, problems);
      } else if (found || runs.empty()) {
        report_count(file, item, count, found ? found->lines : 0, problems);
      }
    }
    if (!found && !runs.empty() && count >= 1) {
      problems.report(Rule::LinesOutOfOrder, name, runs.front().first_line,
                      rule_text(Rule::LinesOutOfOrder, {}, file == Headers ? 0 : 1));
    }
    // Stretches other than the one read (or, when none was read, other than
    // the first, told above) are passed over.
    const LineRun* told = found ? found : (runs.empty() || count < 1 ? nullptr : &runs.front());
    for (const LineRun& run : runs) {
      if (told && run.first_line == told->first_line) continue;
      if (!told && &run == &runs.front()) continue;
      problems.report(Rule::LinesNotConsecutive, name, run.first_line, rule_text(Rule::LinesNotConsecutive));
    }
  }
}

}  // namespace lodemark::source_check
