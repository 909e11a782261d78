// lodemark-cli preview: its exit statuses, the golden picture of one sample
// borehole, and a pattern-data folder left exactly as it was.
#include <cstdlib>
#include <filesystem>
#include <map>

#include "cli/cli_fixture.h"
#include "cli/usage.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;

// Every file of the folder with its bytes.
std::map<std::string, std::string> contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file())
      files[item.path().lexically_relative(folder).generic_string()] = read_bytes(item.path());
  return files;
}

class PreviewTest : public CliTest {
 protected:
  std::vector<std::string> preview(std::vector<std::string> tail) const {
    std::vector<std::string> args = {"preview", dir("db"), "--patdat", dir("patdat")};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  }
};

TEST_F(PreviewTest, UsageErrorsWriteNothing) {
  struct Row {
    std::vector<std::string> tail;
    std::string said;
  } const rows[] = {
      {{"B-101"}, "needs -o FILE.svg"},
      {{"B-101", "-o", "x.png"}, "only .svg is supported for now"},
      {{"B-101", "-o", "x.pdf"}, "only .svg is supported for now"},
      {{"-o", "x.svg"}, "either one LOGNO or --all"},
      {{"B-101", "--all", "-o", "x"}, "either one LOGNO or --all"},
      {{"B-101", "B-102", "-o", "x.svg"}, "one LOGNO"},
      {{"B-999", "-o", "x.svg"}, "no borehole B-999"},
      {{"B-101", "-o", "no/such/folder/x.svg"}, "FILE"},
      {{"--all"}, "needs -o FOLDER"},
      {{"B-101", "--format", "csv", "-o", "x.svg"}, "unknown option --format"},
      {{"B-101", "-o", "patdat/x.svg"}, "must not name the pattern-data folder"},
      {{"--all", "-o", "patdat"}, "must not name the pattern-data folder"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> tail = row.tail;
    for (std::string& word : tail)
      if (word.starts_with("x") || word.starts_with("no/") || word.starts_with("patdat")) word = dir(word);
    const Result result = call(preview(tail));
    EXPECT_EQ(result.status, kUsage) << row.said;
    EXPECT_NE(result.err.find(row.said), std::string::npos) << result.err;
  }
  EXPECT_EQ(contents(scratch_.path()).count("x.svg"), 0u);
  EXPECT_FALSE(fs::exists(scratch_.path("x")));
  EXPECT_FALSE(fs::exists(scratch_.path("patdat/x.svg")));
}

TEST_F(PreviewTest, OneBoreholeMatchesTheGoldenPicture) {
  const Result result = call(preview({"B-101", "-o", dir("B-101.svg")}));
  ASSERT_EQ(result.status, kConverted) << result.err;
  const fs::path golden = test::native_path(LODEMARK_TEST_DATA) / "golden" / "preview" / "B-101.svg";
  if (std::getenv("LODEMARK_UPDATE_GOLDEN")) {
    fs::create_directories(golden.parent_path());
    fs::copy_file(scratch_.path("B-101.svg"), golden, fs::copy_options::overwrite_existing);
  }
  EXPECT_EQ(read_bytes(scratch_.path("B-101.svg")), read_bytes(golden));
}

TEST_F(PreviewTest, AllBoreholesLeaveThePatternDataFolderAsItWas) {
  const auto before = contents(scratch_.path("patdat"));
  const Result result = call(preview({"--all", "-o", dir("pictures")}));
  EXPECT_TRUE(result.status == kConverted || result.status == kProblemsFound) << result.err;
  EXPECT_EQ(contents(scratch_.path("patdat")), before);
  const auto pictures = contents(scratch_.path("pictures"));
  EXPECT_EQ(pictures.size(), 12u);
  // The sample converts with names new to the dictionary: shown, not added.
  int with_new_names = 0;
  for (const auto& [name, svg] : pictures) with_new_names += svg.find("新規") != std::string::npos;
  EXPECT_GT(with_new_names, 0);
  EXPECT_EQ(read_bytes(scratch_.path("pictures/B-101.svg")),
            read_bytes(test::native_path(LODEMARK_TEST_DATA) / "golden" / "preview" / "B-101.svg"));
}

TEST_F(PreviewTest, AllShowsItsProgressOnATerminalOnly) {
  for (const bool terminal : {false, true}) {
    std::istringstream in;
    std::ostringstream out, err;
    Console console{in, out, err, false, terminal};
    const int status = run(preview({"--all", "-o", dir(terminal ? "t" : "p")}), console);
    EXPECT_TRUE(status == kConverted || status == kProblemsFound) << err.str();
    EXPECT_EQ(err.str().find("プレビュー作成中"), terminal ? 1u : std::string::npos) << err.str();
    EXPECT_EQ(err.str().ends_with("プレビュー作成中 12/12\n"), terminal) << err.str();
    EXPECT_TRUE(out.str().empty());
  }
}

TEST_F(PreviewTest, ProblemsOfTheBoreholeSetTheStatusAndAppearUnderThePicture) {
  // One layer line fewer than its header counts.
  const fs::path layers = scratch_.path("db/Rodev2.Dat");
  std::string bytes = read_bytes(layers);
  bytes.erase(0, bytes.find('\n') + 1);
  test::write_bytes(layers, bytes);
  const Result broken = call(preview({"B-101", "-o", dir("B-101.svg")}));
  EXPECT_EQ(broken.status, kProblemsFound) << broken.err;
  EXPECT_NE(read_bytes(scratch_.path("B-101.svg")).find("layer-count"), std::string::npos);
  // Another borehole's picture does not carry them.
  EXPECT_EQ(call(preview({"B-102", "-o", dir("B-102.svg")})).status, kConverted);
}

TEST_F(PreviewTest, UnreadableOutputIsARunFailure) {
  fs::create_directories(scratch_.path("taken.svg"));
  const Result result = call(preview({"B-101", "-o", dir("taken.svg")}));
  EXPECT_EQ(result.status, kRunFailure) << result.err;
  EXPECT_TRUE(fs::is_directory(scratch_.path("taken.svg")));
}

}  // namespace
}  // namespace lodemark::cli
