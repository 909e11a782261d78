#pragma once
// The window's message boxes: a small modal dialog of the program's own
// rather than MessageBoxW, whose buttons follow the system's language; these
// read はい / いいえ / OK on any Windows. A box with details has a button
// that shows them under the buttons.
#include <windows.h>

#include <string_view>

#include "base/messages.h"

namespace lodemark::win32 {

enum class BoxIcon { None, Question, Exclamation, Information, Critical };

// Control ids inside a box, as MessageBoxW numbers them where it has them;
// the buttons are IDOK, IDYES and IDNO.
inline constexpr int kBoxTextId = 0xFFFF;
inline constexpr int kBoxIconId = 20;
inline constexpr int kBoxDetailButtonId = 0x100;
inline constexpr int kBoxDetailId = 0x101;

// Shows a modal box over `owner` (none: over the screen) and answers the
// button pressed. Escape and the close box count as OK where there is an OK
// button; a question must be answered.
BoxAnswer show_message_box(HWND owner, std::u32string_view text, BoxStyle style, std::u32string_view title,
                           std::u32string_view detail = {});
// A failure that ends the program: its text after kProgramEnds, an error
// icon and the program's title.
void show_failure_box(HWND owner, std::u32string_view message);

// The icon of a box on screen (for the tests).
BoxIcon icon_of_box(HWND box);

}  // namespace lodemark::win32
