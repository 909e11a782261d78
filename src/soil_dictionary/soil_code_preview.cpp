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
    : dictionary_path_(folder / kSoilDictionaryFile), register_path_(folder / kSoilNameRegisterFile) {
  dictionary_.hold(platform::read_all(dictionary_path_, kMaxSoilDictionaryBytes));
  register_.hold(platform::read_all(register_path_, kMaxSoilDictionaryBytes));
}

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
  if (auto record = dictionary_.find(soil_name, dictionary_path_))
    return {cp932::decode(code_text((*record)[0])), Origin::Dictionary};

  const std::u32string name = trim_spaces(soil_name);
  if (auto record = register_.find(name, register_path_)) {
    Answer answer{cp932::decode(code_text((*record)[0])), Origin::Register};
    dictionary_.append_line(join_soil_record(*record));
    return answer;
  }
  if (const auto created = created_.find(name); created != created_.end()) {
    SoilRecord record;
    SoilRecordReader(created->second, register_path_.text()).next(record);
    dictionary_.append_line(join_soil_record(record));
    return {cp932::decode(code_text(record[0])), Origin::Register};
  }

  check_writable(name, dictionary_path_);
  if (!planner_) planner_.emplace(dictionary_.content(), dictionary_path_, register_.content(), register_path_);
  const Insertion plan = planner_->plan(name, register_path_);
  std::string record = created_record(plan.code, name);
  planner_->written(plan);
  dictionary_.append_line(record);
  created_.emplace(name, std::move(record));
  return {cp932::decode(std::to_string(plan.code)), Origin::New};
}

}  // namespace lodemark
