#include "cli/cli_window.h"

#include <istream>
#include <ostream>
#include <stdexcept>

#include "conversion/conversion_run.h"
#include "base/failure.h"
#include "base/utf8.h"

namespace lodemark::cli {

Cli_Window::Cli_Window(Console& console, int count, std::optional<std::vector<bool>> selected, std::u32string source,
                       std::u32string destination, bool assume_yes)
    : console_(console),
      count_(count),
      selected_(std::move(selected)),
      source_(std::move(source)),
      destination_(std::move(destination)),
      assume_yes_(assume_yes) {}

BoxAnswer Cli_Window::Show_Message(std::u32string_view text, BoxStyle style, std::u32string_view) {
  if (style == BoxStyle::YesNoQuestion) return Ask(text);
  console_.err << to_utf8(text) << '\n';
  return BoxAnswer::Ok;
}

BoxAnswer Cli_Window::Ask(std::u32string_view question) {
  if (assume_yes_) {
    console_.err << to_utf8(question) << " y\n";
    return BoxAnswer::Yes;
  }
  if (!console_.in_is_terminal) {
    console_.err << to_utf8(question) << " n\n";
    return BoxAnswer::No;
  }
  console_.err << to_utf8(question) << " [y/N] " << std::flush;
  std::string answer;
  std::getline(console_.in, answer);
  return (answer == "y" || answer == "Y" || answer == "yes") ? BoxAnswer::Yes : BoxAnswer::No;
}

void Cli_Window::Check_Index(int index) const {
  if (index < 0 || index >= count_) throw std::out_of_range("borehole list index out of range");
}

int Cli_Window::List1_Count() { return count_; }

std::u32string Cli_Window::List1_Text(int index) {
  Check_Index(index);
  if (!catalogue_ || index < cursor_index_) {
    catalogue_.emplace(source_);
    cursor_index_ = -1;
  }
  while (cursor_index_ < index) {
    if (!catalogue_->next(cursor_entry_))
      throw Failure(U"地質柱状図の一覧が実行中に短くなりました: " + catalogue_->path());
    ++cursor_index_;
  }
  return cursor_entry_;
}

bool Cli_Window::List1_Selected(int index) {
  Check_Index(index);
  return !selected_ || selected_->at(static_cast<std::size_t>(index));
}

std::u32string Cli_Window::Text1_Text() { return source_; }
std::u32string Cli_Window::Text2_Text() { return destination_; }

void Cli_Window::Set_Label3(std::u32string_view text) {
  if (text == kDone) console_.out << to_utf8(text) << '\n';
}

void Cli_Window::Borehole_Done(int done, int total) {
  if (!console_.err_is_terminal) return;
  console_.err << "\r変換中 " << done << "/" << total << (done == total ? "\n" : "") << std::flush;
}

}  // namespace lodemark::cli
