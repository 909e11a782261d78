#include "cli/cli_window.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "rodev/catalogue.h"
#include "support/test_support.h"
#include "base/failure.h"
#include "base/utf8.h"

namespace lodemark::cli {
namespace {

using lodemark::test::TempDir;
using lodemark::test::write_bytes;

std::string record(int i) {
  std::string number = "H" + std::to_string(i);
  number.resize(8, ' ');
  return number + "unused!!" + "NAME" + std::to_string(i % 10) + "   ";
}

std::string catalogue(int records) {
  std::string bytes = record(0) + "\r\n";
  for (int i = 1; i < records; ++i) bytes += (i % 3 ? "short line\r\n" : "") + record(i) + "\r\n";
  return bytes;
}

class CliWindowTest : public ::testing::Test {
 protected:
  CliWindow window(int count, std::optional<std::vector<bool>> selected = std::nullopt) {
    return CliWindow(console_, count, std::move(selected), folder_.program(), folder_.program(U"out"), false);
  }
  std::istringstream in_;
  std::ostringstream out_, err_;
  Console console_{in_, out_, err_, false, false};
  TempDir folder_;
};

TEST_F(CliWindowTest, EntriesAskedInAnyOrderMatchTheList) {
  constexpr int kRecords = 12;
  write_bytes(folder_.native("Rodev5.Dat"), catalogue(kRecords));
  const std::vector<CatalogueEntry> list = read_catalogue(folder_.program());
  ASSERT_EQ(list.size(), static_cast<std::size_t>(kRecords));

  CliWindow w = window(kRecords);
  const int orders[][9] = {
      {0, 1, 2, 5, 11, 11, 3, 0, 4},   // ascending, the same again, then back
      {11, 10, 9, 8, 7, 2, 1, 0, 0},   // a selection read backwards
      {6, 0, 6, 11, 0, 11, 5, 5, 4},
  };
  for (const auto& order : orders)
    for (const int i : order) EXPECT_EQ(to_utf8(w.List1_Text(i)), to_utf8(list[static_cast<std::size_t>(i)].display_text())) << i;
}

TEST_F(CliWindowTest, SelectionIsEverythingOrTheMarkedEntries) {
  write_bytes(folder_.native("Rodev5.Dat"), catalogue(3));
  CliWindow all = window(3);
  CliWindow some = window(3, std::vector<bool>{false, true, false});
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(all.List1_Selected(i)) << i;
    EXPECT_EQ(some.List1_Selected(i), i == 1) << i;
  }
  for (const int bad : {-1, 3}) {
    EXPECT_THROW(all.List1_Selected(bad), std::out_of_range) << bad;
    EXPECT_THROW(all.List1_Text(bad), std::out_of_range) << bad;
  }
}

TEST_F(CliWindowTest, CatalogueShorterThanCountedIsAFailure) {
  write_bytes(folder_.native("Rodev5.Dat"), catalogue(4));
  CliWindow w = window(4);
  EXPECT_EQ(w.List1_Text(1), from_utf8(record(1).substr(0, 8) + "    NAME1   "));
  // Cut to two records while the run holds the window.
  write_bytes(folder_.native("Rodev5.Dat"), catalogue(2));
  // Going back reads the file afresh: its first entries are still there,
  // the counted last one is not.
  EXPECT_EQ(w.List1_Text(0), from_utf8(record(0).substr(0, 8) + "    NAME0   "));
  EXPECT_THROW(w.List1_Text(3), Failure);
}

}  // namespace
}  // namespace lodemark::cli
