// The catalogue Rodev5.Dat: read_catalogue on the input as the file, against
// a plain model of the record rule.
#include <string>
#include <string_view>
#include <vector>

#include "base/file_names.h"
#include "base/utf8.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "rodev/catalogue.h"

namespace lodemark::fuzz {
namespace {

// Every line of exactly 24 bytes is a record, as long as the first line is
// one; the entry shows bytes 1-8, four spaces and bytes 17-24.
std::vector<std::u32string> expected_texts(std::string_view bytes) {
  std::vector<std::u32string> texts;
  const std::vector<std::string_view> lines = lines_of(bytes);
  if (lines.empty() || lines.front().size() != 24) return texts;
  for (std::string_view line : lines) {
    if (line.size() != 24) continue;
    texts.push_back(cp932::decode(std::string(line.substr(0, 8)) + "    " + std::string(line.substr(16, 8))));
  }
  return texts;
}

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Scratch& scratch = Scratch::get();
  scratch.write(to_utf8(kCatalogueFile), bytes);

  const std::vector<CatalogueEntry> entries = read_catalogue(scratch.program());
  const std::vector<std::u32string> expected = expected_texts(bytes);
  check(entries.size() == expected.size(), "one entry per 24-byte line, none when the first line is not one");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CatalogueEntry& entry = entries[i];
    check(entry.display_text() == expected[i], "the entry shows bytes 1-8, four spaces and bytes 17-24");
    check(cp932::encode(entry.display_text()).size() <= 20, "the list text encodes to at most 20 bytes");
    check(entry.number().size() <= 8 && entry.name().size() <= 8, "number and name take at most 8 characters");
    check(entry.folder_name().size() <= entry.number().size(), "the folder name is the number trimmed");
  }
  // Reading leaves the catalogue as it was.
  check(scratch.read(to_utf8(kCatalogueFile)) == bytes, "the catalogue is unchanged");
  return 0;
}
