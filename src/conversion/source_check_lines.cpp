// The checks of single lines of the data files.
#include <algorithm>
#include <cmath>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "conversion/source_check_state.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/soil_classes.h"
#include "platform/shown_paths.h"
#include "rodev/data_files.h"

namespace lodemark::source_check {
namespace {

// A count as a conversion takes it: rounded to 16 bits, 0 for a text that is
// no number, below 1 meaning "none".
std::int16_t check_count(const CheckedLines& lines, const LineField& field, std::u32string_view word,
                         std::u32string_view output) {
  if (field.blank()) return 0;
  const std::optional<float> value = field.number();
  if (!value) {
    lines.report(Rule::CountNotANumber, lines.key(), rule_text(Rule::CountNotANumber, {word, field.text(), output}));
    return 0;
  }
  const double rounded = std::nearbyint(static_cast<double>(*value));
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    lines.report(Rule::CountOutOfRange, lines.key(), rule_text(Rule::CountOutOfRange, {word, field.text()}));
    return 0;
  }
  if (rounded < 0) {
    lines.report(Rule::CountNegative, lines.key(), rule_text(Rule::CountNegative, {word, field.text(), output}));
    return 0;
  }
  return static_cast<std::int16_t>(rounded);
}

void check_coordinate(const CheckedLines& lines, const LineField& field, std::u32string_view what) {
  const std::optional<float> value = field.number();
  if (!value) {
    lines.report(Rule::CoordinateNotANumber, lines.key(), rule_text(Rule::CoordinateNotANumber, {what, field.text()}));
  } else if (!coordinate_in_range(*value)) {
    lines.report(Rule::CoordinateOutOfRange, lines.key(), rule_text(Rule::CoordinateOutOfRange, {what, field.text()}));
  }
}

// How a depth of each data file is told (`way` of the shared rules: 0 for
// X1.txt, 1 for X5.txt). A layer as deep as the one above has no thickness;
// two values at one depth are out of order like any other.
struct DepthRules {
  Rule not_a_number;
  Rule not_increasing;
  Rule as_deep_as_before;
  std::size_t way;
  bool zero_first_is_thin;  // the first depth is the bottom of a band from 0
};
constexpr DepthRules kLayerDepth{Rule::LayerDepthNotANumber, Rule::LayerDepthNotIncreasing, Rule::LayerZeroThickness, 0,
                                 true};
constexpr DepthRules kValueDepth{Rule::ValueDepthNotANumber, Rule::ValueDepthNotIncreasing,
                                 Rule::ValueDepthNotIncreasing, 1, false};

// Depths down a borehole grow from line to line, lie below the surface and
// each fits its field of the output file. Gives the depth, nothing for a text
// that is no number.
std::optional<float> check_depth(const CheckedLines& lines, RunInProgress& run, const LineField& depth,
                                 const DepthRules& rules) {
  const std::optional<float> value = depth.number();
  if (!value) {
    lines.report(rules.not_a_number, lines.key(), rule_text(rules.not_a_number, {depth.text()}));
    return std::nullopt;
  }
  const std::u32string given = trim_spaces(depth.text());
  if (!fits_fixed2(*value, kDepthWidth))
    lines.report(Rule::DepthTooWide, lines.key(),
                 rule_text(Rule::DepthTooWide, {given, format_fixed2(*value, kDepthWidth)}, rules.way));
  if (*value < 0.0f) lines.report(Rule::DepthNegative, lines.key(), rule_text(Rule::DepthNegative, {given}, rules.way));
  if (run.previous_depth && *value == *run.previous_depth)
    lines.report(rules.as_deep_as_before, lines.key(),
                 rule_text(rules.as_deep_as_before, {given, trim_spaces(run.previous_depth_text)}));
  else if (run.previous_depth && *value < *run.previous_depth)
    lines.report(rules.not_increasing, lines.key(),
                 rule_text(rules.not_increasing, {given, trim_spaces(run.previous_depth_text)}));
  else if (!run.previous_depth && rules.zero_first_is_thin && *value == 0.0f)
    lines.report(rules.as_deep_as_before, lines.key(), rule_text(rules.as_deep_as_before, {}, 1));
  run.previous_depth = value;
  // Kept in the same buffer from line to line.
  if (const auto ascii = depth.ascii())
    run.previous_depth_text.assign(ascii->begin(), ascii->end());
  else
    run.previous_depth_text = depth.text();
  return value;
}

// An alternating layer's name: looked up as the conversion would, told once
// when it is new to the dictionary.
void check_alternation_name(const CheckedLines& lines, const std::u32string& name, CheckState& state) {
  if (!state.dictionary) return;
  try {
    const SoilCodePreview::Answer answer = state.dictionary->code_for(name);
    if (answer.origin == SoilCodePreview::Origin::New && state.new_names_told.insert(name).second)
      lines.report(Rule::AlternationNameNew, lines.key(), rule_text(Rule::AlternationNameNew, {name, answer.code}));
  } catch (const Failure& failure) {
    // The conversion stops at this layer; later names would not be reached.
    lines.report(Rule::DictionaryFailure, lines.key(),
                 rule_text(Rule::DictionaryFailure, {platform::shown_failure(failure)}));
    state.dictionary.reset();
  }
}

}  // namespace

// The fields as header_of_line, layer_of_line and depth_value_of_line cut
// them, taken from the bytes when they are plain.
void check_header_line(const CheckedLines& lines, LineRun& run) {
  const LineField position[] = {lines.field(kLatitudeMinutesField), lines.field(kLatitudeSecondsField),
                                lines.field(kLongitudeMinutesField), lines.field(kLongitudeSecondsField)};
  if (std::all_of(std::begin(position), std::end(position), [](const LineField& f) { return f.blank(); })) {
    lines.report(Rule::CoordinateNotANumber, lines.key(), rule_text(Rule::CoordinateNotANumber, {}, 1));
  } else {
    check_coordinate(lines, position[0], kLatitudeMinutes);
    check_coordinate(lines, position[1], kLatitudeSeconds);
    check_coordinate(lines, position[2], kLongitudeMinutes);
    check_coordinate(lines, position[3], kLongitudeSeconds);
  }
  run.layer_count = check_count(lines, lines.field(kLayerCountField), kLayerCountName, kLayerOutputFile);
  run.value_count = check_count(lines, lines.field(kValueCountField), kDepthValueCountName, kDepthValueOutputFile);
}

void check_layer_line(const CheckedLines& lines, RunInProgress& run, CheckState& state) {
  const std::optional<float> depth = check_depth(lines, run, lines.field(kDepthField), kLayerDepth);
  // Only the first stretch is converted; it is kept once it is closed.
  CatalogueItem& item = state.items[*run.item];
  if (depth && item.first_runs[Layers].first_line == 0)
    item.deepest_layer = std::max(item.deepest_layer.value_or(*depth), *depth);
  const std::u32string soil_code = lines.field(kSoilCodeField).text();
  const SoilClass first = classify_soil(soil_code);
  if (lines.field(kAlternationFlagField).number().value_or(0.0f) != 1.0f) {
    if (first.name.empty())
      lines.report(Rule::SoilCodeUnknown, lines.key(), rule_text(Rule::SoilCodeUnknown, {soil_code}));
    return;
  }
  const std::u32string second_soil_code = lines.field(kSecondSoilCodeField).text();
  const SoilClass second = classify_soil(second_soil_code);
  const std::u32string name = first.name + U"と" + second.name + U"の互層";
  if (first.name.empty() || second.name.empty())
    lines.report(Rule::AlternationSoilUnknown, lines.key(),
                 rule_text(Rule::AlternationSoilUnknown, {soil_code, second_soil_code, name}));
  check_alternation_name(lines, name, state);
}

void check_value_line(const CheckedLines& lines, RunInProgress& run, const CheckState& state) {
  const LineField depth_field = lines.field(kDepthField);
  const std::optional<float> depth = check_depth(lines, run, depth_field, kValueDepth);
  // Lines past the first stretch are not converted: they lie nowhere.
  const CatalogueItem& item = state.items[*run.item];
  const bool converted = item.first_runs[Values].first_line == 0;
  if (depth && converted && item.deepest_layer && *depth > *item.deepest_layer)
    lines.report(Rule::ValueBelowLayers, lines.key(),
                 rule_text(Rule::ValueBelowLayers, {trim_spaces(depth_field.text()),
                                                    trim_spaces(format_fixed2(*item.deepest_layer, kDepthWidth))}));
  // Copied as text into X5.txt; only the picture needs a number.
  const LineField value = lines.field(kValueField);
  if (!value.number())
    lines.report(Rule::ValueNotANumber, lines.key(), rule_text(Rule::ValueNotANumber, {value.text()}));
}

}  // namespace lodemark::source_check
