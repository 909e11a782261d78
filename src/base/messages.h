#pragma once
// Modal message boxes, shown by whichever front end runs the program (the
// window or the command line).
#include <string>
#include <string_view>

namespace lodemark {

inline constexpr char32_t kAppTitle[] = U"Lodemark";

// Styles: buttons plus icon, as the classic message box numbers them.
enum class BoxStyle : int {
  OkOnly = 0,
  YesNoQuestion = 36,
  OkExclamation = 48,
  OkInformation = 64,
};

enum class BoxAnswer : int { Ok = 1, Yes = 6, No = 7 };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual BoxAnswer Show_Message(std::u32string_view text, BoxStyle style, std::u32string_view title) = 0;
};

}  // namespace lodemark
