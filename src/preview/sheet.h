#pragma once
// How a columnar section is put on paper: the stated scale, the paper of a
// PDF and whether the converter's own columns (codes, problems) are left out
// for a report. The choices are tables, so the command line and both windows
// offer the same ones.
#include <optional>
#include <string>
#include <string_view>

namespace lodemark::preview {

// A stated scale 1:denominator.
struct Scale {
  int denominator = 100;
  friend bool operator==(const Scale&, const Scale&) = default;
};
inline constexpr Scale kScales[] = {{50}, {100}, {200}, {500}};
inline constexpr Scale kDefaultScale{100};

// "1:200" (or "200"); nothing for a scale not in kScales.
std::optional<Scale> scale_named(std::u32string_view text);
// "1:200".
std::u32string scale_text(Scale scale);

// Paper of a PDF, portrait; sizes in points (1/72 inch), the picture's unit.
enum class Paper { A4, A3 };
struct PaperSize {
  Paper paper;
  std::u32string_view name;  // "A4"
  double width, height;
};
inline constexpr PaperSize kPapers[] = {{Paper::A4, U"A4", 595.276, 841.890}, {Paper::A3, U"A3", 841.890, 1190.551}};
// "A4" or "a3"; nothing for another paper.
std::optional<Paper> paper_named(std::u32string_view text);
const PaperSize& paper_size(Paper paper);

// Points per millimetre: the picture is laid out in points so that a PDF
// page is true to its stated scale.
inline constexpr double kPointsPerMillimetre = 72 / 25.4;

struct SheetOptions {
  Scale scale = kDefaultScale;
  Paper paper = Paper::A4;
  // A sheet for a client's report: no target codes, no problem list.
  bool for_report = false;
};

}  // namespace lodemark::preview
