// The window program. An optional argument names a source folder (a native
// path) to pick at start.
#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>
#include <filesystem>

#include "gui/qt/main_window.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/drives.h"

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

  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    std::error_code ec;
    const auto native = std::filesystem::absolute(arguments.at(1).toStdString(), ec).lexically_normal();
    const auto program = ec ? std::nullopt : lodemark::platform::to_program_path(native.string());
    if (!program || !window.pick_source_folder(*program))
      std::fprintf(stderr, "lodemark: not a folder: %s\n", arguments.at(1).toLocal8Bit().constData());
  }
  window.show();
  return app.exec();
}
