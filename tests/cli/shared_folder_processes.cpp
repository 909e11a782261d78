#include "cli/shared_folder_processes.h"

#include <cstdio>
#include <set>
#include <stdexcept>

#include "base/utf8.h"
#include "kelmo/soil_classes.h"
#include "support/source_lines.h"
#include "support/test_support.h"

namespace lodemark::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceCodes[] = {"01", "02", "03", "04", "05", "06", "07", "08",
                                        "09", "10", "11", "20", "21", "30", "40"};
constexpr int kClasses = 15;

std::string class_name(int i) { return to_utf8(classify_soil(from_utf8(kSourceCodes[i])).name); }

std::string padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text.substr(0, width) : text + std::string(width - text.size(), ' ');
}

std::string right(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Splits at a separator.
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == separator)
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string alternation_name(int index) {
  return class_name(index / kClasses) + "と" + class_name(index % kClasses) + "の互層";
}

void write_database(const fs::path& folder, const std::string& prefix, const std::vector<int>& names, int per_borehole,
                    int values) {
  std::string catalogue, headers, layers, depth_values;
  const int boreholes = (static_cast<int>(names.size()) + per_borehole - 1) / per_borehole;
  for (int b = 0; b < boreholes; ++b) {
    const std::string key = padded(prefix + std::to_string(b), 8);
    catalogue += key + "20260401" + padded("HOLE" + std::to_string(b), 8) + "\r\n";
    const int first = b * per_borehole;
    const int count = std::min(per_borehole, static_cast<int>(names.size()) - first);
    headers += header_line(key, "40524604", "   12.50", "   20.00", "R6-0101 ", right(std::to_string(count), 3),
                           right(std::to_string(values), 3)) +
               "\r\n";
    for (int v = 0; v < values; ++v)
      depth_values +=
          value_line(key, right(std::to_string(v + 1) + ".5", 8), right(std::to_string(b % 50 + v), 3)) + "\r\n";
    for (int i = 0; i < count; ++i) {
      const int pair = names[static_cast<std::size_t>(first + i)];
      const std::string codes = std::string("1") + kSourceCodes[pair / kClasses] + kSourceCodes[pair % kClasses];
      layers += layer_line(key, right(std::to_string(i + 1) + ".0", 8), codes) + "\r\n";
    }
  }
  write_bytes(folder / "Rodev5.Dat", catalogue);
  write_bytes(folder / "Rodev1.Dat", headers);
  write_bytes(folder / "Rodev2.Dat", layers);
  write_bytes(folder / "Rodev3.Dat", depth_values);
}

std::map<std::string, std::string> files_under(const fs::path& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || native_text(entry.path().filename()).find(".TMP.") != std::string::npos) continue;
    out.emplace(native_text(entry.path().lexically_relative(folder)), read_bytes(entry.path()));
  }
  return out;
}

ChildProcess start_conversion(const fs::path& source, const fs::path& destination, const fs::path& pattern_data,
                              const fs::path& log) {
  return ChildProcess(native_path(LODEMARK_CLI),
                      {"convert", "--source", native_text(source), "--dest", native_text(destination), "--patdat",
                       native_text(pattern_data), "--yes", "--all"},
                      log);
}

DictionaryLines read_dictionary(const fs::path& file, std::vector<std::string>& faults) {
  DictionaryLines out;
  const std::string bytes = read_bytes(file);
  if (!bytes.empty() && !bytes.ends_with("\r\n"))
    faults.push_back(native_text(file.filename()) + ": last line cut short");
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = to_utf8(cp932::decode(bytes.substr(start, end - start)));
    start = end + 2;
    out.lines.push_back(line);
    const std::vector<std::string> fields = split(line, ',');
    if (fields.size() != 6) {
      faults.push_back(native_text(file.filename()) + ": not a whole record: " + line);
      continue;
    }
    out.by_code.emplace(fields[0], trimmed(fields[1]));
    out.by_name.emplace(trimmed(fields[1]), fields[0]);
  }
  return out;
}

std::vector<std::string> folder_faults(const fs::path& pattern_data, const std::vector<std::string>& register_before,
                                       bool user_equals_dictionary) {
  std::vector<std::string> faults;
  const DictionaryLines reg = read_dictionary(pattern_data / "XKISHITU.TXT", faults);
  const DictionaryLines dictionary = read_dictionary(pattern_data / "KISHITU.TXT", faults);
  read_dictionary(pattern_data / "VASUSER.TXT", faults);
  for (const auto& [code, name] : reg.by_code)
    if (reg.by_code.count(code) > 1) faults.push_back("register: code " + code + " has two names, one " + name);
  for (const auto& [name, code] : reg.by_name)
    if (reg.by_name.count(name) > 1) faults.push_back("register: name " + name + " has two codes, one " + code);
  const std::multiset<std::string> after(reg.lines.begin(), reg.lines.end());
  for (const std::string& line : register_before)
    if (!after.contains(line)) faults.push_back("register: line lost: " + line);
  for (const auto& [code, name] : dictionary.by_code) {
    if (code.size() != 4 || code >= "4000") continue;  // the target system's own codes
    const auto found = reg.by_code.find(code);
    if (found == reg.by_code.end() || found->second != name)
      faults.push_back("dictionary: " + code + " " + name + " is not so in the register");
  }
  const std::string dictionary_bytes = read_bytes(pattern_data / "KISHITU.TXT");
  const std::string user_bytes = read_bytes(pattern_data / "VASUSER.TXT");
  if (user_equals_dictionary ? user_bytes != dictionary_bytes : !dictionary_bytes.starts_with(user_bytes))
    faults.push_back("user dictionary is no copy of the dictionary");
  return faults;
}

std::vector<std::string> layer_file_faults(const fs::path& destination, const fs::path& pattern_data) {
  std::vector<std::string> faults;
  const DictionaryLines dictionary = read_dictionary(pattern_data / "KISHITU.TXT", faults);
  for (const auto& entry : fs::recursive_directory_iterator(destination)) {
    if (entry.path().filename() != "X1.txt") continue;
    for (const std::string& line : read_sjis_lines(entry.path())) {
      const std::vector<std::string> fields = split(line, ',');
      if (fields.size() != 4 || !fields[3].ends_with("の互層")) continue;
      const auto found = dictionary.by_code.find(trimmed(fields[2]));
      if (found == dictionary.by_code.end() || found->second != fields[3])
        faults.push_back(native_text(entry.path()) + ": " + line + " is another soil in the dictionary");
    }
  }
  return faults;
}

}  // namespace lodemark::test
