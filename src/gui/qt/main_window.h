#pragma once
// The program's window under Qt. It lays out the controls, passes their
// events to the MainPresenter and offers the presenter what it needs of a
// window; it decides nothing itself. Controls carry stable object names
// ("borehole_list", "execute", ...) by which the window test finds them.
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "gui/main_presenter.h"
#include "gui/main_view.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace lodemark::qt {

class FolderList;

class MainWindow final : public QWidget, public MainView {
 public:
  // `user_settings`: the user's own settings file (MainPresenter).
  explicit MainWindow(ProgramPath user_settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  // What ends the program after a reported failure; by default the event
  // loop ends with the status.
  void set_end_program(std::function<void(int)> end) { end_program_ = std::move(end); }
  // Start-up goes through it (MainPresenter::start).
  MainPresenter& presenter() { return presenter_; }

  // MainView
  void show_drives(Side side, const std::vector<std::u32string>& names) override;
  std::u32string drive_name(Side side) override;
  void show_drive(Side side, std::u32string_view name) override;
  void show_folders(Side side, const FolderListModel& folders) override;
  std::u32string folder_text(Side side) override;
  void set_folder_text(Side side, std::u32string_view text) override;
  void show_boreholes(const std::vector<CatalogueEntry>& entries) override;
  std::vector<std::size_t> selected_boreholes() override;
  void set_status(std::u32string_view text) override;
  void set_busy(bool busy) override;
  void show_progress(std::size_t done, std::size_t total) override;
  void hide_progress() override;
  void yield_once() override;
  void close_window() override;
  // A stand-in until the dialog is drawn: cancelled.
  std::optional<std::string> ask_export(ExportDialog&) override { return std::nullopt; }
  void show_failure(std::u32string_view message) override;
  void end_program(int status) override;
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;
  BoxAnswer show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                         std::u32string_view title) override;

 private:
  // A side's drive list, folder list and folder box.
  struct SideControls {
    QComboBox* drives = nullptr;
    FolderList* folders = nullptr;
    QLineEdit* box = nullptr;
  };

  void build_controls();
  void connect_events();
  const SideControls& controls(Side side) const { return sides_[side == Side::Source ? 0 : 1]; }
  void handle(const std::function<void()>& body) { presenter_.handle(body); }
  // Checks the selected boreholes (all when none is) and shows the report.
  void open_report();
  // Shows the preview of the listed borehole at `index` in its own window.
  void open_preview(std::size_t index);
  // While busy, the window's clicks and keys are dropped, not kept for later.
  bool eventFilter(QObject* watched, QEvent* event) override;

  MainPresenter presenter_;
  std::function<void(int)> end_program_;
  bool busy_ = false;
  QElapsedTimer since_repaint_;

  QWidget* background_ = nullptr;
  SideControls sides_[2];  // source, destination
  QListWidget* borehole_list_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* execute_ = nullptr;
  QPushButton* exit_ = nullptr;
  QAction* check_action_ = nullptr;
};

}  // namespace lodemark::qt
