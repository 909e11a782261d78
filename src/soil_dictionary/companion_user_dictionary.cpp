// The companion application's user dictionary and the settings read that
// finds it.
#include <algorithm>
#include <exception>
#include <optional>

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
  const std::string content = platform::read_all(source.text(), kMaxSoilDictionaryBytes);
  const std::u32string work_name = target.parts().back() + std::u32string(kWorkFileSuffix);
  platform::replace_file(target, content, {work_name, platform::OtherNames::Share, {}});
}

// The user dictionary's path: the settings name a file inside the
// pattern-data folder, so a name that leaves it (a part "..", a drive, a root
// or a network path) names none.
std::optional<ProgramPath> user_dictionary_path(const ProgramPath& folder, std::u32string_view name) {
  if (name.empty() || name.front() == U'\\' || name.front() == U'/' || name.find(U':') != std::u32string_view::npos)
    return std::nullopt;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find_first_of(U"\\/", start), name.size());
    // Parts of dots and blanks alone ("...", ".. ") go too: Windows may drop
    // a part's trailing dots and blanks.
    const std::u32string_view part = name.substr(start, end - start);
    if (part.find_first_not_of(U". ") == std::u32string_view::npos && std::count(part.begin(), part.end(), U'.') >= 2)
      return std::nullopt;
    start = end + 1;
  }
  return folder / name;
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
  const std::optional<ProgramPath> found = user_dictionary_path(folder_, name);
  if (!found) return;
  const ProgramPath& user_dictionary = *found;
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
