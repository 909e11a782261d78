#pragma once
// The conversion run: what the Execute button and `lodemark-cli convert` do.
#include "conversion/conversion_observer.h"
#include "conversion/conversion_request.h"

namespace lodemark {

// Checks the request, prepares the destination (asking once before creating
// missing folders) and writes the five files of every selected borehole. A
// failure inside the run (a folder or file that cannot be written, a missing
// dictionary, a count that does not fit 16 bits) throws Failure; files
// written before it stay.
RunOutcome run_conversion(const ConversionRequest& request, ConversionObserver& observer);

}  // namespace lodemark
