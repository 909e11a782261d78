#pragma once
// A conversion run seen from the terminal: boxes are lines on standard
// error, the folder question is asked there (or answered by --yes), the
// completion message goes to standard output and progress to a terminal.
#include <string_view>

#include "cli/console.h"
#include "conversion/conversion_observer.h"

namespace lodemark::cli {

class TerminalObserver : public ConversionObserver {
 public:
  TerminalObserver(Console& console, bool assume_yes) : console_(console), assume_yes_(assume_yes) {}

  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;
  void status_changed(std::u32string_view text) override;
  void borehole_done(std::size_t done, std::size_t total) override;
  // Ends the progress line, if one stands, so that a message starts a line
  // of its own.
  void end_progress();
  // Only errors: no progress, no completion message, no echo of --yes.
  void set_quiet() { quiet_ = true; }

 private:
  BoxAnswer ask(std::u32string_view question);

  Console& console_;
  bool assume_yes_;
  bool quiet_ = false;
  bool progress_shown_ = false;
};

}  // namespace lodemark::cli
