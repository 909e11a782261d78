#pragma once
// Looking a soil name up in a dictionary file: the first record whose name
// field equals the name.
#include <optional>
#include <string>
#include <string_view>

#include "target/soil_records.h"

namespace lodemark {

// Whether a record's name field (its code page 932 bytes) equals the name.
class SoilNameMatcher {
 public:
  explicit SoilNameMatcher(std::u32string_view name);
  bool matches(std::string_view field) const {
    // An empty name is never a match.
    if (name_.empty()) return false;
    if (representable_ && field.size() != encoded_.size()) return false;
    return (representable_ && field == encoded_) || decoded_match(field);
  }

 private:
  bool decoded_match(std::string_view field) const;

  std::u32string name_;
  std::string encoded_;
  bool representable_;
};

// The first record of the file whose name matches. The whole file is read,
// so that a record cut short at its end is reported (Failure naming `path`)
// wherever the name stands.
std::optional<SoilRecord> Find_Soil_Record(std::string_view content, std::u32string_view path,
                                           const SoilNameMatcher& matcher);

}  // namespace lodemark
