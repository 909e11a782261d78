#pragma once
// Large, realistic source databases and pattern-data folders for timing a
// conversion. The same options always give the same bytes.
#include <cstdint>
#include <filesystem>
#include <string>

namespace lodemark::bench {

struct GenOptions {
  std::int64_t boreholes = 10000;
  std::uint64_t seed = 1;
  // Records of the soil dictionary (and about as many in the register).
  int dictionary_records = 5000;
  // Put before each borehole number (ASCII); a letter here makes every
  // borehole folder a name that path mapping must match without regard to case.
  std::string key_prefix{};
  std::filesystem::path out;  // gets database/ and patdat/
};

struct GenSummary {
  std::int64_t boreholes = 0;
  std::int64_t layer_lines = 0;
  std::int64_t alternating_layers = 0;
  std::int64_t depth_value_lines = 0;
  int dictionary_records = 0;
  int register_records = 0;
  // Alternation names placed in the dictionary, in the register only.
  int alternations_in_dictionary = 0;
  int alternations_in_register_only = 0;
};

// Fixed layout of the generated folders.
inline constexpr const char* kDatabaseFolder = "database";
inline constexpr const char* kPatdatFolder = "patdat";
inline constexpr const char* kUserDictionaryName = "USERJISYO.TXT";

// Writes OUT/database/Rodev{1,2,3,5}.Dat and OUT/patdat/{KISHITU.TXT,
// XKISHITU.TXT, Vaskor.ini, USERJISYO.TXT}, replacing files of those names.
// Throws std::runtime_error when a file cannot be written.
GenSummary generate(const GenOptions& options);

}  // namespace lodemark::bench
