// The check in steps: what its reading of the catalogue hands on.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "conversion/source_check.h"
#include "rodev/catalogue.h"
#include "support/source_lines.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::catalogue_record;
using test::crlf;
using test::sjis;
using test::TempDir;
using test::write_bytes;

// The list that the check hands on as it reads the catalogue is the list
// that the window and `lodemark-cli list` read with CatalogueReader.
TEST(SourceCheckList, HandsOnTheEntriesOfTheBoreholeList) {
  const struct {
    const char* name;
    std::optional<std::string> catalogue;  // nullopt: no file
  } rows[] = {
      {"records", crlf({catalogue_record("B-1     "), catalogue_record("B-2     ", sjis("新宿一号"))})},
      {"a heading first", crlf({"Borehole catalogue", catalogue_record("B-1     ")})},
      {"lines of other lengths between",
       crlf({catalogue_record("B-1     "), "B-2", "", catalogue_record("B-3     ") + " "})},
      {"a number listed twice", crlf({catalogue_record("B-1     "), catalogue_record("B-1     ")})},
      {"a CR alone ends a line", catalogue_record("B-1     ") + "\r" + catalogue_record("B-2     ")},
      {"no line end at the end", catalogue_record("B-1     ")},
      {"LF line ends", catalogue_record("B-1     ") + "\n" + catalogue_record("B-2     ") + "\n"},
      {"a later line with an LF", crlf({catalogue_record("B-1     "), catalogue_record("B-2") + "\n"})},
      {"an LF inside the first record", crlf({"B-1    \n20260401NAME    ", catalogue_record("B-2     ")})},
      {"empty", ""},
      {"missing", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    std::filesystem::create_directories(dir.native("db"));
    if (row.catalogue) write_bytes(dir.native("db/Rodev5.Dat"), *row.catalogue);
    CheckRequest request;
    request.source_folder = ProgramPath(dir.program(U"db"));
    SourceCheck check(request);
    ProblemList problems;
    std::vector<std::u32string> listed;
    check.check_catalogue(problems, [&](CatalogueEntry entry) { listed.push_back(entry.display_text()); });
    std::vector<std::u32string> read;
    for (const CatalogueEntry& entry : read_catalogue(request.source_folder)) read.push_back(entry.display_text());
    EXPECT_EQ(listed, read);
  }
}

}  // namespace
}  // namespace lodemark
