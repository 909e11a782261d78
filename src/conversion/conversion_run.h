#pragma once
// The conversion run: what the Execute button does.
#include <string>

#include "conversion/run_window.h"

namespace lodemark {


enum class RunOutcome {
  Converted,  // every selected borehole written
  Refused,    // a check failed or the folder question was answered No
};

// Runs the whole conversion against the window. A failure inside the run
// (a folder or file that cannot be written, a missing dictionary, a count
// that does not fit 16 bits) throws Failure; files written before it stay.
RunOutcome Command1_Click(RunWindow& window);

}  // namespace lodemark
