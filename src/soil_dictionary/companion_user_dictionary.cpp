// The companion application's user dictionary and the settings read that
// finds it.
#include <exception>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/private_profile.h"
#include "soil_dictionary/soil_dictionary.h"
#include "base/program_state.h"
#include "base/text.h"
#include "platform/files.h"

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

// Replaces the content of `target` by that of `source` through a work file,
// so that a failed copy leaves `target` as it was.
void replace_content(const std::u32string& source, const std::u32string& target) {
  const std::string content = platform::read_all(source);
  const std::u32string work = target + U".TMP";
  try {
    platform::FileWriter out(work, platform::FileWriter::Mode::Create);
    out.write(content);
    out.sync();
    out.close();
    platform::rename_file(work, target);
  } catch (...) {
    if (platform::is_file(work)) platform::remove_file(work);
    throw;
  }
}

}  // namespace

std::u32string read_ini_value(std::u32string_view strSect, std::u32string_view strEnt,
                                std::u32string_view vstrFN) {
  try {
    if (!platform::is_file(vstrFN)) return {};
    if (platform::file_size(vstrFN) == 0) return {};
    const std::string value = platform::get_private_profile_string(cp932::encode(strSect), cp932::encode(strEnt),
                                                                   "", vstrFN, kValueBuffer);
    return trim_trailing_spaces(cp932::decode(whole_characters(value)));
  } catch (const std::exception&) {
    return {};
  }
}

void refresh_companion_user_dictionary() {
  const std::u32string folder = PatdatFolder;
  const std::u32string name = read_ini_value(U"USER", U"USER", folder + U"Vaskor.ini");
  if (name.empty()) return;
  const std::u32string user_dictionary = folder + name;
  if (platform::file_size(user_dictionary) < 1) return;
  try {
    // In use by the companion application: leave it alone.
    if (!platform::can_open_read_write(user_dictionary)) return;
    replace_content(folder + U"Kishitu.txt", user_dictionary);
  } catch (const std::exception&) {
    // The rewrite is a courtesy to the companion application; a failure
    // leaves its dictionary as it was and the conversion goes on.
  }
}

}  // namespace lodemark
