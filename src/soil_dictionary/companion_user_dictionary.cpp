// The companion application's user dictionary and the settings read that
// finds it.
#include <exception>

#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/private_profile.h"
#include "platform/replace_file.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {
namespace {

// Room of the settings read: 254 bytes of value and the terminator.
constexpr std::size_t kValueBuffer = 255;

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// A value cut at the buffer's end may end with the first byte of a
// two-byte character; that half character is dropped.
std::string whole_characters(std::string bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (is_lead_byte(static_cast<unsigned char>(bytes[i]))) {
      if (i + 1 == bytes.size()) {
        bytes.pop_back();
        break;
      }
      i += 2;
    } else {
      ++i;
    }
  }
  return bytes;
}

// Replaces the content of `target` by that of `source` through a private
// work file, so that a failed copy leaves `target` as it was. A user
// dictionary with other names (hard links) is written over in place, so
// that every name sees the new content.
void replace_content(const ProgramPath& source, const ProgramPath& target) {
  const std::string content = platform::read_all(source.text());
  const std::u32string work_name = target.parts().back() + std::u32string(kWorkFileSuffix);
  platform::replace_file(target, content, {work_name, platform::OtherNames::Share, {}});
}

}  // namespace

std::u32string read_ini_value(std::u32string_view section, std::u32string_view key, const ProgramPath& file) {
  try {
    if (!platform::is_file(file.text())) return {};
    if (platform::file_size(file.text()) == 0) return {};
    const std::string value =
        platform::get_private_profile_string(cp932::encode(section), cp932::encode(key), "", file.text(), kValueBuffer);
    return trim_trailing_spaces(cp932::decode(whole_characters(value)));
  } catch (const std::exception&) {
    return {};
  }
}

void SoilDictionary::refresh_companion_user_dictionary() const {
  try {
    const auto held = platform::FileLock::acquire(dictionary_path_, lock_wait_);
    if (held) copy_to_user_dictionary();
  } catch (const std::exception&) {
    // As for a failed copy: the user dictionary stays as it was.
  }
}

void SoilDictionary::copy_to_user_dictionary() const {
  const std::u32string name = read_ini_value(U"USER", U"USER", folder_ / kCompanionSettingsFile);
  if (name.empty()) return;
  const ProgramPath user_dictionary = folder_ / name;
  if (platform::file_size(user_dictionary.text()) < 1) return;
  try {
    // In use by the companion application: leave it alone.
    if (!platform::can_open_read_write(user_dictionary.text())) return;
    replace_content(folder_ / kSoilDictionaryFileAsCopied, user_dictionary);
  } catch (const std::exception&) {
    // The rewrite is a courtesy to the companion application; a failure
    // leaves its dictionary as it was and the conversion goes on.
  }
}

}  // namespace lodemark
