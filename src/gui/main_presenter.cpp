#include "gui/main_presenter.h"

#include <exception>

#include "base/failure.h"
#include "base/utf8.h"
#include "conversion/pattern_data_setting.h"
#include "conversion/source_check.h"
#include "gui/drive_folder_lists.h"
#include "platform/drives.h"
#include "preview/preview_run.h"
#include "rodev/catalogue.h"

namespace lodemark {
namespace {

std::size_t index_of(Side side) { return side == Side::Source ? 0 : 1; }

// A folder box's text as the run reads it. A native absolute path ("/home/..",
// what people type on Linux) goes through the drive table first; anything
// else, or a path no drive covers, is left for the run's checks to judge.
std::u32string typed_folder(std::u32string text) {
  if (text.empty() || text.front() != U'/') return text;
  if (auto program = platform::to_program_path(to_utf8(text))) return *std::move(program);
  return text;
}

}  // namespace

// The run's view of the window.
class MainPresenter::RunObserver final : public ConversionObserver {
 public:
  explicit RunObserver(MainView& view) : view_(view) {}
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    return view_.show_message(text, style, title);
  }
  void status_changed(std::u32string_view text) override { view_.set_status(text); }
  void busy_changed(bool busy) override { view_.set_busy(busy); }
  void yield_once() override { view_.yield_once(); }
  void borehole_done(std::size_t done, std::size_t total) override { view_.show_progress(done, total); }
  void output_written() override {
    view_.refresh_folder(Side::Source);
    view_.refresh_folder(Side::Destination);
  }

 private:
  MainView& view_;
};

MainPresenter::MainPresenter(MainView& view) : view_(view) {}

bool MainPresenter::load() {
  pattern_data_folder_ = load_pattern_data_folder(view_);
  if (!pattern_data_folder_) return false;
  for (const Side side : {Side::Source, Side::Destination})
    previous_drive_[index_of(side)] = view_.drive_designation(side);
  drive_changed(Side::Source);
  drive_changed(Side::Destination);
  folder_changed(Side::Source);
  folder_changed(Side::Destination);
  return true;
}

void MainPresenter::drive_changed(Side side) {
  std::u32string& previous = previous_drive_[index_of(side)];
  try {
    view_.move_folder_to_drive(side, view_.drive_designation(side));
    const std::u32string designation = view_.drive_designation(side);
    if (!platform::set_current_drive(letter_of_designation(designation)))
      throw Failure(kCannotSwitchDrive + designation);
    previous = designation;
  } catch (const std::exception&) {
    // A drive that is not ready: go back to the last good one without a
    // word. Setting the list raises this handler again for that drive.
    if (undoing_drive_) return;
    undoing_drive_ = true;
    try {
      view_.set_drive_designation(side, previous);
    } catch (const std::exception&) {
      // The previous drive is gone as well; the folder list stays put.
    }
    undoing_drive_ = false;
  }
}

void MainPresenter::folder_changed(Side side) {
  const std::u32string folder = view_.folder(side);
  view_.set_folder_text(side, folder);
  platform::set_current_folder(folder);
  if (side == Side::Destination) return;
  // A new source: its catalogue is the list, and nothing is selected.
  source_folder_ = folder;
  entries_ = read_catalogue(folder);
  view_.show_boreholes(entries_);
}

void MainPresenter::pointer_moved() {
  if (!completion_shown_) return;
  view_.set_status(U"");
  completion_shown_ = false;
}

void MainPresenter::exit_clicked() { view_.close_window(); }

RunOutcome MainPresenter::execute_clicked() {
  ConversionRequest request;
  request.listed_entries = entries_.size();
  request.source_folder = typed_folder(view_.folder_text(Side::Source));
  request.destination_folder = typed_folder(view_.folder_text(Side::Destination));
  for (const std::size_t index : view_.selected_boreholes())
    if (index < entries_.size()) request.selected.push_back(entries_[index]);
  if (pattern_data_folder_) request.pattern_data_folder = *pattern_data_folder_;

  RunObserver observer(view_);
  RunOutcome outcome = RunOutcome::Refused;
  try {
    outcome = run_conversion(request, observer);
  } catch (...) {
    view_.hide_progress();
    throw;
  }
  view_.hide_progress();
  if (outcome == RunOutcome::Converted) completion_shown_ = true;
  return outcome;
}

std::optional<CheckReport> MainPresenter::check_clicked() {
  CheckRequest request;
  request.source_folder = ProgramPath(source_folder_).as_folder();
  request.pattern_data_folder = pattern_data_folder_;
  CheckReport report;
  for (const std::size_t index : view_.selected_boreholes()) {
    if (index >= entries_.size()) continue;
    request.selection.insert(entries_[index].folder_name());
    ++report.boreholes;
  }
  if (report.boreholes == 0) report.boreholes = entries_.size();

  ProblemList found;
  view_.set_busy(true);
  try {
    check_source(request, found);
  } catch (const Failure& failure) {
    view_.set_busy(false);
    view_.show_message(kReportCheckFailed, failure.message(), BoxStyle::OkExclamation, kAppTitle);
    return std::nullopt;
  }
  view_.set_busy(false);
  report.problems = std::move(found.problems);
  return report;
}

std::optional<preview::BoreholePreview> MainPresenter::preview_of(std::size_t index) {
  if (index >= entries_.size() || !pattern_data_folder_) return std::nullopt;
  view_.set_busy(true);
  try {
    std::optional<preview::BoreholePreview> borehole = preview::preview_of_number(
        ProgramPath(source_folder_).as_folder(), *pattern_data_folder_, entries_, entries_[index].folder_name());
    view_.set_busy(false);
    return borehole;
  } catch (const Failure& failure) {
    view_.set_busy(false);
    view_.show_message(kPreviewFailed, failure.message(), BoxStyle::OkExclamation, kAppTitle);
    return std::nullopt;
  }
}

}  // namespace lodemark
