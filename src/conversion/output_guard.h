#pragma once
// The files a user names for the program's output (a report, a picture, a
// folder of pictures) are checked here before anything is done: an output
// may not replace an input, leave the named place through a link, or keep
// the program waiting on a FIFO. The command line and both windows ask the
// same questions.
#include <optional>
#include <string_view>

#include "base/program_path.h"

namespace lodemark {

// What no output may replace: the source database's files and the
// pattern-data folder with everything in it. Either may be unknown.
struct GuardedInputs {
  std::optional<ProgramPath> source_folder;
  std::optional<ProgramPath> pattern_data_folder;
};

// Why `path` may not become a report or picture (messages.h, kOutput...),
// or nullopt. Files are compared by identity: a case alias, a link or a hard
// link of an input is that input.
std::optional<std::u32string_view> output_file_refusal(const ProgramPath& path, const GuardedInputs& inputs);

// Why `folder` may not take pictures: something other than a folder is
// there, or it lies in the pattern-data folder. A missing folder may.
std::optional<std::u32string_view> output_folder_refusal(const ProgramPath& folder, const GuardedInputs& inputs);

// Why a picture's file in an output folder is passed over: a link (its
// target would be written instead) or anything but a regular file.
std::optional<std::u32string_view> file_in_output_folder_refusal(const ProgramPath& path);

}  // namespace lodemark
