// The companion's settings file Vaskor.ini: the private-profile reader with a
// fuzzed section, key and buffer size, and read_ini_value as the dictionary
// asks it. The input is one byte of buffer size, then section, key and file
// apart by kPartSeparator.
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/private_profile.h"
#include "soil_dictionary/soil_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  if (size < 1) return 0;
  const std::size_t buffer_size = data[0];
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), 3);
  const std::string_view content = parts[2];
  const Scratch& scratch = Scratch::get();
  scratch.write("Vaskor.ini", content);
  const ProgramPath path = scratch.program() / U"Vaskor.ini";

  constexpr std::string_view kFallback = "(fallback)";
  const std::string value =
      platform::get_private_profile_string(parts[0], parts[1], kFallback, path.text(), buffer_size);
  check(buffer_size > 0 ? value.size() < buffer_size : value.empty(), "the value fits the buffer");
  check(kFallback.substr(0, value.size()) == value || content.find(value) != std::string_view::npos,
        "the value is the fallback or comes out of the file");
  check(value.find('\n') == std::string::npos, "the value is one line");

  const std::u32string user = read_ini_value(U"USER", U"USER", path);
  check(user.empty() || user.back() != U' ', "the value has no trailing spaces");
  check(cp932::encode(user).size() <= 254, "the value fits the 255-byte buffer");
  check(user.find(U'\n') == std::u32string::npos, "the value is one line");
  check(scratch.read("Vaskor.ini") == content, "reading leaves the file as it was");
  return 0;
}
