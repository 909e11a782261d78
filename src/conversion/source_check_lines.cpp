// The checks of single lines of the data files.
#include <cmath>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"
#include "conversion/source_check_state.h"
#include "kelmo/soil_classes.h"
#include "rodev/data_files.h"

namespace lodemark::source_check {
namespace {

// A count as a conversion takes it: rounded to 16 bits, 0 for a text that is
// no number, below 1 meaning "none".
std::int32_t check_count(const CheckedLines& lines, const std::u32string& text, std::u32string_view word,
                         std::u32string_view output) {
  if (trim_spaces(text).empty()) return 0;
  const std::optional<float> value = parse_decimal(text);
  if (!value) {
    lines.report(Rule::CountNotANumber, lines.key(), fill_in(kCheckCountNotANumber, {word, text, output}));
    return 0;
  }
  const double rounded = std::nearbyint(static_cast<double>(*value));
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    lines.report(Rule::CountOutOfRange, lines.key(), fill_in(kCheckCountOutOfRange, {word, text}));
    return 0;
  }
  if (rounded < 0) {
    lines.report(Rule::CountNegative, lines.key(), fill_in(kCheckCountNegative, {word, text, output}));
    return 0;
  }
  return static_cast<std::int32_t>(rounded);
}

void check_coordinate(const CheckedLines& lines, const std::u32string& text, std::u32string_view what) {
  const std::optional<float> value = parse_decimal(text);
  if (!value) {
    lines.report(Rule::CoordinateNotANumber, lines.key(), fill_in(kCheckCoordinateNotANumber, {what, text}));
  } else if (*value < 0.0f || *value >= 60.0f) {
    lines.report(Rule::CoordinateOutOfRange, lines.key(), fill_in(kCheckCoordinateOutOfRange, {what, text}));
  }
}

// Depths down a borehole grow from line to line.
void check_depth(const CheckedLines& lines, RunInProgress& run, const std::u32string& depth, Rule not_a_number,
                 std::u32string_view not_a_number_text, Rule not_increasing) {
  const std::optional<float> value = parse_decimal(depth);
  if (!value) {
    lines.report(not_a_number, lines.key(), fill_in(not_a_number_text, {depth}));
    return;
  }
  if (run.previous_depth && *value <= *run.previous_depth)
    lines.report(not_increasing, lines.key(),
                 fill_in(kCheckDepthNotIncreasing, {trim_spaces(depth), trim_spaces(run.previous_depth_text)}));
  run.previous_depth = value;
  run.previous_depth_text = depth;
}

// An alternating layer's name: looked up as the conversion would, told once
// when it is new to the dictionary.
void check_alternation_name(const CheckedLines& lines, const std::u32string& name, CheckState& state) {
  if (!state.dictionary) return;
  try {
    const SoilCodePreview::Answer answer = state.dictionary->code_for(name);
    if (answer.origin == SoilCodePreview::Origin::New && state.new_names_told.insert(name).second)
      lines.report(Rule::AlternationNameNew, lines.key(), fill_in(kCheckAlternationNameNew, {name, answer.code}));
  } catch (const Failure& failure) {
    // The conversion stops at this layer; later names would not be reached.
    lines.report(Rule::DictionaryFailure, lines.key(), fill_in(kCheckDictionaryFailure, {failure.message()}));
    state.dictionary.reset();
  }
}

}  // namespace

void check_header_line(const CheckedLines& lines, LineRun& run) {
  const BoreholeHeader header = header_of_line(lines.text());
  const std::u32string* const position[] = {&header.latitude_minutes, &header.latitude_seconds,
                                            &header.longitude_minutes, &header.longitude_seconds};
  bool blank = true;
  for (const std::u32string* field : position) blank = blank && trim_spaces(*field).empty();
  if (blank) {
    lines.report(Rule::CoordinateNotANumber, lines.key(), kCheckCoordinatesBlank);
  } else {
    check_coordinate(lines, header.latitude_minutes, kLatitudeMinutes);
    check_coordinate(lines, header.latitude_seconds, kLatitudeSeconds);
    check_coordinate(lines, header.longitude_minutes, kLongitudeMinutes);
    check_coordinate(lines, header.longitude_seconds, kLongitudeSeconds);
  }
  run.layer_count = check_count(lines, header.layer_count, kLayerCountWord, U"X1.txt");
  run.value_count = check_count(lines, header.depth_value_count, kValueCountWord, U"X5.txt");
}

void check_layer_line(const CheckedLines& lines, RunInProgress& run, CheckState& state) {
  const Layer layer = layer_of_line(lines.text());
  check_depth(lines, run, layer.depth, Rule::LayerDepthNotANumber, kCheckLayerDepthNotANumber,
              Rule::LayerDepthNotIncreasing);
  const SoilClass first = classify_soil(layer.soil_code);
  if (parse_decimal_or_zero(layer.alternation_flag) != 1.0f) {
    if (first.name.empty())
      lines.report(Rule::SoilCodeUnknown, lines.key(), fill_in(kCheckSoilCodeUnknown, {layer.soil_code}));
    return;
  }
  const SoilClass second = classify_soil(layer.second_soil_code);
  const std::u32string name = first.name + U"と" + second.name + U"の互層";
  if (first.name.empty() || second.name.empty())
    lines.report(Rule::AlternationSoilUnknown, lines.key(),
                 fill_in(kCheckAlternationSoilUnknown, {layer.soil_code, layer.second_soil_code, name}));
  check_alternation_name(lines, name, state);
}

void check_value_line(const CheckedLines& lines, RunInProgress& run) {
  const DepthValue value = depth_value_of_line(lines.text());
  check_depth(lines, run, value.depth, Rule::ValueDepthNotANumber, kCheckValueDepthNotANumber,
              Rule::ValueDepthNotIncreasing);
}

}  // namespace lodemark::source_check
