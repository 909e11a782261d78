#pragma once
// The soil-dictionary tests' fixture: a pattern-data folder with a
// dictionary, a register, companion settings and a user dictionary.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "soil_dictionary/soil_dictionary.h"
#include "support/dictionary_fixture.h"

namespace lodemark::test {

// Every file of a folder with its bytes.
inline std::map<std::string, std::string> folder_content(const std::filesystem::path& folder) {
  std::map<std::string, std::string> content;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    content[native_text(entry.path().filename())] = read_bytes(entry.path());
  return content;
}

// A record as this program writes it.
inline std::string created(std::string_view code, std::string_view name) {
  return sjis(std::string(code) + "," + std::string(name) + ",    ,    ,    ,0000\r\n");
}

inline const std::string kSystemLines = created("4501", "腐植土") + created("5000", "玉石混じり砂礫");

class SoilDictionaryTest : public PatternDataTest {
 protected:
  // Dictionary, register, companion settings naming "USER.DIC", and the
  // user dictionary itself.
  void set_up_files(const std::string& dictionary, const std::string& register_lines) {
    write_bytes(file("KISHITU.TXT"), dictionary);
    write_bytes(file("XKISHITU.TXT"), register_lines);
    write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=USER.DIC\r\n");
    write_bytes(file("USER.DIC"), "old user dictionary\r\n");
  }

  // A lookup by a dictionary of its own, as the first of a run.
  std::u32string convert(std::string_view utf8_name) { return SoilDictionary(folder()).code_for(from_utf8(utf8_name)); }
  std::u32string path_of(std::u32string_view name) const { return (folder() / name).text(); }

  std::string dictionary() const { return read_bytes(file("KISHITU.TXT")); }
  std::string register_lines() const { return read_bytes(file("XKISHITU.TXT")); }
  std::string user_dictionary() const { return read_bytes(file("USER.DIC")); }
  // The work files in the folder (".TMP" in their names).
  std::vector<std::string> work_files() const {
    std::vector<std::string> out;
    for (const std::string& name : folder_entries(pattern_data()))
      if (name.find(".TMP") != std::string::npos) out.push_back(name);
    return out;
  }
};

}  // namespace lodemark::test
