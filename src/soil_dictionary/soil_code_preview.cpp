#include "soil_dictionary/soil_code_preview.h"

#include <vector>

#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "soil_dictionary/name_search.h"
#include "soil_dictionary/soil_records.h"
#include "soil_dictionary/user_codes.h"

namespace lodemark {

SoilCodePreview::SoilCodePreview(const ProgramPath& folder)
    : dictionary_path_(folder / kSoilDictionaryFile),
      register_path_(folder / kSoilNameRegisterFile),
      dictionary_(platform::read_all(dictionary_path_)),
      register_(platform::read_all(register_path_)) {}

SoilCodePreview::Answer SoilCodePreview::code_for(std::u32string_view soil_name) {
  const std::u32string key(soil_name);
  if (const auto known = answered_.find(key); known != answered_.end()) return known->second;
  Answer answer = look_up(soil_name);
  answered_.emplace(key, answer);
  return answer;
}

SoilCode SoilCodePreview::code_of(std::u32string_view soil_name) {
  const bool asked_before = answered_.contains(std::u32string(soil_name));
  SoilCode answer = code_for(soil_name);
  if (asked_before) answer.origin = Origin::Dictionary;
  return answer;
}

// The steps of SoilDictionary::code_for, with the copies in place of the files.
SoilCodePreview::Answer SoilCodePreview::look_up(std::u32string_view soil_name) {
  if (auto record = find_soil_record(dictionary_, dictionary_path_.text(), SoilNameMatcher(soil_name)))
    return {cp932::decode((*record)[0]), Origin::Dictionary};

  const std::u32string name = trim_spaces(soil_name);
  if (auto record = find_soil_record(register_, register_path_.text(), SoilNameMatcher(name))) {
    Answer answer{cp932::decode((*record)[0]), Origin::Register};
    append_dictionary_line(dictionary_, join_soil_record(*record));
    return answer;
  }

  check_writable(name, dictionary_path_);
  const std::vector<std::string_view> lines = split_lines(register_);
  const Insertion plan = plan_new_record(name, lines, dictionary_, dictionary_path_, register_, register_path_);
  const std::string record = created_record(plan.code, name);
  std::string new_register = register_with(lines, plan, record);
  register_.swap(new_register);
  append_dictionary_line(dictionary_, record);
  return {cp932::decode(std::to_string(plan.code)), Origin::New};
}

}  // namespace lodemark
