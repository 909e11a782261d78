#pragma once
// The companion application's user dictionary: which file the settings
// ("Vaskor.ini", section USER, key USER) name, whether that file may be one,
// and whether a copy of KISHITU.TXT is still due to it.
#include <optional>
#include <string>

#include "base/program_path.h"

namespace lodemark {

enum class UserDictionaryRefusal {
  None,
  FolderFile,    // a file of the pattern-data folder's own: a dictionary, the settings, a work file
  LeavesFolder,  // a name or a link that leads out of the pattern-data folder
};

struct UserDictionarySetting {
  std::u32string name;  // as the settings give it; empty for none
  // The user dictionary, when the name may be one.
  std::optional<ProgramPath> path;
  UserDictionaryRefusal refusal = UserDictionaryRefusal::None;
};

// Reads the settings of the pattern-data folder `folder`. Files are compared
// by identity as well as by name, so a case alias, a hard link or a symbolic
// link of a file of the folder is that file.
UserDictionarySetting user_dictionary_setting(const ProgramPath& folder);

// A run stopped before it finished copying KISHITU.TXT to the user
// dictionary.
bool user_copy_due(const ProgramPath& folder);

}  // namespace lodemark
