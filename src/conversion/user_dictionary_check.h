#pragma once
// What the check tells of the companion application's user dictionary: a
// setting that names none (a file of the pattern-data folder's own, or a way
// out of it) and a copy that a stopped run left due.
#include "base/program_path.h"
#include "conversion/source_problem.h"

namespace lodemark {

enum class CopyDue { Report, Pass };

// Reads only. A run that goes on to convert completes a due copy first, so
// it passes that over.
void check_user_dictionary(const ProgramPath& pattern_data_folder, ProblemSink& sink, CopyDue copy_due);

}  // namespace lodemark
