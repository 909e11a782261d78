#pragma once
// Lines of a long text for a given width, by an estimate of the characters'
// widths: the layout runs below every painter and measures no font.
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::preview {

// The text in lines no wider than `width` where it can be: a line never
// begins with a closing mark (、。）」 …) nor ends with an opening one, and
// an ASCII word stays whole unless it alone is wider than a line (a path
// then breaks after a separator). Spaces at a break are dropped.
std::vector<std::u32string> wrap_text(std::u32string_view text, double width, double size);

// The estimated width of the text on one line.
double text_width(std::u32string_view text, double size);

}  // namespace lodemark::preview
