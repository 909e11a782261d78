#include "conversion/source_problem.h"

#include <array>

namespace lodemark {
namespace {

constexpr Severity kE = Severity::Error;
constexpr Severity kW = Severity::Warning;

constexpr std::array kRules{
    RuleInfo{Rule::CatalogueMissing, "catalogue-missing", kE},
    RuleInfo{Rule::CatalogueEmpty, "catalogue-empty", kE},
    RuleInfo{Rule::CatalogueFirstLineNotRecord, "catalogue-first-line-not-record", kE},
    RuleInfo{Rule::CatalogueLineLength, "catalogue-line-length", kE},
    RuleInfo{Rule::CatalogueBlankLine, "catalogue-blank-line", kW},
    RuleInfo{Rule::FolderNameUnusable, "folder-name-unusable", kE},
    RuleInfo{Rule::NumberRepeated, "number-repeated", kE},
    RuleInfo{Rule::NumberCaseCollision, "number-case-collision", kE},
    RuleInfo{Rule::EncodingUtf8, "encoding-utf8", kE},
    RuleInfo{Rule::EncodingInvalidByte, "encoding-invalid-byte", kE},
    RuleInfo{Rule::LineEndLfOnly, "line-end-lf-only", kE},
    RuleInfo{Rule::DataFileMissing, "data-file-missing", kE},
    RuleInfo{Rule::DictionaryMissing, "dictionary-missing", kE},
    RuleInfo{Rule::DictionaryFailure, "dictionary-failure", kE},
    RuleInfo{Rule::HeaderMissing, "header-missing", kE},
    RuleInfo{Rule::HeaderLineRepeated, "header-line-repeated", kW},
    RuleInfo{Rule::LinesOutOfOrder, "lines-out-of-order", kE},
    RuleInfo{Rule::LinesNotConsecutive, "lines-not-consecutive", kE},
    RuleInfo{Rule::DataLineUnknownNumber, "data-line-unknown-number", kW},
    RuleInfo{Rule::CountNotANumber, "count-not-a-number", kE},
    RuleInfo{Rule::CountNegative, "count-negative", kE},
    RuleInfo{Rule::CountOutOfRange, "count-out-of-range", kE},
    RuleInfo{Rule::LayerCountShort, "layer-count-short", kE},
    RuleInfo{Rule::LayerCountLong, "layer-count-long", kE},
    RuleInfo{Rule::ValueCountShort, "value-count-short", kE},
    RuleInfo{Rule::ValueCountLong, "value-count-long", kE},
    RuleInfo{Rule::LayerDepthNotANumber, "layer-depth-not-a-number", kE},
    RuleInfo{Rule::LayerDepthNotIncreasing, "layer-depth-not-increasing", kW},
    RuleInfo{Rule::SoilCodeUnknown, "soil-code-unknown", kE},
    RuleInfo{Rule::AlternationSoilUnknown, "alternation-soil-unknown", kE},
    RuleInfo{Rule::AlternationNameNew, "alternation-name-new", kW},
    RuleInfo{Rule::ValueDepthNotANumber, "value-depth-not-a-number", kE},
    RuleInfo{Rule::ValueDepthNotIncreasing, "value-depth-not-increasing", kW},
    RuleInfo{Rule::CoordinateNotANumber, "coordinate-not-a-number", kE},
    RuleInfo{Rule::CoordinateOutOfRange, "coordinate-out-of-range", kE},
};

// The table is indexed by the enum: each row must stand at its rule's place.
constexpr bool rows_in_enum_order() {
  for (std::size_t i = 0; i < kRules.size(); ++i)
    if (static_cast<std::size_t>(kRules[i].rule) != i) return false;
  return true;
}
static_assert(rows_in_enum_order());
static_assert(kRules.size() == static_cast<std::size_t>(Rule::CoordinateOutOfRange) + 1);

}  // namespace

std::span<const RuleInfo> all_rules() { return kRules; }

const RuleInfo& rule_info(Rule rule) { return kRules[static_cast<std::size_t>(rule)]; }

std::string_view severity_name(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

}  // namespace lodemark
