#pragma once
// One answer of a soil dictionary as text ("1003 new"), or its failure, so
// that the answers of the run and of the read-only preview compare as lists.
#include <functional>
#include <string>

#include "base/failure.h"
#include "base/utf8.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark::test {

inline std::string soil_code_outcome(const std::function<SoilCode()>& ask) {
  try {
    const SoilCode answer = ask();
    const char* origins[] = {"dictionary", "register", "new"};
    return to_utf8(answer.code) + " " + origins[static_cast<int>(answer.origin)];
  } catch (const Failure& failure) {
    return "failed: " + to_utf8(failure.message());
  }
}

}  // namespace lodemark::test
