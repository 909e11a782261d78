#include "gui/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>
#include <exception>
#include <utility>

#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "gui/qt/folder_list.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/preview_window.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/report_window.h"
#include "gui/qt/window_look.h"

namespace lodemark::qt {
namespace {

// Positions and sizes are kept in twips, as the layout was drawn; at 96 dots
// per inch a pixel is 15 twips.
QRect twips(int left, int top, int width, int height) { return QRect(left / 15, top / 15, width / 15, height / 15); }

// The window background. Only a pointer over the bare background counts as
// moving over it, not one over a control that lies on it.
class Background final : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QMouseEvent&)> on_move;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    if (on_move && childAt(event->position().toPoint()) == nullptr) on_move(*event);
    QWidget::mouseMoveEvent(event);
  }
};

template <class W, class... Args>
W* make(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
  auto* widget = new W(std::forward<Args>(args)..., parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

QLabel* grey_label(QWidget* parent, const char* name, QRect geometry, std::u32string_view text) {
  auto* label = make<QLabel>(parent, name, geometry, qs(text));
  paint_grey(*label);
  label->setAutoFillBackground(false);  // the grey of what lies beneath
  return label;
}

QGroupBox* frame(QWidget* parent, const char* name, QRect geometry, std::u32string_view caption) {
  auto* box = make<QGroupBox>(parent, name, geometry, qs(caption));
  paint_grey(*box);
  return box;
}

QPushButton* button(QWidget* parent, const char* name, QRect geometry, std::u32string_view caption) {
  auto* b = make<QPushButton>(parent, name, geometry, qs(caption));
  paint_grey(*b);
  return b;
}

}  // namespace

MainWindow::MainWindow(ProgramPath user_settings, QWidget* parent)
    : QWidget(parent),
      presenter_(*this, DriveState::of_system(), std::move(user_settings)),
      end_program_([](int status) { QCoreApplication::exit(status); }) {
  setObjectName(QStringLiteral("main_window"));
  setWindowTitle(qs(kWindowCaption));
  setFont(ui_font());
  paint_grey(*this);  // the strip right of the background
  setFixedSize(9090 / 15, 6495 / 15);
  build_controls();
  connect_events();
}

MainWindow::~MainWindow() {
  if (!busy_) return;
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
}

void MainWindow::build_controls() {
  background_ = make<Background>(this, "background", twips(0, 0, 9075, 6495));
  paint_grey(*background_);
  background_->setMouseTracking(true);

  grey_label(background_, "source_folder_label", twips(210, 255, 2235, 315), kSourceFolderLabel);
  SideControls& source = sides_[0];
  SideControls& destination = sides_[1];
  source.box = make<QLineEdit>(background_, "source_folder_box", twips(2400, 195, 6255, 405));
  grey_label(background_, "destination_folder_label", twips(240, 750, 2235, 315), kDestinationFolderLabel);
  destination.box = make<QLineEdit>(background_, "destination_folder_box", twips(2400, 690, 6255, 405));

  QGroupBox* source_frame = frame(background_, "source_frame", twips(240, 1155, 5445, 3735), kBoreholeFrameCaption);
  auto* heading = make<QLabel>(source_frame, "list_heading", twips(105, 420, 2745, 225), qs(kCatalogueHeading));
  heading->setFont(heading_font());
  heading->setBackgroundRole(QPalette::Base);
  heading->setForegroundRole(QPalette::Text);
  heading->setAutoFillBackground(true);
  borehole_list_ = make<QListWidget>(source_frame, "borehole_list", twips(105, 630, 2745, 3000));
  borehole_list_->setFont(list_font());
  borehole_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  borehole_list_->setUniformItemSizes(true);
  borehole_list_->setContextMenuPolicy(Qt::CustomContextMenu);
  source.folders = make<FolderList>(source_frame, "source_folders", twips(2955, 420, 2415, 2490));
  source.drives = make<QComboBox>(source_frame, "source_drives", twips(2955, 3180, 2415, 390));

  QGroupBox* destination_frame =
      frame(background_, "destination_frame", twips(5775, 1155, 3135, 3735), kDestinationFrameCaption);
  destination.folders = make<FolderList>(destination_frame, "destination_folders", twips(180, 420, 2595, 2490));
  destination.drives = make<QComboBox>(destination_frame, "destination_drives", twips(180, 3180, 2595, 390));

  // The status frame is a few pixels taller than the text needs, for the
  // run's progress under it.
  QGroupBox* status_frame = frame(background_, "status_frame", twips(240, 4950, 8475, 765), kStatusFrameCaption);
  status_ = grey_label(status_frame, "status_line", twips(180, 225, 8175, 315), U"");
  progress_ = make<QProgressBar>(status_frame, "progress", twips(180, 555, 8175, 120));
  progress_->setTextVisible(false);
  progress_->hide();

  execute_ = button(background_, "execute", twips(2520, 5790, 1935, 555), kExecuteCaption);
  exit_ = button(background_, "exit", twips(5160, 5790, 2055, 555), kExitCaption);

  // The check: in the list's context menu, and F7 wherever the window has the
  // focus (the menu shows the key).
  check_action_ = new QAction(qs(kCheckMenuItem), this);
  check_action_->setObjectName(QStringLiteral("CheckAction"));
  check_action_->setShortcut(QKeySequence(Qt::Key_F7));
  check_action_->setShortcutContext(Qt::WindowShortcut);
  check_action_->setShortcutVisibleInContextMenu(true);
  addAction(check_action_);

  // The controls that can take the focus, in tab order.
  QWidget* const tab_order[] = {source.folders, source.drives, destination.folders, destination.drives, execute_,
                                exit_,          source.box,    destination.box,     borehole_list_};
  for (std::size_t i = 1; i < std::size(tab_order); ++i) setTabOrder(tab_order[i - 1], tab_order[i]);
}

void MainWindow::connect_events() {
  static_cast<Background*>(background_)->on_move = [this](QMouseEvent&) {
    handle([this] { presenter_.pointer_moved(); });
  };
  for (const Side side : {Side::Source, Side::Destination}) {
    connect(controls(side).drives, &QComboBox::currentIndexChanged, this,
            [this, side] { handle([this, side] { presenter_.drive_changed(side); }); });
    controls(side).folders->on_open = [this, side](std::size_t row) {
      handle([this, side, row] { presenter_.row_opened(side, row); });
    };
  }
  connect(execute_, &QPushButton::clicked, this, [this] { handle([this] { presenter_.execute_clicked(); }); });
  connect(exit_, &QPushButton::clicked, this, [this] { handle([this] { presenter_.exit_clicked(); }); });
  connect(check_action_, &QAction::triggered, this, [this] { handle([this] { open_report(); }); });
  connect(borehole_list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ListMenu"));
    menu.addAction(check_action_);
    menu.exec(borehole_list_->viewport()->mapToGlobal(at));
  });
  // A double-click or Enter on an entry: the list's activation.
  connect(borehole_list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    handle([this, item] { open_preview(static_cast<std::size_t>(borehole_list_->row(item))); });
  });
}

void MainWindow::open_report() {
  std::optional<CheckReport> report = presenter_.check_clicked();
  if (!report) return;
  // Its own window, closed (and deleted) on its own or with this one.
  auto* window = new ReportWindow(std::move(*report), presenter_.guarded_inputs(), this);
  window->show();
}

void MainWindow::open_preview(std::size_t index) {
  std::optional<preview::BoreholePreview> borehole = presenter_.preview_of(index);
  if (!borehole) return;
  const std::u32string number = trim_spaces(borehole->title.number);
  auto* window = new PreviewWindow(number, std::move(*borehole), presenter_.guarded_inputs(), this);
  window->show();
}

void MainWindow::show_drives(Side side, const std::vector<std::u32string>& names) {
  QComboBox* box = controls(side).drives;
  const QSignalBlocker quiet(box);
  box->clear();
  for (const std::u32string& name : names) box->addItem(qs(name));
}

std::u32string MainWindow::drive_name(Side side) { return us(controls(side).drives->currentText()); }

void MainWindow::show_drive(Side side, std::u32string_view name) {
  QComboBox* box = controls(side).drives;
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(box->findText(qs(name)));
}

void MainWindow::show_folders(Side side, const FolderListModel& folders) { controls(side).folders->show_rows(folders); }

std::u32string MainWindow::folder_text(Side side) { return us(controls(side).box->text()); }

void MainWindow::set_folder_text(Side side, std::u32string_view text) { controls(side).box->setText(qs(text)); }

void MainWindow::show_boreholes(const std::vector<CatalogueEntry>& entries) {
  borehole_list_->clear();
  for (const CatalogueEntry& entry : entries) borehole_list_->addItem(qs(entry.display_text()));
}

std::vector<std::size_t> MainWindow::selected_boreholes() {
  std::vector<std::size_t> selected;
  for (int i = 0; i < borehole_list_->count(); ++i)
    if (borehole_list_->item(i)->isSelected()) selected.push_back(static_cast<std::size_t>(i));
  return selected;
}

void MainWindow::set_status(std::u32string_view text) { status_->setText(qs(text)); }

void MainWindow::set_busy(bool busy) {
  if (busy == busy_) return;
  if (busy) {
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    return;
  }
  // Clicks and keys that came in since the last repaint are dropped before
  // the window takes input again.
  QCoreApplication::processEvents();
  qApp->removeEventFilter(this);
  busy_ = false;
  QApplication::restoreOverrideCursor();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!busy_ || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
    return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::Close:
      event->ignore();
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

void MainWindow::show_progress(std::size_t done, std::size_t total) {
  progress_->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
  progress_->setValue(static_cast<int>(std::min<std::size_t>(done, INT_MAX)));
  progress_->show();
  // Repainting after every borehole would slow a long run down; a tenth of a
  // second is often enough to look alive. Input is let in only to be dropped.
  if (since_repaint_.isValid() && since_repaint_.elapsed() < 100 && done != 1) return;
  QCoreApplication::processEvents();
  since_repaint_.start();
}

void MainWindow::hide_progress() {
  progress_->hide();
  since_repaint_.invalidate();
}

void MainWindow::yield_once() {
  // Paints what is pending (the status text); clicks and keys wait for the
  // end of the run, so that no second run can start inside this one.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::close_window() { close(); }

void MainWindow::show_failure(std::u32string_view message) { show_failure_box(isVisible() ? this : nullptr, message); }

void MainWindow::end_program(int status) { end_program_(status); }

BoxAnswer MainWindow::show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) {
  return show_message_box(isVisible() ? this : nullptr, text, style, title);
}

BoxAnswer MainWindow::show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                                   std::u32string_view title) {
  return show_message_box(isVisible() ? this : nullptr, text, style, title, detail);
}

}  // namespace lodemark::qt
