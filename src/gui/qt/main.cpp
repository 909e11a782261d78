// The window program. An optional argument names a source folder (a native
// path) to pick at start.
#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>
#include <iostream>

#include "gui/qt/main_window.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/command_line.h"
#include "platform/system_folder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt's own texts (context menus, file dialogs) in Japanese as well, where
  // its translations are installed; the boxes' buttons are set in any case.
  QTranslator qt_texts;
  if (qt_texts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qt_texts);
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  QApplication::setFont(lodemark::qt::ui_font());

  lodemark::qt::MainWindow window(lodemark::platform::user_settings_file());
  // What QApplication left of the arguments: Qt's own options are gone.
  if (const auto status = window.presenter().start(lodemark::platform::utf8_arguments(argc, argv), std::cerr))
    return *status;
  window.show();
  return app.exec();
}
