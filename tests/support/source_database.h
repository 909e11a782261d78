#pragma once
// A small source database written line by line, and a check of it: what the
// tests of the source check spoil and look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/utf8.h"
#include "conversion/source_check.h"
#include "support/run_fixture.h"
#include "support/soil_dictionary_fixture.h"
#include "support/source_lines.h"
#include "support/test_support.h"

namespace lodemark::test {

// A header line with fixed texts for Titl02.txt.
inline std::string header(const std::string& key, const std::string& position, const std::string& layers,
                          const std::string& values) {
  return header_line(key, position, "f4......", "f5......", "f6......", layers, values);
}

// A small database, line by line; `raw` replaces a file's content (nullopt:
// no such file).
struct Database {
  std::vector<std::string> catalogue = {catalogue_record("B-1     "), catalogue_record("B-2     "),
                                        catalogue_record("B-3     ")};
  std::vector<std::string> headers = {header("B-1     ", "40524604", "  2", "  1"),
                                      header("B-2     ", "41000000", "  1", "  2"),
                                      header("B-3     ", "05053030", "  1", "  1")};
  std::vector<std::string> layers = {layer_line("B-1     ", "     1.5", " 01  "),
                                     layer_line("B-1     ", "    3.00", "10408"),  // in KISHITU.TXT
                                     layer_line("B-2     ", "     2.0", "10506"),  // in XKISHITU.TXT only
                                     layer_line("B-3     ", "    10.0", " 20  ")};
  std::vector<std::string> values = {value_line("B-1     ", "    1.00", "12"), value_line("B-2     ", "    1.00", " 5"),
                                     value_line("B-2     ", "    2.00", "07"),
                                     value_line("B-3     ", "    0.50", "10")};
  std::map<std::string, std::optional<std::string>> raw;

  void write(const TempDir& dir) const {
    const std::pair<const char*, const std::vector<std::string>*> files[] = {
        {"Rodev5.Dat", &catalogue}, {"Rodev1.Dat", &headers}, {"Rodev2.Dat", &layers}, {"Rodev3.Dat", &values}};
    for (const auto& [name, lines] : files) {
      const auto replaced = raw.find(name);
      if (replaced == raw.end()) {
        std::string bytes;
        for (const std::string& line : *lines) bytes += line + "\r\n";
        write_bytes(dir.native(std::string("db/") + name), bytes);
      } else if (replaced->second) {
        write_bytes(dir.native(std::string("db/") + name), *replaced->second);
      }
    }
  }
};

// What identifies a problem: rule, file, line, borehole.
using Found = std::tuple<std::string, std::string, std::uint32_t, std::string>;

inline std::vector<Found> found_in(const std::vector<Problem>& problems) {
  std::vector<Found> found;
  for (const Problem& p : problems)
    found.emplace_back(std::string(rule_info(p.rule).id), to_utf8(p.file), p.line, to_utf8(p.borehole));
  std::sort(found.begin(), found.end());
  return found;
}

inline std::string describe(const std::vector<Found>& found) {
  std::string out;
  for (const auto& [rule, file, line, borehole] : found)
    out += "  " + rule + " " + file + ":" + std::to_string(line) + " [" + borehole + "]\n";
  return out;
}

class SourceCheck : public ::testing::Test {
 protected:
  std::vector<Problem> check(const Database& db, const TempDir& dir, std::set<std::u32string> selection = {}) {
    db.write(dir);
    CheckRequest request;
    request.source_folder = ProgramPath(dir.program(U"db"));
    request.pattern_data_folder = patdat_;
    request.selection = std::move(selection);
    ProblemList list;
    check_source(request, list);
    return list.problems;
  }
  TempDir dir_;
  ProgramPath patdat_ = test::copy_sample_pattern_data(dir_);
};

inline std::string lines_joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string out;
  for (const auto& line : lines) out += line + end;
  return out;
}

}  // namespace lodemark::test
