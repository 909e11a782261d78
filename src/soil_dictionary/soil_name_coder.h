#pragma once
// What the layer file asks of a soil dictionary: the code of a soil name, and
// where it came from. The run's SoilDictionary answers from the files (and
// extends them); a dry run's SoilCodePreview answers from copies in memory.
#include <string>
#include <string_view>

namespace lodemark {

struct SoilCode {
  // Dictionary: found in KISHITU.TXT, nothing changes. Register: found in
  // XKISHITU.TXT and appended to KISHITU.TXT. New: a new user code added to
  // both.
  enum class Origin { Dictionary, Register, New };
  std::u32string code;
  Origin origin = Origin::Dictionary;
};

class SoilNameCoder {
 public:
  virtual ~SoilNameCoder() = default;
  virtual SoilCode code_of(std::u32string_view soil_name) = 0;
};

}  // namespace lodemark
