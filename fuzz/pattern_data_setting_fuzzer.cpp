// The settings file ZidereV5.ini in the system folder (the scratch folder's,
// Scratch::settings_file): read_pattern_data_setting and the start-up check
// on the input as the file, then a setting written over it.
#include <optional>
#include <string>
#include <string_view>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "conversion/pattern_data_setting.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/program_paths.h"

namespace lodemark::fuzz {
namespace {

class CountingBoxes : public MessageBoxes {
 public:
  int shown = 0;
  std::u32string last;
  BoxAnswer show_message(std::u32string_view text, BoxStyle, std::u32string_view) override {
    ++shown;
    last = text;
    return BoxAnswer::Ok;
  }
};

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Scratch& scratch = Scratch::get();
  const std::string& file = scratch.settings_file();
  scratch.write(file, bytes);

  const std::u32string setting = read_pattern_data_setting();
  if (bytes.empty()) {
    check(!scratch.exists(file), "an empty settings file is removed");
    scratch.write(file, bytes);
  } else {
    check(scratch.read(file) == bytes, "reading leaves the settings file as it was");
  }
  check(setting.empty() || (setting.front() != U' ' && setting.back() != U' '), "the setting is trimmed");
  check(setting.find(U'\r') == std::u32string::npos, "the setting is one line");
  check(cp932::encode(setting).size() <= bytes.size(), "the setting comes out of the file");
  if (bytes.find('\r') == std::string_view::npos) check(setting.empty(), "a file of one line has no setting");

  CountingBoxes boxes;
  const std::optional<ProgramPath> folder = load_pattern_data_folder(boxes);
  if (folder) {
    check(boxes.shown == 0, "a folder that is found is shown without a message");
    // A setting with a drive is the folder as it stands; one without is
    // taken from the working folder and is absolute from then on.
    const bool absolute = platform::normal_program_path(setting).has_value();
    check(absolute ? folder->text() == setting : platform::normal_program_path(folder->text()).has_value(),
          "the folder is the setting, or the setting taken from the working folder");
  } else {
    check(boxes.shown == 1 && boxes.last == kNoPatternDataSetting, "a missing folder is one message");
  }

  // A setting written over whatever the file holds is read back as written,
  // line 1 kept; or it is refused and the file stays as it was.
  const bool present = scratch.exists(file);
  const std::string before = present ? scratch.read(file) : std::string();
  const std::u32string value = U"C:\\新しい,PATDAT\\";
  try {
    write_pattern_data_setting(value);
    check(read_pattern_data_setting() == value, "a setting written is read back as written");
    check(before.empty() || scratch.read(file).starts_with(before.substr(0, before.find('\r'))), "line 1 is kept");
  } catch (const platform::FileError&) {
    check(present ? scratch.read(file) == before : !scratch.exists(file), "a refused write changes nothing");
  }
  return 0;
}
