#pragma once
// The codes that a conversion would give soil names, worked out on copies of
// the dictionary and the register in memory: the files are read once and
// never written or locked, so other programs of the target system can go on
// using them.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/program_path.h"
#include "soil_dictionary/dictionary_cache.h"
#include "soil_dictionary/soil_name_coder.h"
#include "soil_dictionary/user_codes.h"

namespace lodemark {

class SoilCodePreview : public SoilNameCoder {
 public:
  using Origin = SoilCode::Origin;
  using Answer = SoilCode;

  // Reads KISHITU.TXT and XKISHITU.TXT of the pattern-data folder. Throws
  // platform::FileError when one cannot be read.
  explicit SoilCodePreview(const ProgramPath& folder);

  // What SoilDictionary::code_for would answer for the name, had it been
  // called for every name asked here before, in the same order: a name new to
  // both files takes the next user code in the copies, so several new names
  // get successive codes. Throws Failure where code_for would fail (a record
  // cut short, a name that cannot be written, no user code left).
  Answer code_for(std::u32string_view soil_name);
  // The same, with the origin the dictionary would give at this call: a name
  // asked before is in KISHITU.TXT by now.
  SoilCode code_of(std::u32string_view soil_name) override;

 private:
  Answer look_up(std::u32string_view soil_name);

  ProgramPath dictionary_path_;
  ProgramPath register_path_;
  // The copies, indexed by name as the run indexes the files it reads again.
  SoilFileCache dictionary_;
  // The register as read: a new record is not inserted here, only kept in
  // `created_` (no other name matches it, and the planner already counts it).
  SoilFileCache register_;
  std::optional<UserCodePlanner> planner_;
  // The record of each new name, as the register would hold it.
  std::unordered_map<std::u32string, std::string> created_;
  // Every name answered so far: its answer cannot change, since the copies
  // only grow at places after the record that answered it.
  std::unordered_map<std::u32string, Answer> answered_;
};

}  // namespace lodemark
