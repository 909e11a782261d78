#pragma once
// What the Qt window tests share: a configuration home with copies of the
// samples, a window opened on them, finding controls, answering message
// boxes and selecting list entries as the user does.
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/utf8.h"
#include "gui/qt/main_window.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace lodemark::test {

// What a message box showed.
struct SeenBox {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;  // their texts, in the box's order
  QString detail;
};

// Answers the first modal message box that shows while it lives with
// `button`, and keeps what the box showed.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton button) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen_ = SeenBox{box->text(), box->windowTitle(), box->icon(), {}, box->detailedText()};
      for (QAbstractButton* b : box->buttons()) seen_->buttons.push_back(b->text());
      timer_.stop();
      // A box without that button is closed all the same, so that an
      // unexpected box fails the test instead of hanging it.
      if (QAbstractButton* b = box->button(button))
        b->click();
      else
        box->reject();
    });
    timer_.start();
  }
  bool has_value() const { return seen_.has_value(); }
  const SeenBox* operator->() const { return &*seen_; }

 private:
  QTimer timer_;
  std::optional<SeenBox> seen_;
};

template <class W>
W* control(QWidget& form, const char* name) {
  W* widget = form.findChild<W*>(QString::fromLatin1(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
}

// Copies of the sample database and pattern-data folder, an output folder,
// and the pattern-data setting that names the copy.
class SampleHome : public TempConfigHome {
 public:
  SampleHome() {
    namespace fs = std::filesystem;
    const fs::path samples = fs::path(LODEMARK_SOURCE_DIR) / "samples";
    fs::copy(samples / "patdat", native("patdat"), fs::copy_options::recursive);
    fs::copy(samples / "database", native("database"), fs::copy_options::recursive);
    fs::create_directories(native("out"));
    write_bytes(native("config/lodemark/ZidereV5.ini"), "[ZidereV5]\r\n" + to_utf8(program(U"patdat")) + "\\\r\n");
  }

  // The user's own settings file of the test's windows.
  ProgramPath user_settings() const { return program(U"config\\user-settings.txt"); }

  // A window after start-up, with the sample database picked as the source
  // and the output folder (the working directory) as the destination; `end`
  // stands in for ending the program, which would end every event loop of
  // the test as well.
  std::unique_ptr<qt::MainWindow> open_window(std::function<void(int)> end) const {
    std::filesystem::current_path(path("out"));
    auto form = std::make_unique<qt::MainWindow>(user_settings());
    form->set_end_program(std::move(end));
    std::ostringstream errors;
    const auto status = form->presenter().start({native("database")}, errors);
    if (status) qFatal("start-up ended with %d", *status);
    if (!errors.str().empty()) qFatal("cannot pick the sample database: %s", errors.str().c_str());
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qFatal("the window does not show");
    return form;
  }
};

// Ctrl+clicks on the list's rows, as the user selects several.
inline void select_rows(qt::MainWindow& form, const std::vector<int>& rows) {
  auto* list = control<QListWidget>(form, "borehole_list");
  for (const int row : rows) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(item).center());
  }
}

// The number of a list entry as a folder is named.
inline std::string trimmed_log_no(const QString& entry) { return to_utf8(trim_spaces(qt::us(entry).substr(0, 8))); }

// Runs the slots of a test object under the application the window needs,
// with the look the program has.
template <class Tests>
int run_window_tests(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  QApplication::setFont(qt::ui_font());
  Tests tests;
  return QTest::qExec(&tests, argc, argv);
}

}  // namespace lodemark::test
