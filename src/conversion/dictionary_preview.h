#pragma once
// A dictionary that is only read: the copies of SoilCodePreview, read when
// the first alternating layer asks, as the run's would be, and never
// written. A dry run and the preview code their names with it.
#include <optional>
#include <string_view>
#include <utility>

#include "base/program_path.h"
#include "soil_dictionary/soil_code_preview.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark {

class DictionaryPreview : public SoilNameCoder {
 public:
  // `read`: the copies when they were read already.
  explicit DictionaryPreview(ProgramPath folder, std::optional<SoilCodePreview> read = std::nullopt)
      : folder_(std::move(folder)), preview_(std::move(read)) {}
  SoilCode code_of(std::u32string_view soil_name) override {
    if (!preview_) preview_.emplace(folder_);
    return preview_->code_of(soil_name);
  }

 private:
  ProgramPath folder_;
  std::optional<SoilCodePreview> preview_;
};

}  // namespace lodemark
