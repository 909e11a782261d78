#include "soil_dictionary/soil_dictionary.h"

#include <vector>

#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/replace_file.h"
#include "soil_dictionary/companion_user_dictionary.h"
#include "soil_dictionary/soil_records.h"
#include "soil_dictionary/user_codes.h"

namespace lodemark {
namespace {

// Appends one line to the dictionary, by the rule the preview's copy follows.
void append_line(const ProgramPath& path, std::string_view content_before, std::string_view line) {
  platform::FileWriter out(path.text(), platform::FileWriter::Mode::Append);
  out.write(dictionary_append(content_before, line));
  out.close();
}

// Writes the register anew through a private work file, which takes the
// register's place (keeping its mode, group and owner) in one atomic rename
// only once it is complete and on disk. On any failure the register stays
// as it was and the work file is removed.
void rebuild_register(const ProgramPath& register_path, const std::vector<std::string_view>& lines,
                      const Insertion& plan, std::string_view record, const std::function<void()>& before_replace) {
  platform::replace_file(register_path, register_with(lines, plan, record),
                         {kSoilNameRegisterWorkFile, platform::OtherNames::Split, before_replace});
}

}  // namespace

SoilDictionary::SoilDictionary(ProgramPath folder, std::chrono::milliseconds lock_wait)
    : folder_(std::move(folder)),
      dictionary_path_(folder_ / kSoilDictionaryFile),
      register_path_(folder_ / kSoilNameRegisterFile),
      lock_wait_(lock_wait) {}

// The lock lies on KISHITU.TXT: it is only ever appended to, never replaced,
// so every run that locks it locks the same file.
platform::FileLock SoilDictionary::lock_folder() const {
  auto held = platform::FileLock::acquire(dictionary_path_, lock_wait_);
  if (!held) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(lock_wait_).count();
    throw Failure(kPatternDataBusyLead + cp932::decode(std::to_string(seconds)) + kPatternDataBusyTail +
                  folder_.text());
  }
  return std::move(*held);
}

SoilCode SoilDictionary::code_of(std::u32string_view soil_name) {
  const platform::FileLock held = lock_folder();
  return find_or_insert(soil_name, held);
}

// The setting is read once for both steps.
void SoilDictionary::add_to_dictionary(std::string_view content_before, std::string_view line) const {
  const std::optional<ProgramPath> user_dictionary = user_dictionary_to_copy();
  const bool due = user_dictionary ? mark_copy_due() : user_copy_due(folder_);
  append_line(dictionary_path_, content_before, line);
  copy_to_user_dictionary(user_dictionary, due);
}

SoilCode SoilDictionary::find_or_insert(std::u32string_view soil_name, const platform::FileLock& held) {
  // The dictionary knows the name as given.
  const std::string_view dictionary = dictionary_cache_.read(dictionary_path_);
  if (auto record = dictionary_cache_.find(soil_name, dictionary_path_))
    return {cp932::decode(code_text((*record)[0])), SoilCode::Origin::Dictionary};

  // The register knows the trimmed name: the dictionary learns it too.
  const std::u32string name = trim_spaces(soil_name);
  const std::string_view register_content = register_cache_.read(register_path_);
  if (auto record = register_cache_.find(name, register_path_)) {
    add_to_dictionary(dictionary, join_soil_record(*record));
    return {cp932::decode(code_text((*record)[0])), SoilCode::Origin::Register};
  }

  // A new name: a new user code in the register, then the dictionary.
  check_writable(name, dictionary_path_);
  const Insertion plan = plan_new_record(name, dictionary, dictionary_path_, register_content, register_path_);
  // A dictionary that this user may only read was locked shared: opening it
  // for appending fails here, with the system's reason, before the register
  // changes.
  if (!held.exclusive()) platform::FileWriter(dictionary_path_, platform::FileWriter::Mode::Append).close();
  const std::string record = created_record(plan.code, name);
  rebuild_register(register_path_, split_lines(register_content), plan, record, before_register_replace_);
  add_to_dictionary(dictionary, record);
  return {cp932::decode(std::to_string(plan.code)), SoilCode::Origin::New};
}

}  // namespace lodemark
