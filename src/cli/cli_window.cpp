#include "cli/cli_window.h"

#include <istream>
#include <ostream>
#include <stdexcept>

#include "conversion/conversion_run.h"
#include "base/failure.h"
#include "base/utf8.h"
#include "base/messages.h"

namespace lodemark::cli {

CliWindow::CliWindow(Console& console, int count, std::optional<std::vector<bool>> selected, std::u32string source,
                       std::u32string destination, bool assume_yes)
    : console_(console),
      count_(count),
      selected_(std::move(selected)),
      source_(std::move(source)),
      destination_(std::move(destination)),
      assume_yes_(assume_yes) {}

BoxAnswer CliWindow::show_message(std::u32string_view text, BoxStyle style, std::u32string_view) {
  if (style == BoxStyle::YesNoQuestion) return Ask(text);
  console_.err << to_utf8(text) << '\n';
  return BoxAnswer::Ok;
}

BoxAnswer CliWindow::Ask(std::u32string_view question) {
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

void CliWindow::check_index(int index) const {
  if (index < 0 || index >= count_) throw std::out_of_range("borehole list index out of range");
}

int CliWindow::List1_Count() { return count_; }

std::u32string CliWindow::List1_Text(int index) {
  check_index(index);
  if (!catalogue_ || index < cursor_index_) {
    catalogue_.emplace(source_);
    cursor_index_ = -1;
  }
  while (cursor_index_ < index) {
    std::optional<CatalogueEntry> entry = catalogue_->next();
    if (!entry) throw Failure(kCatalogueShrank + catalogue_->path());
    cursor_entry_ = std::move(*entry);
    ++cursor_index_;
  }
  return cursor_entry_.display_text();
}

bool CliWindow::List1_Selected(int index) {
  check_index(index);
  return !selected_ || selected_->at(static_cast<std::size_t>(index));
}

std::u32string CliWindow::Text1_Text() { return source_; }
std::u32string CliWindow::Text2_Text() { return destination_; }

void CliWindow::Set_Label3(std::u32string_view text) {
  if (text == kDone) console_.out << to_utf8(text) << '\n';
}

void CliWindow::Borehole_Done(int done, int total) {
  if (!console_.err_is_terminal) return;
  console_.err << "\r変換中 " << done << "/" << total << (done == total ? "\n" : "") << std::flush;
}

}  // namespace lodemark::cli
