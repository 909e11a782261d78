#pragma once
// Modal message boxes of the window.
#include <string_view>

#include "base/messages.h"

class QWidget;

namespace lodemark::qt {

// Shows the text with the style's buttons and icon; `parent` may be null
// (before the window shows). A detail, when not empty, shows on request.
BoxAnswer show_message_box(QWidget* parent, std::u32string_view text, BoxStyle style, std::u32string_view title,
                           std::u32string_view detail = {});

// The report of a failure that ends the program: what failed, where and why.
void show_failure_box(QWidget* parent, std::u32string_view message);

// The boxes over a window, for the logic that shows them without a toolkit.
class BoxesOver final : public MessageBoxes {
 public:
  explicit BoxesOver(QWidget* parent) : parent_(parent) {}
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return show_message_box(parent_, text, style, title);
  }

 private:
  QWidget* parent_;
};

}  // namespace lodemark::qt
