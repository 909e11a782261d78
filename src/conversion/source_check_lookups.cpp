// The conversion's forward lookups, followed through the stretches that a
// data file's pass found.
#include <algorithm>
#include <vector>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/source_check_state.h"

namespace lodemark::source_check {
namespace {

constexpr std::u32string_view kFileNames[] = {kHeaderFile, kLayerFile, kDepthValueFile};

// Every stretch of the item in the file, in file order.
std::vector<LineRun> runs_of(const CheckState& state, DataFile file, std::uint32_t item) {
  std::vector<LineRun> runs;
  const LineRun& first = state.items[item].first_runs[file];
  if (first.ordinal == kNoRun) return runs;
  runs.push_back(first);
  if (const auto more = state.more_runs[file].find(item); more != state.more_runs[file].end())
    runs.insert(runs.end(), more->second.begin(), more->second.end());
  return runs;
}

Problem problem(Rule rule, std::u32string_view file, std::uint32_t line, const CatalogueItem& item,
                std::u32string message) {
  return {rule, std::u32string(file), line, from_utf8(item.folder), std::move(message)};
}

// The count against the lines of the stretch found (none: 0 lines).
void report_count(DataFile file, const CatalogueItem& item, std::int32_t count, std::uint32_t lines,
                  ProblemSink& sink) {
  const bool layers = file == Layers;
  const std::u32string_view word = layers ? kLayerCountWord : kValueCountWord;
  const std::u32string_view output = layers ? kLayerOutputFile : kDepthValueOutputFile;
  const std::u32string values[] = {std::u32string(word), decimal_text(count), std::u32string(kFileNames[file]),
                                   decimal_text(lines), std::u32string(output)};
  auto text = [&](std::u32string_view pattern) {
    return fill_in(pattern, {values[0], values[1], values[2], values[3], values[4]});
  };
  if (count < 1) {
    if (lines > 0)
      sink.report(problem(layers ? Rule::LayerCountShort : Rule::ValueCountShort, kHeaderFile, item.header_line, item,
                          text(kCheckCountZero)));
  } else if (static_cast<std::uint32_t>(count) > lines) {
    sink.report(problem(layers ? Rule::LayerCountLong : Rule::ValueCountLong, kHeaderFile, item.header_line, item,
                        text(kCheckCountLong)));
  } else if (static_cast<std::uint32_t>(count) < lines) {
    sink.report(problem(layers ? Rule::LayerCountShort : Rule::ValueCountShort, kHeaderFile, item.header_line, item,
                        text(kCheckCountShort)));
  }
}

}  // namespace

void report_lookups(DataFile file, CheckState& state, ProblemSink& sink) {
  const std::u32string_view name = kFileNames[file];
  std::vector<bool> seen(state.items.size());
  std::uint32_t position = 0;  // the ordinal of the next stretch a lookup reads
  for (const std::uint32_t index : state.order) {
    CatalogueItem& item = state.items[index];
    if (!item.selected) continue;
    const bool first_time = !seen[index];
    seen[index] = true;
    // A conversion looks layers and depth values up only for a count of 1 or more.
    const std::int32_t count = file == Layers ? item.layer_count : file == Values ? item.value_count : 1;
    const std::vector<LineRun> runs = runs_of(state, file, index);
    const LineRun* found = nullptr;
    if (count >= 1) {
      const auto at = std::find_if(runs.begin(), runs.end(), [&](const LineRun& r) { return r.ordinal >= position; });
      if (at != runs.end()) {
        found = &*at;
        position = at->ordinal + 1;
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
          sink.report(problem(Rule::HeaderLineRepeated, name, found->first_line + 1, item,
                              fill_in(kCheckHeaderLineRepeated, {decimal_text(found->first_line)})));
      } else if (runs.empty()) {
        sink.report(problem(Rule::HeaderMissing, kCatalogueFile, item.catalogue_line, item, kCheckHeaderMissing));
      }
    } else if (item.header_line != 0 && state.usable[Headers]) {
      // Without a header line nothing of the borehole is read: header-missing says so.
      if (count < 1) {
        if (!runs.empty()) report_count(file, item, count, runs.front().lines, sink);
      } else if (found || runs.empty()) {
        report_count(file, item, count, found ? found->lines : 0, sink);
      }
    }
    if (!found && !runs.empty() && count >= 1) {
      sink.report(problem(Rule::LinesOutOfOrder, name, runs.front().first_line, item,
                          file == Headers ? kCheckLinesOutOfOrderHeader : kCheckLinesOutOfOrderRows));
    }
    // Stretches other than the one read (or, when none was read, other than
    // the first, told above) are passed over.
    const LineRun* told = found ? found : (runs.empty() || count < 1 ? nullptr : &runs.front());
    for (const LineRun& run : runs) {
      if (told && run.ordinal == told->ordinal) continue;
      if (!told && &run == &runs.front()) continue;
      sink.report(problem(Rule::LinesNotConsecutive, name, run.first_line, item, kCheckLinesNotConsecutive));
    }
  }
}

}  // namespace lodemark::source_check
