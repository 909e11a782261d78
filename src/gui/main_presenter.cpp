#include "gui/main_presenter.h"

#include <exception>

#include "base/failure.h"
#include "base/utf8.h"
#include "conversion/source_check.h"
#include "conversion/user_dictionary_check.h"
#include "platform/command_line.h"
#include "platform/shown_paths.h"
#include "preview/preview_run.h"

namespace lodemark {

// The run's view of the window.
class MainPresenter::RunObserver final : public ConversionObserver {
 public:
  RunObserver(MainView& view, MainPresenter& presenter) : view_(view), presenter_(presenter) {}
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    // A refused destination is the box's title.
    return view_.show_message(platform::with_shown_paths(text), style, platform::with_shown_paths(title));
  }
  void status_changed(std::u32string_view text) override { view_.set_status(text); }
  void busy_changed(bool busy) override { view_.set_busy(busy); }
  void yield_once() override { view_.yield_once(); }
  void borehole_done(std::size_t done, std::size_t total) override { view_.show_progress(done, total); }
  void output_written() override { presenter_.refresh_folders(); }

 private:
  MainView& view_;
  MainPresenter& presenter_;
};

MainPresenter::MainPresenter(MainView& view, DriveState drives, ProgramPath user_settings)
    : view_(view), drives_(std::move(drives)), remembered_datums_(std::move(user_settings)) {}

std::optional<int> MainPresenter::start(const std::vector<std::string>& arguments, std::ostream& errors) {
  bool loaded = false;
  if (!run_guarded([&] { loaded = load(); })) return kExitFailure;
  if (!loaded) return kExitNoSetting;
  if (arguments.empty()) return std::nullopt;
  bool picked = false;
  const std::optional<std::u32string> folder = platform::program_path_of_argument(arguments.front());
  if (!run_guarded([&] { picked = folder && pick_source_folder(*folder); })) return kExitFailure;
  if (!picked) errors << "lodemark: not a folder: " << arguments.front() << '\n';
  return std::nullopt;
}

bool MainPresenter::run_guarded(const std::function<void()>& body) {
  if (in_handler_) {
    body();
    return true;
  }
  std::optional<std::u32string> failure;
  in_handler_ = true;
  try {
    body();
  } catch (const Failure& f) {
    failure = platform::shown_failure(f);
  } catch (const std::exception& e) {
    failure = from_utf8(e.what());
  }
  in_handler_ = false;
  if (!failure) return true;
  view_.set_busy(false);
  view_.hide_progress();
  // A failure that says nothing is a failure all the same.
  view_.show_failure(failure->empty() ? U"?" : *failure);
  return false;
}

void MainPresenter::handle(const std::function<void()>& body) {
  if (!run_guarded(body)) view_.end_program(kExitFailure);
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
  request.source_folder = typed_source();
  request.destination_folder = typed_destination();
  for (const std::size_t index : view_.selected_boreholes())
    if (index < entries_.size()) request.selected.push_back(entries_[index]);
  if (pattern_data_folder_) request.pattern_data_folder = *pattern_data_folder_;

  RunObserver observer(view_, *this);
  RunOutcome outcome = RunOutcome::Refused;
  try {
    outcome = run_conversion(request, observer);
  } catch (...) {
    view_.hide_progress();
    throw;
  }
  view_.hide_progress();
  if (outcome == RunOutcome::Converted) {
    completion_shown_ = true;
    // The window has no summary: a setting that kept the companion's user
    // dictionary from being written is told in a box.
    ProblemList warnings;
    if (pattern_data_folder_) check_user_dictionary(*pattern_data_folder_, warnings, CopyDue::Pass);
    for (const Problem& warning : warnings.problems)
      view_.show_message(warning.message, BoxStyle::OkExclamation, kAppTitle);
  }
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
    view_.show_message(kReportCheckFailed, platform::shown_failure(failure), BoxStyle::OkExclamation, kAppTitle);
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
    view_.show_message(kPreviewFailed, platform::shown_failure(failure), BoxStyle::OkExclamation, kAppTitle);
    return std::nullopt;
  }
}

GuardedInputs MainPresenter::guarded_inputs() const {
  GuardedInputs inputs{std::nullopt, pattern_data_folder_};
  if (!source_folder_.empty()) inputs.source_folder = ProgramPath(source_folder_).as_folder();
  return inputs;
}

}  // namespace lodemark
