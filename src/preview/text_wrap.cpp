#include "preview/text_wrap.h"

namespace lodemark::preview {
namespace {

constexpr double kNarrowEms = 0.6;

// Marks that close a phrase stay on the line of the text before them.
constexpr std::u32string_view kClosing = U"、。，．）」』】〕〉》・：；？！ヽヾゝゞ々ー),.:;!?]}";
// Marks that open one stay with the text after them.
constexpr std::u32string_view kOpening = U"（「『【〔〈《([{";

bool is_wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

bool is_word_char(char32_t c) { return c > U' ' && c < 0x7F; }

bool is_separator(char32_t c) { return c == U'/' || c == U'\\'; }

// A line may end after text[at - 1] and the next begin with text[at].
bool may_break_before(std::u32string_view text, std::size_t at) {
  const char32_t before = text[at - 1], next = text[at];
  if (next == U' ' || kClosing.find(next) != std::u32string_view::npos) return false;
  if (kOpening.find(before) != std::u32string_view::npos) return false;
  return !(is_word_char(before) && is_word_char(next));
}

// Full-width characters one em, others a little over half.
double char_width(char32_t c, double size) { return (is_wide(c) ? 1.0 : kNarrowEms) * size; }

}  // namespace

double text_width(std::u32string_view text, double size) {
  double width = 0;
  for (const char32_t c : text) width += char_width(c, size);
  return width;
}

std::vector<std::u32string> wrap_text(std::u32string_view text, double width, double size) {
  std::vector<std::u32string> lines;
  const auto add_line = [&](std::size_t from, std::size_t to) {
    std::u32string_view line = text.substr(from, to - from);
    while (!line.empty() && line.back() == U' ') line.remove_suffix(1);
    lines.emplace_back(line);
  };
  std::size_t start = 0;
  while (start < text.size()) {
    // The longest stretch from `start` that fits, at least one character.
    std::size_t end = start;
    double used = 0;
    while (end < text.size() && (end == start || used + char_width(text[end], size) <= width)) {
      used += char_width(text[end], size);
      ++end;
    }
    // Trailing spaces take no room at a break.
    while (end < text.size() && text[end] == U' ') ++end;
    std::size_t cut = end;
    if (end < text.size() && !may_break_before(text, end)) {
      cut = start;
      for (std::size_t at = end; at > start + 1 && cut == start; --at)
        if (may_break_before(text, at - 1)) cut = at - 1;
      // A word wider than the line: after its last separator, else at the width.
      for (std::size_t at = end; at > start && cut == start; --at)
        if (is_separator(text[at - 1])) cut = at;
      if (cut == start) {
        cut = end;
        // A closing mark hangs past the width rather than begin a line.
        while (cut < text.size() && kClosing.find(text[cut]) != std::u32string_view::npos) ++cut;
      }
    }
    add_line(start, cut);
    start = cut;
    while (start < text.size() && text[start] == U' ') ++start;
  }
  return lines;
}

}  // namespace lodemark::preview
