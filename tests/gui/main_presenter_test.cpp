#include "gui/main_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/failure.h"
#include "conversion/conversion_run.h"
#include "gui/main_presenter_fixture.h"
#include "platform/files.h"
#include "support/soil_dictionary_fixture.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::MainPresenterTest;
using test::u8;

TEST_F(MainPresenterTest, CompletionMessageStaysUntilThePointerCrossesTheBackground) {
  load();
  view_->user_selects(0);
  view_->user_selects(2);
  view_->user_opens_folder(Side::Destination, dir_.program(U"out"));
  EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Converted);
  EXPECT_EQ(view_->status, kDone);
  EXPECT_TRUE(presenter_->completion_shown());
  EXPECT_TRUE(test::native_exists(dir_.native("out/0001/Titl01.txt")));
  EXPECT_TRUE(test::native_exists(dir_.native("out/0003/Titl01.txt")));
  EXPECT_FALSE(test::native_exists(dir_.native("out/0002")));
  using Step = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(view_->progress, (std::vector<Step>{{1, 2}, {2, 2}, {0, 0}}));
  // The folder lists show the new folders.
  EXPECT_EQ(view_->folders[1].rows().back().name, U"0003");

  const int sets = view_->status_sets;
  presenter_->pointer_moved();
  EXPECT_EQ(view_->status, U"");
  EXPECT_FALSE(presenter_->completion_shown());
  EXPECT_EQ(view_->status_sets, sets + 1);
  presenter_->pointer_moved();
  EXPECT_EQ(view_->status_sets, sets + 1);
}

TEST_F(MainPresenterTest, ARunTellsASettingThatNamesNoUserDictionary) {
  load();
  view_->user_selects(0);
  view_->user_opens_folder(Side::Destination, dir_.program(U"out"));
  const struct {
    const char* user;
    bool told;
  } rows[] = {{"VASUSER.TXT", false}, {"XKISHITU.TXT", true}, {"..\\VASUSER.TXT", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.user);
    test::write_bytes(dir_.native("patdat/Vaskor.ini"), std::string("[USER]\r\nUSER=") + row.user + "\r\n");
    view_->boxes.shown.clear();
    EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Converted);
    EXPECT_EQ(view_->status, kDone);
    ASSERT_EQ(view_->boxes.shown.size(), row.told ? 1u : 0u);
    if (row.told) {
      EXPECT_NE(u8(view_->boxes.shown[0].text).find(row.user), std::string::npos) << u8(view_->boxes.shown[0].text);
      EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkExclamation);
    }
  }
}

TEST_F(MainPresenterTest, AFailureInAHandlerIsShownOnceAndEndsTheProgram) {
  load();
  const struct {
    const char* what;
    std::function<void()> body;
    std::u32string shown;
  } rows[] = {
      {"a failure", [] { throw Failure(U"cannot write X1.txt"); }, U"cannot write X1.txt"},
      {"another exception", [] { throw std::runtime_error("bad alloc"); }, U"bad alloc"},
      {"one that says nothing", [] { throw Failure(U""); }, U"?"},
      // Shown as the system writes paths (the program's own form on Windows).
      {"a file's failure", [this] { throw platform::FileError(U"op", dir_.program(), U"why"); },
       U"op: " + from_utf8(dir_.native()) + U" (why)"},
      // The inner handler's failure goes up to the outer one, which shows it.
      {"inside another handler", [this] { presenter_->handle([] { throw Failure(U"inner"); }); }, U"inner"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    view_->failures.clear();
    view_->ended_with.clear();
    view_->progress.clear();
    view_->busy = true;
    presenter_->handle(row.body);
    EXPECT_EQ(view_->failures, std::vector<std::u32string>{row.shown});
    EXPECT_EQ(view_->ended_with, std::vector<int>{kExitFailure});
    EXPECT_FALSE(view_->busy);
    EXPECT_EQ(view_->progress, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}}));
    EXPECT_FALSE(presenter_->in_handler());
  }
  bool ran = false;
  view_->failures.clear();
  presenter_->handle([&] { ran = presenter_->in_handler(); });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(view_->failures.empty());
}

TEST_F(MainPresenterTest, PointerMoveLeavesOtherStatusTextsAlone) {
  load();
  view_->set_status(kConverting);
  presenter_->pointer_moved();
  EXPECT_EQ(view_->status, kConverting);
}

using CheckPresenterTest = test::SamplePresenterTest;

TEST_F(CheckPresenterTest, CheckReportsTheSelectedBoreholesOrAllAndTheCatalogueAndChangesNothing) {
  const auto source_before = test::folder_content(dir_.path("sample"));
  const auto patdat_before = test::folder_content(dir_.path("patdat"));
  const struct {
    std::vector<int> selected;
    std::size_t boreholes;
    std::vector<std::string> found;
  } rows[] = {
      {{},
       13,
       {"number-repeated B-101", "alternation-name-new B-103", "alternation-name-new B-104",
        "alternation-soil-unknown B-106", "alternation-name-new B-106", "alternation-name-new B-108",
        "alternation-name-new B-112", "value-count-long B-105"}},
      {{4, 5},
       2,
       {"number-repeated B-101", "alternation-soil-unknown B-106", "alternation-name-new B-106",
        "value-count-long B-105"}},
      // Only the catalogue's own problem.
      {{0}, 1, {"number-repeated B-101"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.boreholes);
    view_->user_clears_selection();
    for (const int index : row.selected) view_->user_selects(index);
    const std::optional<CheckReport> report = presenter_->check_clicked();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->boreholes, row.boreholes);
    EXPECT_EQ(found(*report), row.found);
    EXPECT_TRUE(view_->boxes.shown.empty());
    EXPECT_FALSE(view_->busy);
  }
  EXPECT_EQ(test::folder_content(dir_.path("sample")), source_before);
  EXPECT_EQ(test::folder_content(dir_.path("patdat")), patdat_before);
}

TEST_F(CheckPresenterTest, DataFileThatCannotBeReadIsShownAndGivesNoReportOrPreview) {
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  const std::string layers = test::read_bytes(dir_.path("sample/Rodev2.Dat"));
  if (!test::make_unreadable(dir_.path("sample/Rodev2.Dat"), layers)) GTEST_SKIP() << "no unreadable file to be had";
  const struct {
    std::u32string_view box;
    std::function<bool()> gives_something;
  } rows[] = {
      {kReportCheckFailed, [this] { return presenter_->check_clicked().has_value(); }},
      {kPreviewFailed, [this] { return presenter_->preview_of(0).has_value(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.box));
    view_->boxes.shown.clear();
    EXPECT_FALSE(row.gives_something());
    ASSERT_EQ(view_->boxes.shown.size(), 1u);
    EXPECT_EQ(view_->boxes.shown[0].text, row.box);
    EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkExclamation);
    EXPECT_NE(u8(view_->boxes.shown[0].detail).find("Rodev2.Dat"), std::string::npos)
        << u8(view_->boxes.shown[0].detail);
    EXPECT_FALSE(view_->busy);
  }
}

TEST_F(MainPresenterTest, ExitClosesTheWindowEvenWithTheMessageShown) {
  load();
  view_->set_status(kDone);
  EXPECT_FALSE(view_->closed);
  presenter_->exit_clicked();
  EXPECT_TRUE(view_->closed);
}

}  // namespace
}  // namespace lodemark
