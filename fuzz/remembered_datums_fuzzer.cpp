// The user's settings file of remembered datums, as the window reads and
// rewrites it. The input is the source folder, then the file, apart by
// kPartSeparator.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/utf8.h"
#include "fuzz_support.h"
#include "gui/remembered_datums.h"

namespace {

// Lines end at LF, any CR before it kept: lines not understood are written
// back byte for byte.
std::vector<std::string> settings_lines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data), size), 2);
  const std::u32string folder = from_utf8(parts[0]);
  const std::string key = to_utf8(folder);
  const Scratch& scratch = Scratch::get();
  scratch.write("user-settings.txt", parts[1]);
  RememberedDatums remembered(scratch.program() / U"user-settings.txt");

  (void)remembered.datum_for(folder);
  check(scratch.read("user-settings.txt") == parts[1], "reading leaves the file as it was");
  try {
    remembered.remember(folder, Datum::Tokyo);
  } catch (const Failure&) {
    return 0;  // said to the user; the file is left as it was
  }
  if (key.find_first_of("\r\n") != std::string::npos) return 0;  // not remembered, by design
  check(remembered.datum_for(folder) == Datum::Tokyo, "the datum just remembered is read back");
  const std::vector<std::string> after = settings_lines(scratch.read("user-settings.txt"));
  const std::string ours_prefix = "\t" + key;
  for (const std::string& line : settings_lines(parts[1])) {
    // A line of the folder itself is replaced; every other line is kept.
    const std::string_view read = std::string_view(line).substr(0, line.size() - (line.ends_with('\r') ? 1 : 0));
    const std::size_t tab = read.find('\t');
    const bool of_folder = tab != std::string_view::npos && read.substr(tab) == ours_prefix &&
                           datum_named(read.substr(0, tab)).has_value();
    if (!of_folder)
      check(std::find(after.begin(), after.end(), line) != after.end(), "a line of another folder is kept");
  }
  return 0;
}
