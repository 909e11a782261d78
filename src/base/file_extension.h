#pragma once
// A file's format by the extension of its name, in any case ("B-101.PNG",
// "report.Json"): one rule for every file the user names.
#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace lodemark {

// Whether the name ends with the extension (".svg", in lower case), its
// ASCII letters in any case.
bool has_extension(std::u32string_view file_name, std::u32string_view extension);

// The format whose extension the name ends with; nothing for none.
template <typename Format, std::size_t N>
std::optional<Format> format_of_file(std::u32string_view file_name,
                                     const std::array<std::pair<Format, std::u32string_view>, N>& extensions) {
  for (const auto& [format, extension] : extensions)
    if (has_extension(file_name, extension)) return format;
  return std::nullopt;
}

}  // namespace lodemark
