#pragma once
// Lines in the fixed-width layouts of the three source data files. Text is
// taken as bytes (ASCII, or code page 932 the caller encoded); the columns
// the reader skips hold filler, not blanks, so that a misplaced cut shows.
#include <initializer_list>
#include <string>

namespace lodemark::test {

// Rodev5.Dat: number (8), 8 unused bytes, name (8).
inline std::string catalogue_record(const std::string& number, const std::string& name = "NAME    ") {
  return number + "20260401" + name;
}
// Rodev1.Dat: number, position (8), fields 4 to 6, layer and value counts (3 each).
inline std::string header_line(const std::string& key, const std::string& position, const std::string& f4,
                               const std::string& f5, const std::string& f6, const std::string& layers,
                               const std::string& values) {
  return key + position + std::string(19, '.') + f4 + f5 + f6 + std::string(6, '.') + layers + values;
}
// Rodev2.Dat: number, depth (8), flag and codes.
inline std::string layer_line(const std::string& key, const std::string& depth, const std::string& codes) {
  return key + "abc" + depth + std::string(11, '.') + codes;
}
// Rodev3.Dat: number, depth (8), value.
inline std::string value_line(const std::string& key, const std::string& depth, const std::string& value) {
  return key + "abc" + depth + value;
}

// The lines, each followed by CR LF.
inline std::string crlf(std::initializer_list<std::string> lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

}  // namespace lodemark::test
