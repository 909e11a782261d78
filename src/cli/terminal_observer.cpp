#include "cli/terminal_observer.h"

#include <istream>
#include <ostream>
#include <string>

#include "base/text.h"
#include "base/utf8.h"
#include "cli/native_paths.h"

namespace lodemark::cli {
namespace {

// y or yes in any case, the full-width ｙ, or はい; blanks around are allowed.
bool is_yes(const std::string& typed) {
  std::string line = typed;
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a Windows console's line end
  std::u32string answer = trim_spaces(from_utf8(line));
  for (char32_t& c : answer) {
    if (c >= U'Ａ' && c <= U'Ｚ') c += U'ａ' - U'Ａ';
    if (c >= U'ａ' && c <= U'ｚ') c -= U'ａ' - U'a';
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
  }
  return answer == U"y" || answer == U"yes" || answer == U"はい";
}

}  // namespace

BoxAnswer TerminalObserver::show_message(std::u32string_view text, BoxStyle style, std::u32string_view) {
  end_progress();
  if (style == BoxStyle::YesNoQuestion) return ask(text);
  console_.err << with_native_paths(text) << '\n';
  return BoxAnswer::Ok;
}

BoxAnswer TerminalObserver::ask(std::u32string_view question) {
  if (assume_yes_) {
    if (!quiet_) console_.err << to_utf8(question) << " y\n";
    return BoxAnswer::Yes;
  }
  // Nobody to ask: a script never creates folders it was not told to.
  if (!console_.in_is_terminal) {
    console_.err << to_utf8(question) << " n\n";
    return BoxAnswer::No;
  }
  console_.err << to_utf8(question) << " [y/N] " << std::flush;
  std::string answer;
  std::getline(console_.in, answer);
  return is_yes(answer) ? BoxAnswer::Yes : BoxAnswer::No;
}

void TerminalObserver::status_changed(std::u32string_view text) {
  // Only the outcome is worth a line; the other status texts are for the window.
  if (text == kDone && !quiet_) console_.out << to_utf8(text) << '\n';
}

void TerminalObserver::borehole_done(std::size_t done, std::size_t total) {
  if (!console_.err_is_terminal || quiet_) return;
  console_.err << "\r変換中 " << done << "/" << total << (done == total ? "\n" : "") << std::flush;
  progress_shown_ = done != total;
}

void TerminalObserver::end_progress() {
  if (progress_shown_) console_.err << '\n';
  progress_shown_ = false;
}

}  // namespace lodemark::cli
