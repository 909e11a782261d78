// The window program. An optional argument names a source folder (a native
// path) to pick at start.
#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/qt/main_window.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt's own texts (context menus, file dialogs) in Japanese as well, where
  // its translations are installed; the boxes' buttons are set in any case.
  QTranslator qt_texts;
  if (qt_texts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qt_texts);
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  QApplication::setFont(lodemark::qt::ui_font());

  lodemark::qt::MainWindow window;
  if (const auto status = window.load()) return *status;

  // What QApplication left of the arguments: Qt's own options are gone.
  const std::vector<std::string> arguments = lodemark::platform::utf8_arguments(argc, argv);
  if (!arguments.empty()) {
    const auto program = lodemark::platform::program_path_of_argument(arguments[0]);
    if (!program || !window.pick_source_folder(*program))
      std::fprintf(stderr, "lodemark: not a folder: %s\n", arguments[0].c_str());
  }
  window.show();
  return app.exec();
}
