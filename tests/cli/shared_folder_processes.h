#pragma once
// Whole lodemark-cli processes against one pattern-data folder: generated
// source databases whose alternating layers name soils, the processes
// themselves, and the checks that the folder's dictionaries are consistent.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace lodemark::test {

// The alternating-layer name of pair `index` (0-224) of the fixed soil
// classes, and its source codes "1aabb".
std::string alternation_name(int index);

// A source database in `folder`: `names` (pair indices) as the layers of
// boreholes of `per_borehole` layers each, numbered from `prefix`, each with
// `values` depth values.
void write_database(const std::filesystem::path& folder, const std::string& prefix, const std::vector<int>& names,
                    int per_borehole, int values = 0);

// The files under a folder by their path relative to it, with their bytes;
// work files left by a killed run ("*.TMP.*") are left out.
std::map<std::string, std::string> files_under(const std::filesystem::path& folder);

// `lodemark-cli convert --all --yes` of one database, started and not waited
// for; its output goes to `log`.
ChildProcess start_conversion(const std::filesystem::path& source, const std::filesystem::path& destination,
                              const std::filesystem::path& pattern_data, const std::filesystem::path& log);

// A dictionary file read as records: every line must be whole (six fields,
// ended by CR LF); problems are listed in `faults`.
struct DictionaryLines {
  std::vector<std::string> lines;                   // as read, in UTF-8, without line ends
  std::multimap<std::string, std::string> by_code;  // code -> name
  std::multimap<std::string, std::string> by_name;  // name -> code
};
DictionaryLines read_dictionary(const std::filesystem::path& file, std::vector<std::string>& faults);

// Faults of the folder: records cut short, a code of two names, a name of
// two codes, a line of `register_before` missing, a dictionary record whose
// code the register gives to another name, a user dictionary that is not a
// copy of an earlier dictionary (`user_equals_dictionary`: of the final one).
std::vector<std::string> folder_faults(const std::filesystem::path& pattern_data,
                                       const std::vector<std::string>& register_before, bool user_equals_dictionary);

// Faults of the X1.txt files under `destination`: an alternating-layer code
// that the dictionary gives to another soil.
std::vector<std::string> layer_file_faults(const std::filesystem::path& destination,
                                           const std::filesystem::path& pattern_data);

}  // namespace lodemark::test
