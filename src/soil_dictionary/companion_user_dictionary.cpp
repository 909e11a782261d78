// The companion application's user dictionary and the settings read that
// finds it.
#include "soil_dictionary/companion_user_dictionary.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <optional>

#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "platform/file_identity.h"
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
void replace_content(const ProgramPath& source, const ProgramPath& target, const std::function<void()>& before_rename) {
  const std::string content = platform::read_all(source.text(), kMaxSoilDictionaryBytes);
  const std::u32string work_name = target.parts().back() + std::u32string(kWorkFileSuffix);
  platform::replace_file(target, content, {work_name, platform::OtherNames::Share, before_rename});
}

// The settings name a file inside the pattern-data folder, so a name that
// leaves it (a part "..", a drive, a root or a network path) names none.
bool leaves_by_name(std::u32string_view name) {
  if (name.front() == U'\\' || name.front() == U'/' || name.find(U':') != std::u32string_view::npos) return true;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find_first_of(U"\\/", start), name.size());
    // Parts of dots and blanks alone ("...", ".. ") go too: Windows may drop
    // a part's trailing dots and blanks.
    const std::u32string_view part = name.substr(start, end - start);
    if (part.find_first_not_of(U". ") == std::u32string_view::npos && std::count(part.begin(), part.end(), U'.') >= 2)
      return true;
    start = end + 1;
  }
  return false;
}

std::u32string upper_ascii(std::u32string_view text) {
  std::u32string upper(text);
  for (char32_t& c : upper)
    if (c >= U'a' && c <= U'z') c -= U'a' - U'A';
  return upper;
}

// The files that the folder's own programs keep there.
constexpr std::array kFolderFiles{kSoilDictionaryFile,    kSoilDictionaryFileAsCopied, kSoilNameRegisterFile,
                                  kCompanionSettingsFile, kSoilNameRegisterWorkFile,   kUserCopyDueFile};

// A work file: "<name>.TMP.<process>.<random>".
bool is_work_file_name(std::u32string_view upper) {
  const std::size_t tmp = upper.rfind(U".TMP.");
  if (tmp == std::u32string_view::npos) return false;
  const std::u32string_view tail = upper.substr(tmp + 5);
  const std::size_t dot = tail.find(U'.');
  const auto digits = [](std::u32string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char32_t c) { return c >= U'0' && c <= U'9'; });
  };
  return dot != std::u32string_view::npos && digits(tail.substr(0, dot)) && digits(tail.substr(dot + 1));
}

// Writing the user dictionary would replace one of the folder's own files:
// by name (in any case, work files too) where it lies in the folder itself,
// and by identity (links, hard links, case aliases) anywhere. `in_folder`: the
// name has no folder part.
bool is_folder_file(const ProgramPath& folder, const ProgramPath& path, bool in_folder) {
  // Only the files that stay are compared by identity (each costs a file
  // opened); the work files and the record come and go, and go by name.
  if (const auto identity = platform::file_identity(path)) {
    for (const std::u32string_view own : {kSoilDictionaryFile, kSoilNameRegisterFile, kCompanionSettingsFile})
      if (platform::file_identity(folder / own) == identity) return true;
  }
  const std::u32string& text = path.text();
  const std::size_t separator = text.rfind(ProgramPath::kSeparator);
  if (!in_folder && !platform::same_entry(ProgramPath(text.substr(0, separator)), folder)) return false;
  const std::u32string name = upper_ascii(std::u32string_view(text).substr(separator + 1));
  for (const std::u32string_view own : kFolderFiles) {
    const std::u32string own_upper = upper_ascii(own);
    if (name == own_upper || name.starts_with(own_upper + U'.')) return true;
  }
  return is_work_file_name(name);
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

UserDictionarySetting user_dictionary_setting(const ProgramPath& folder) {
  UserDictionarySetting setting;
  setting.name = read_ini_value(U"USER", U"USER", folder / kCompanionSettingsFile);
  if (setting.name.empty()) return setting;
  const ProgramPath path = folder / setting.name;
  const bool in_folder = setting.name.find_first_of(U"\\/") == std::u32string::npos;
  // A folder of the name may be a link to elsewhere: where it leads counts.
  if (leaves_by_name(setting.name) || (!in_folder && !platform::held_inside(path, folder)))
    setting.refusal = UserDictionaryRefusal::LeavesFolder;
  else if (is_folder_file(folder, path, in_folder))
    setting.refusal = UserDictionaryRefusal::FolderFile;
  else
    setting.path = path;
  return setting;
}

bool user_copy_due(const ProgramPath& folder) {
  return platform::entry_kind(folder / kUserCopyDueFile) != platform::EntryKind::Missing;
}

void SoilDictionary::refresh_companion_user_dictionary() const {
  try {
    const auto held = platform::FileLock::acquire(dictionary_path_, lock_wait_);
    if (held) copy_to_user_dictionary(user_dictionary_to_copy(), user_copy_due(folder_));
  } catch (const std::exception&) {
    // As for a failed copy: the user dictionary stays as it was.
  }
}

void SoilDictionary::complete_due_copy() const {
  if (!user_copy_due(folder_)) return;
  try {
    // The run that left the record may still hold the lock and finish the
    // copy itself: asked again once the lock is held.
    const auto held = platform::FileLock::acquire(dictionary_path_, lock_wait_);
    if (held && user_copy_due(folder_)) copy_to_user_dictionary(user_dictionary_to_copy(), true);
  } catch (const std::exception&) {
    // The copy stays due.
  }
}

std::optional<ProgramPath> SoilDictionary::user_dictionary_to_copy() const {
  try {
    const std::optional<ProgramPath> found = user_dictionary_setting(folder_).path;
    if (found && platform::file_size(found->text()) >= 1) return found;
  } catch (const std::exception&) {
    // Nothing is copied where the setting cannot be read.
  }
  return std::nullopt;
}

bool SoilDictionary::mark_copy_due() const {
  // Whatever stands at the name already (even a link to nowhere) is left as
  // it is and counts as the record.
  if (user_copy_due(folder_)) return true;
  try {
    // An empty file: it is there or not, whenever the run stops.
    platform::FileWriter(folder_ / kUserCopyDueFile, platform::FileWriter::Mode::Create).close();
    return true;
  } catch (const std::exception&) {
    // A folder that takes no new file still gets the copy.
    return false;
  }
}

void SoilDictionary::copy_to_user_dictionary(const std::optional<ProgramPath>& user_dictionary, bool due) const {
  try {
    // In use by the companion application: the copy stays due.
    if (user_dictionary && !platform::can_open_read_write(user_dictionary->text())) return;
    if (user_dictionary)
      replace_content(folder_ / kSoilDictionaryFileAsCopied, *user_dictionary, before_user_copy_replace_);
    // Also when there is nothing to copy to: nothing is due any more.
    if (due) platform::remove_file(folder_ / kUserCopyDueFile);
  } catch (const std::exception&) {
    // The rewrite is a courtesy to the companion application; a failure
    // leaves its dictionary as it was, due a copy, and the conversion goes on.
  }
}

}  // namespace lodemark
