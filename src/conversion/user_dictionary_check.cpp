#include "conversion/user_dictionary_check.h"

#include <exception>

#include "base/file_names.h"
#include "soil_dictionary/companion_user_dictionary.h"

namespace lodemark {

void check_user_dictionary(const ProgramPath& pattern_data_folder, ProblemSink& sink, CopyDue copy_due) {
  try {
    const UserDictionarySetting setting = user_dictionary_setting(pattern_data_folder);
    if (setting.refusal != UserDictionaryRefusal::None) {
      const std::size_t way = setting.refusal == UserDictionaryRefusal::FolderFile ? 0 : 1;
      sink.report({Rule::UserDictionaryRefused,
                   std::u32string(kCompanionSettingsFile),
                   0,
                   {},
                   rule_text(Rule::UserDictionaryRefused, {setting.name}, way)});
    }
    if (copy_due == CopyDue::Report && setting.path && user_copy_due(pattern_data_folder))
      sink.report({Rule::UserDictionaryCopyDue,
                   std::u32string(kUserCopyDueFile),
                   0,
                   {},
                   rule_text(Rule::UserDictionaryCopyDue, {setting.name, kUserCopyDueFile})});
  } catch (const std::exception&) {
    // The settings are the companion application's: a failure to read them
    // is no problem of the source.
  }
}

}  // namespace lodemark
