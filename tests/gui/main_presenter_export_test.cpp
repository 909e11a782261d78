// The borehole list's export through the fake window: what the file holds
// against what lodemark-cli export writes, the datum remembered per folder,
// and the files left alone when the export is cancelled, refused or fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "cli/cli_app.h"
#include "gui/main_presenter_fixture.h"
#include "platform/shown_paths.h"
#include "support/source_database.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::FakeMainView;
using test::ShownMessage;
using test::u8;
using Answer = FakeMainView::ExportAnswer;

class ExportPresenterTest : public test::SamplePresenterTest {
 protected:
  // What `lodemark-cli export` writes from the sample for `tail` into a file
  // named like `like`; `said` gets its messages.
  std::string cli_export(const std::string& like, std::vector<std::string> tail, std::string* said = nullptr) {
    const std::string file = "cli_" + fs::path(like).filename().string();
    std::vector<std::string> args = {"export", dir_.native("sample"), "--patdat", dir_.native("patdat"),
                                     "-o",     dir_.native(file)};
    args.insert(args.end(), tail.begin(), tail.end());
    std::istringstream in;
    std::ostringstream out, err;
    cli::Console console{in, out, err, false, false};
    EXPECT_LE(cli::run(args, console), 1) << err.str();
    if (said) *said = err.str();
    return test::read_bytes(dir_.path(file));
  }
  Answer answer(std::optional<std::size_t> datum, const std::string& file, std::u32string extension = U".geojson",
                std::size_t table = 0) {
    return {datum, table, std::move(extension), dir_.native(file)};
  }
  fs::path settings_file() const { return dir_.path("config/user-settings.txt"); }
};

TEST_F(ExportPresenterTest, TheFileIsTheCommandsForTheSameChoice) {
  const struct {
    std::vector<int> selected;
    Answer answer;
    std::string written;
    std::vector<std::string> command;
    bool left_out;
  } rows[] = {
      {{}, answer(0, "out/all.geojson"), "out/all.geojson", {"--all", "--datum", "tokyo"}, true},
      // Row 0 is B-101, which the catalogue lists twice.
      {{0}, answer(1, "out/one.kml", U".kml"), "out/one.kml", {"B-101", "--datum", "jgd2000"}, true},
      {{4, 5},
       answer(2, "out/layers", U".csv", 1),
       "out/layers.csv",
       {"B-105", "B-106", "--datum", "jgd2011", "--table", "layers"},
       false},
      // The name typed names another format than the list: the name's wins.
      {{}, answer(0, "out/typed.kml", U".geojson"), "out/typed.kml", {"--all", "--datum", "tokyo"}, true},
      {{},
       answer(2, "out/values.csv", U".csv", 2),
       "out/values.csv",
       {"--all", "--datum", "jgd2011", "--table", "values"},
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.written);
    view_->user_clears_selection();
    for (const int index : row.selected) view_->user_selects(index);
    view_->export_answer = row.answer;
    view_->boxes.shown.clear();
    presenter_->export_clicked(exports::kTables[row.answer.table_row].kind);
    EXPECT_FALSE(view_->busy);
    EXPECT_EQ(view_->status, kExportDone + platform::shown_path(dir_.program(from_utf8(row.written))));
    const std::string written = test::read_bytes(dir_.path(row.written));
    EXPECT_GT(written.size(), 100u);
    std::string said;
    EXPECT_TRUE(written == cli_export(row.written, row.command, &said)) << written.substr(0, 200);
    // The boreholes the command leaves out (the second B-101, whose header
    // the first took) are the box's lines.
    std::string left_out;
    for (const ShownMessage& box : view_->boxes.shown) {
      EXPECT_EQ(box.text, kExportLeftOut);
      left_out += "lodemark-cli: " + u8(box.detail) + "\n";
    }
    EXPECT_EQ(left_out, said);
    EXPECT_EQ(said.empty(), !row.left_out) << said;
  }
}

TEST_F(ExportPresenterTest, TheDatumIsAskedOnceForEachFolderAndRemembered) {
  fs::copy(dir_.path("sample"), dir_.path("sample2"));
  const std::string ini = test::read_bytes(dir_.system_folder() + "/ZidereV5.ini");
  view_->export_answer = answer(0, "out/a.geojson");
  presenter_->export_clicked(exports::TableKind::Boreholes);
  view_->user_opens_folder(Side::Source, dir_.program(U"sample2"));
  view_->export_answer = answer(2, "out/b.csv", U".csv", 1);
  presenter_->export_clicked(exports::TableKind::Layers);
  ASSERT_EQ(view_->exports_shown.size(), 2u);
  EXPECT_EQ(view_->exports_shown[0].datum_row, std::nullopt);
  EXPECT_EQ(view_->exports_shown[0].suggested, U"sample_boreholes.geojson");
  EXPECT_EQ(view_->exports_shown[1].datum_row, std::nullopt);
  EXPECT_EQ(view_->exports_shown[1].table_row, 1u);
  EXPECT_EQ(view_->exports_shown[1].suggested, U"sample2_layers.csv");

  // Another window later reads the same settings; the user only confirms.
  FakeMainView later;
  MainPresenter presenter(later, test::test_drives(dir_.program(U"src")), user_settings());
  later.attach(presenter);
  ASSERT_TRUE(presenter.load());
  for (const auto& [folder, row] : {std::pair{U"sample", 0u}, std::pair{U"sample2", 2u}}) {
    later.user_opens_folder(Side::Source, dir_.program(folder));
    later.user_selects(1);
    later.export_answer = answer(std::nullopt, "out/c.geojson");
    presenter.export_clicked(exports::TableKind::Boreholes);
    EXPECT_EQ(later.exports_shown.back().datum_row, row) << u8(folder);
  }
  EXPECT_TRUE(later.boxes.shown.empty());
  EXPECT_EQ(test::read_bytes(dir_.path("out/c.geojson")), cli_export("c.geojson", {"B-102", "--datum", "jgd2011"}));
  // Never in the shared settings.
  EXPECT_EQ(test::read_bytes(dir_.system_folder() + "/ZidereV5.ini"), ini);
}

TEST_F(ExportPresenterTest, NothingIsWrittenWhenTheUserCancelsOrNothingIsListed) {
  const struct {
    const char* what;
    std::optional<Answer> answer;
    std::u32string folder;
    std::size_t dialogs;
  } rows[] = {
      {"the dialog cancelled", std::nullopt, U"sample", 1},
      {"the save dialog cancelled", Answer{0, 0, U".geojson", std::nullopt}, U"sample", 1},
      {"no datum chosen: OK stays disabled", answer(std::nullopt, "out/x.geojson"), U"sample", 1},
      {"an empty folder: a box, no dialog", answer(0, "out/x.geojson"), U"out", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    view_->user_opens_folder(Side::Source, dir_.program(row.folder));
    view_->exports_shown.clear();
    view_->boxes.shown.clear();
    view_->status.clear();
    view_->export_answer = row.answer;
    presenter_->export_clicked(exports::TableKind::Boreholes);
    EXPECT_EQ(view_->exports_shown.size(), row.dialogs);
    EXPECT_TRUE(fs::is_empty(dir_.path("out")));
    EXPECT_FALSE(fs::exists(settings_file()));
    EXPECT_EQ(view_->status, U"");
    ASSERT_EQ(view_->boxes.shown.size(), 1u - row.dialogs);
    if (row.dialogs == 0) {
      EXPECT_EQ(view_->boxes.shown[0].text, kNoSourceData);
    }
  }
}

TEST_F(ExportPresenterTest, ARefusedOrUnwritableFileIsLeftAsItWasWithABox) {
  test::write_bytes(dir_.path("out/locked.geojson"), "earlier");
  fs::permissions(dir_.path("out/locked.geojson"), fs::perms::owner_read);
  const std::string catalogue = test::read_bytes(dir_.path("sample/Rodev5.Dat"));
  const struct {
    std::string file;
    std::string earlier;  // empty: none
    std::u32string reason;
  } rows[] = {
      {"sample/Rodev5.Dat", catalogue, kOutputIsSourceFile},
      {"patdat/x.csv", "", kOutputInPatternData},
      {"out/locked.geojson", "earlier", U""},
      {"out/missing/x.geojson", "", U""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    view_->boxes.shown.clear();
    view_->export_answer = answer(1, row.file);
    presenter_->export_clicked(exports::TableKind::Boreholes);
    ASSERT_EQ(view_->boxes.shown.size(), 1u);
    EXPECT_EQ(view_->boxes.shown[0].text, kExportFailed);
    EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkExclamation);
    const std::string detail = u8(view_->boxes.shown[0].detail);
    EXPECT_NE(detail.find(test::native_text(dir_.path(row.file))), std::string::npos) << detail;
    EXPECT_NE(detail.find(u8(row.reason)), std::string::npos) << detail;
    EXPECT_FALSE(view_->busy);
    EXPECT_EQ(view_->status, U"");
    if (row.earlier.empty()) {
      EXPECT_FALSE(fs::exists(dir_.path(row.file)));
    } else {
      EXPECT_TRUE(test::read_bytes(dir_.path(row.file)) == row.earlier);
    }
  }
  EXPECT_FALSE(fs::exists(dir_.path("sample/Rodev5.Dat.geojson")));
  fs::permissions(dir_.path("out/locked.geojson"), fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(ExportPresenterTest, BoreholesWithoutAPositionAreSaidInABox) {
  test::Database db;
  db.headers[1] = test::header("B-2     ", "        ", "  1", "  2");
  db.headers[2] = test::header("B-3     ", "75000000", "  1", "  1");
  db.write(dir_);
  view_->user_opens_folder(Side::Source, dir_.program(U"db"));
  view_->export_answer = answer(2, "out/x.geojson");
  presenter_->export_clicked(exports::TableKind::Boreholes);
  EXPECT_EQ(view_->status, kExportDone + platform::shown_path(dir_.program(U"out/x.geojson")));
  ASSERT_EQ(view_->boxes.shown.size(), 1u);
  EXPECT_EQ(view_->boxes.shown[0].text, kExportLeftOut);
  const std::string detail = u8(view_->boxes.shown[0].detail);
  EXPECT_TRUE(detail.starts_with("B-2: ")) << detail;
  EXPECT_NE(detail.find("\nB-3: "), std::string::npos) << detail;
  const std::string geojson = test::read_bytes(dir_.path("out/x.geojson"));
  EXPECT_NE(geojson.find("\"B-1\""), std::string::npos);
  EXPECT_EQ(geojson.find("\"B-2\""), std::string::npos);
}

TEST_F(ExportPresenterTest, ASettingsFileTooLargeToReadAsksAgainAndIsKept) {
  const std::string huge = "tokyo\tC:\\x\\\n" + std::string(static_cast<std::size_t>(kMaxSettingsBytes), '#');
  test::write_bytes(settings_file(), huge);
  view_->user_selects(1);
  view_->export_answer = answer(1, "out/x.geojson");
  presenter_->export_clicked(exports::TableKind::Boreholes);
  ASSERT_EQ(view_->exports_shown.size(), 1u);
  EXPECT_EQ(view_->exports_shown[0].datum_row, std::nullopt);
  EXPECT_EQ(view_->status, kExportDone + platform::shown_path(dir_.program(U"out/x.geojson")));
  ASSERT_EQ(view_->boxes.shown.size(), 1u);
  // Why: the file is beyond a settings file's size.
  const std::string text = u8(view_->boxes.shown[0].text);
  EXPECT_TRUE(text.starts_with(u8(kExportDatumNotRemembered))) << text;
  EXPECT_NE(text.find(test::native_text(settings_file())), std::string::npos) << text;
  EXPECT_TRUE(test::read_bytes(settings_file()) == huge);
}

}  // namespace
}  // namespace lodemark
