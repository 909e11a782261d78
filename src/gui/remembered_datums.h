#pragma once
// The datum a user last chose for each source folder, kept in the user's own
// settings file (platform::user_settings_file), never in ZidereV5.ini: the
// database does not say its datum, so the window asks once per folder and
// offers the answer again. Lines it does not understand are kept as they
// are; a file that cannot be read or written leaves the window asking.
#include <optional>
#include <string>
#include <string_view>

#include "base/geodesy.h"
#include "base/program_path.h"

namespace lodemark {

class RememberedDatums {
 public:
  explicit RememberedDatums(ProgramPath file);

  // The datum remembered for the folder (a program path), if any.
  std::optional<Datum> datum_for(std::u32string_view source_folder) const;
  // Remembers it, the file replaced whole. Throws Failure when it cannot be
  // written (the caller says so and goes on).
  void remember(std::u32string_view source_folder, Datum datum);

 private:
  ProgramPath file_;
};

}  // namespace lodemark
