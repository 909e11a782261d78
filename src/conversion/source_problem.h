#pragma once
// What a check of the source database finds: problems, each under a rule
// with a stable id, told through a sink as they are found.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

// error: the output will be wrong or missing; warning: suspicious.
enum class Severity { Error, Warning };

enum class Rule {
  CatalogueMissing,
  CatalogueEmpty,
  CatalogueFirstLineNotRecord,
  CatalogueLineLength,
  CatalogueBlankLine,
  FolderNameUnusable,
  NumberRepeated,
  NumberCaseCollision,
  EncodingUtf8,
  EncodingInvalidByte,
  LineEndLfOnly,
  DataFileMissing,
  DictionaryMissing,
  DictionaryFailure,
  UserDictionaryRefused,
  UserDictionaryCopyDue,
  HeaderMissing,
  HeaderLineRepeated,
  LinesOutOfOrder,
  LinesNotConsecutive,
  DataLineUnknownNumber,
  CountNotANumber,
  CountNegative,
  CountOutOfRange,
  LayerCountShort,
  LayerCountLong,
  ValueCountShort,
  ValueCountLong,
  LayerDepthNotANumber,
  LayerDepthNotIncreasing,
  LayerZeroThickness,
  SoilCodeUnknown,
  AlternationSoilUnknown,
  AlternationNameNew,
  ValueDepthNotANumber,
  ValueDepthNotIncreasing,
  ValueBelowLayers,
  ValueNotANumber,
  CoordinateNotANumber,
  CoordinateOutOfRange,
  DepthTooWide,
  DepthNegative,
  Count,  // not a rule: how many there are
};
inline constexpr std::size_t kRuleCount = static_cast<std::size_t>(Rule::Count);

struct RuleInfo {
  Rule rule;
  std::string_view id;  // kebab-case English, stable across versions
  Severity severity;
  // The problem's message in Japanese: what is wrong and what a conversion
  // does with it, with "%1", "%2", ... for its values. A rule met in more
  // than one way has a text for each way; the rest are empty.
  std::array<std::u32string_view, 3> texts;
};

// Every rule, in the order above.
std::span<const RuleInfo> all_rules();
const RuleInfo& rule_info(Rule rule);
std::string_view severity_name(Severity severity);  // "error" or "warning"
// The rule's text for the `way` it was met in, its values filled in.
std::u32string rule_text(Rule rule, std::initializer_list<std::u32string_view> values = {}, std::size_t way = 0);

// Minutes and seconds of a position that a grid square code can be made
// of: from 0 up to, not including, 60. The check reports the others, and an
// export leaves a borehole holding one out.
constexpr bool coordinate_in_range(float minutes_or_seconds) {
  return minutes_or_seconds >= 0.0f && minutes_or_seconds < 60.0f;
}

struct Problem {
  Rule rule;
  std::u32string file;      // the file's name, e.g. "Rodev2.Dat"
  std::uint32_t line = 0;   // 1-based; 0 when the problem is the whole file's
  std::u32string borehole;  // the number, trimmed; empty when none
  std::u32string message;   // Japanese: what is wrong and what the conversion does with it
};

class ProblemSink {
 public:
  virtual ~ProblemSink() = default;
  virtual void report(const Problem& problem) = 0;
};

// Keeps every problem, for callers that want them all at once.
class ProblemList : public ProblemSink {
 public:
  void report(const Problem& problem) override { problems.push_back(problem); }
  std::vector<Problem> problems;
};

}  // namespace lodemark
