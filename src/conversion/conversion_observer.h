#pragma once
// What a conversion run tells, and asks, whoever started it: the window's
// presenter, the command line and the tests each observe a run.
#include <cstddef>
#include <string_view>

#include "base/messages.h"
#include "conversion/borehole_result.h"

namespace lodemark {

class ConversionObserver : public MessageBoxes {
 public:
  // The status line's text; empty clears it.
  virtual void status_changed(std::u32string_view text) = 0;
  // The run converts from the first true to the false.
  virtual void busy_changed(bool /*busy*/) {}
  // Lets pending window events run once, so that the status text is painted.
  virtual void yield_once() {}
  // After each borehole: what was written and added to the dictionary (in a
  // dry run, what would be), then the progress.
  virtual void borehole_finished(const BoreholeResult& /*result*/) {}
  virtual void borehole_done(std::size_t /*done*/, std::size_t /*total*/) {}
  // Dry run only, before the first borehole: a level of the destination that
  // the run would create.
  virtual void folder_to_create(const ProgramPath& /*folder*/) {}
  // Every borehole is written: views of the folders may show new ones.
  virtual void output_written() {}
};

enum class RunOutcome {
  Converted,  // every selected borehole written (a dry run: every check passed)
  Refused,    // a check failed or the folder question was answered No
};

}  // namespace lodemark
