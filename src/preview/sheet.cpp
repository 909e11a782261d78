#include "preview/sheet.h"

#include <charconv>

#include "base/utf8.h"

namespace lodemark::preview {

std::optional<Scale> scale_named(std::u32string_view text) {
  const std::string ascii = to_utf8(text);
  std::string_view digits = ascii;
  if (digits.starts_with("1:")) digits.remove_prefix(2);
  int denominator = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), denominator);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  for (const Scale scale : kScales)
    if (scale.denominator == denominator) return scale;
  return std::nullopt;
}

std::u32string scale_text(Scale scale) { return U"1:" + from_utf8(std::to_string(scale.denominator)); }

std::optional<Paper> paper_named(std::u32string_view text) {
  for (const PaperSize& size : kPapers) {
    if (text.size() != size.name.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < text.size(); ++k)
      same = same && (text[k] == size.name[k] || (text[k] == U'a' && size.name[k] == U'A'));
    if (same) return size.paper;
  }
  return std::nullopt;
}

const PaperSize& paper_size(Paper paper) {
  for (const PaperSize& size : kPapers)
    if (size.paper == paper) return size;
  return kPapers[0];
}

}  // namespace lodemark::preview
