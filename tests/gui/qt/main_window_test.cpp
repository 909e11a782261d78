// Drives the real window: start-up on copies of the sample database and
// pattern-data folder, selecting boreholes, Execute, the status line, the
// message boxes and Exit. With LODEMARK_SCREENSHOT=<png> set it also saves a
// picture of the window after the run.
#include "gui/qt/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "conversion/conversion_run.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_test_support.h"
#include "platform/files.h"
#include "platform/volumes.h"
#include "rodev/catalogue.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using lodemark::qt::MainWindow;
using lodemark::qt::qs;
using lodemark::qt::us;
using lodemark::test::BoxAnswerer;
using lodemark::test::control;
using lodemark::test::select_rows;
using lodemark::test::trimmed_log_no;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lodemark::test::SampleHome> dir_;
  int ended_with_ = -1;

  std::u32string program(std::u32string_view relative) { return dir_->program(relative); }

  std::unique_ptr<MainWindow> open_window() {
    ended_with_ = -1;
    return dir_->open_window([this](int status) { ended_with_ = status; });
  }

 private slots:
  void initTestCase() { dir_ = std::make_unique<lodemark::test::SampleHome>(); }

  void cleanupTestCase() { dir_.reset(); }

  void opensWithItsCaptionControlsAndTheSampleList() {
    auto form = open_window();
    QCOMPARE(form->windowTitle(), QStringLiteral(u"vuvarivu ―＞Kelmo変換プログラム"));
    QCOMPARE(control<QPushButton>(*form, "execute")->text(), QStringLiteral(u"実  行"));
    QCOMPARE(control<QPushButton>(*form, "exit")->text(), QStringLiteral(u"終  了"));
    QCOMPARE(control<QGroupBox>(*form, "source_frame")->title(), QStringLiteral(u"変換元地質柱状図番号選択"));
    QCOMPARE(control<QGroupBox>(*form, "status_frame")->title(), QStringLiteral(u"メッセージ"));
    QCOMPARE(control<QLabel>(*form, "list_heading")->text(), QStringLiteral(u"地質柱状図番号 ボーリング孔名"));
    QCOMPARE(control<QLineEdit>(*form, "source_folder_box")->text(), QString::fromStdString(dir_->native("database")));
    QCOMPARE(control<QLineEdit>(*form, "destination_folder_box")->text(), QString::fromStdString(dir_->native("out")));
    QCOMPARE(control<QLabel>(*form, "status_line")->text(), QString());
    QCOMPARE(form->size(), QSize(606, 433));
    QCOMPARE(control<QListWidget>(*form, "borehole_list")->geometry(), QRect(7, 42, 183, 200));
    QCOMPARE(control<QComboBox>(*form, "source_drives")->currentText(), QStringLiteral("/"));

    const std::vector<lodemark::CatalogueEntry> entries = lodemark::read_catalogue(program(U"database"));
    QVERIFY(entries.size() >= 2);
    auto* list = control<QListWidget>(*form, "borehole_list");
    QCOMPARE(list->count(), static_cast<int>(entries.size()));
    for (int i = 0; i < list->count(); ++i)
      QCOMPARE(list->item(i)->text(), qs(entries[static_cast<std::size_t>(i)].display_text()));
    QCOMPARE(list->selectedItems().size(), 0);
  }

  void listFontPutsTwoColumnsUnderEveryDoubleByteCharacter() {
    auto form = open_window();
    auto* list = control<QListWidget>(*form, "borehole_list");
    QCOMPARE(QFontInfo(list->font()).family(), QStringLiteral("Noto Sans Mono CJK JP"));
    const QFontMetrics metrics(list->font());
    const int column = metrics.horizontalAdvance(QLatin1Char('0'));
    QVERIFY(column > 0);
    for (const QString& wide :
         {QStringLiteral(u"地"), QStringLiteral(u"孔"), QStringLiteral(u"ボ"), QStringLiteral(u"１")})
      QCOMPARE(metrics.horizontalAdvance(wide), 2 * column);
    // A whole entry fits the list without a horizontal scroll.
    QVERIFY(20 * column <= list->viewport()->width());
  }

  // On Linux the pickers show native paths: "/" and the mounted file
  // systems in the drive lists, folders as the system writes them.
  void pickersShowNativePathsAndFollowTheUser() {
    auto form = open_window();
    auto* source_drives = control<QComboBox>(*form, "source_drives");
    auto* source_folders = control<QListWidget>(*form, "source_folders");
    auto* source_box = control<QLineEdit>(*form, "source_folder_box");
    auto* list = control<QListWidget>(*form, "borehole_list");
    const int entries = list->count();
    const BoxAnswerer boxes(QMessageBox::Ok);

    QStringList drives;
    for (int i = 0; i < source_drives->count(); ++i) drives << source_drives->itemText(i);
    QStringList mounted;
    for (const auto& volume : lodemark::platform::volumes()) mounted << qs(volume.name);
    QCOMPARE(drives, mounted);
    QCOMPARE(source_folders->item(0)->text(), QStringLiteral("/"));

    // Double-clicking the parent row opens it; the database row opens again.
    const auto open_row = [&](const QString& name) {
      const auto found = source_folders->findItems(name, Qt::MatchExactly);
      QCOMPARE(found.size(), 1);
      const QPoint at = source_folders->visualItemRect(found[0]).center();
      // A real double-click: press, release, then the double-click press.
      QTest::mouseClick(source_folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
      QTest::mouseDClick(source_folders->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };
    const QString temp_name = QString::fromStdString(fs::path(dir_->native()).filename().string());
    open_row(temp_name);
    QTRY_COMPARE(source_box->text(), QString::fromStdString(dir_->native()));
    QCOMPARE(list->count(), 0);
    open_row(QStringLiteral("database"));
    QTRY_COMPARE(source_box->text(), QString::fromStdString(dir_->native("database")));
    QCOMPARE(list->count(), entries);
    // A choice that names no drive is set back, and the folder list stays.
    source_drives->setCurrentIndex(-1);
    QCOMPARE(source_drives->currentText(), QStringLiteral("/"));
    QCOMPARE(source_box->text(), QString::fromStdString(dir_->native("database")));
    QVERIFY(!boxes.has_value());
  }

  void executeWritesTheSelectedBoreholesAndReportsSuccess() {
    auto form = open_window();
    auto* list = control<QListWidget>(*form, "borehole_list");
    select_rows(*form, {0, 1});
    QCOMPARE(list->selectedItems().size(), 2);

    QTest::mouseClick(control<QPushButton>(*form, "execute"), Qt::LeftButton);
    QCOMPARE(control<QLabel>(*form, "status_line")->text(), QStringLiteral(u"変換が正常に終了しました。"));
    QCOMPARE(ended_with_, -1);
    QVERIFY(form->presenter().completion_shown());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    for (const int row : {0, 1}) {
      const fs::path folder = fs::path(dir_->native("out")) / trimmed_log_no(list->item(row)->text());
      for (const char* name : {"Titl01.txt", "Titl02.txt", "Titl03.txt", "X1.txt", "X5.txt"})
        QVERIFY2(fs::is_regular_file(folder / name), (folder / name).c_str());
    }
    const fs::path unselected =
        fs::path(dir_->native("out")) / trimmed_log_no(list->item(2 < list->count() ? 2 : 0)->text());
    if (list->count() > 2) QVERIFY(!fs::exists(unselected));
    // The run leaves the selection and the new folders show in the destination folder list.
    QCOMPARE(list->selectedItems().size(), 2);
    QVERIFY(!control<QListWidget>(*form, "destination_folders")
                 ->findItems(qs(lodemark::from_utf8(trimmed_log_no(list->item(0)->text()))), Qt::MatchExactly)
                 .isEmpty());

    if (const QByteArray shot = qgetenv("LODEMARK_SCREENSHOT"); !shot.isEmpty()) {
      QTest::qWait(200);
      QVERIFY(form->grab().save(QString::fromLocal8Bit(shot)));
    }

    // A pointer over a control leaves the message; over the background it
    // clears it, once.
    auto* status = control<QLabel>(*form, "status_line");
    auto* picture = control<QWidget>(*form, "background");
    QTest::mouseMove(control<QPushButton>(*form, "exit"), QPoint(10, 10));
    QTest::qWait(50);
    QCOMPARE(status->text(), QStringLiteral(u"変換が正常に終了しました。"));
    QTest::mouseMove(picture, QPoint(5, 5));
    QTRY_COMPARE(status->text(), QString());
    QVERIFY(!form->presenter().completion_shown());
  }

  void nativeDestinationTakesARunThatDropsClicksAndShowsProgress() {
    auto form = open_window();
    auto* list = control<QListWidget>(*form, "borehole_list");
    const fs::path typed = dir_->native("out/typed-native");
    fs::create_directories(typed);
    control<QLineEdit>(*form, "destination_folder_box")->setText(QString::fromStdString(typed.string()));
    select_rows(*form, {0, 1, list->count() - 1});
    auto* execute = control<QPushButton>(*form, "execute");
    auto* progress = control<QProgressBar>(*form, "progress");
    QVERIFY(!progress->isVisible());

    // Once the progress shows, the first borehole's folder is removed and three
    // clicks are queued: any further run would write that folder anew.
    const fs::path first = typed / trimmed_log_no(list->item(0)->text());
    std::optional<int> total_seen;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, &during, [&] {
      if (!progress->isVisible()) return;
      total_seen = progress->maximum();
      during.stop();
      fs::remove_all(first);
      const QPointF at = QRectF(execute->rect()).center();
      for (int i = 0; i < 6; ++i)
        QCoreApplication::postEvent(
            execute,
            new QMouseEvent(i % 2 ? QEvent::MouseButtonRelease : QEvent::MouseButtonPress, at, execute->mapToGlobal(at),
                            Qt::LeftButton, i % 2 ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier));
    });
    during.start();
    QTest::mouseClick(execute, Qt::LeftButton);
    QCOMPARE(total_seen, std::optional<int>(list->selectedItems().size()));
    QVERIFY(!progress->isVisible());
    QCOMPARE(control<QLabel>(*form, "status_line")->text(), QStringLiteral(u"変換が正常に終了しました。"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    QVERIFY(fs::is_regular_file(typed / trimmed_log_no(list->item(1)->text()) / "Titl01.txt"));
    QTest::qWait(300);
    QVERIFY(!fs::exists(first));
    QCOMPARE(ended_with_, -1);
  }

  void executeWithNothingSelectedSaysSo() {
    auto form = open_window();
    const BoxAnswerer seen(QMessageBox::Ok);
    QTest::mouseClick(control<QPushButton>(*form, "execute"), Qt::LeftButton);
    QVERIFY(seen.has_value());
    QCOMPARE(seen->text, QStringLiteral(u"変換元データが選択されていません。"));
    QCOMPARE(seen->title, QStringLiteral("Lodemark"));
    QCOMPARE(seen->icon, QMessageBox::NoIcon);
    QCOMPARE(seen->buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(control<QLabel>(*form, "status_line")->text(), QString());
    QCOMPARE(ended_with_, -1);
  }

  void missingDestinationLevelIsAskedAboutWithTheQuestionIcon() {
    auto form = open_window();
    select_rows(*form, {0});
    control<QLineEdit>(*form, "destination_folder_box")->setText(QString::fromStdString(dir_->native("out/new-level")));
    const BoxAnswerer seen(QMessageBox::No);
    QTest::mouseClick(control<QPushButton>(*form, "execute"), Qt::LeftButton);
    QVERIFY(seen.has_value());
    QCOMPARE(seen->text, QStringLiteral(u"ディレクトリがありません。新規作成しますか？"));
    QCOMPARE(seen->icon, QMessageBox::Question);
    QStringList buttons = seen->buttons;
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral(u"いいえ"), QStringLiteral(u"はい")}));
    QVERIFY(!fs::exists(dir_->native("out/new-level")));
    QCOMPARE(control<QLabel>(*form, "status_line")->text(), QString());
  }

  void failureInsideARunIsReportedAndEndsTheProgram() {
    auto form = open_window();
    auto* list = control<QListWidget>(*form, "borehole_list");
    select_rows(*form, {0});
    // A file where the borehole's folder belongs: its files cannot be written.
    const std::string log_no = trimmed_log_no(list->item(0)->text());
    lodemark::test::write_bytes(dir_->native("blocked/" + log_no), "not a folder");
    control<QLineEdit>(*form, "destination_folder_box")->setText(QString::fromStdString(dir_->native("blocked")));

    const BoxAnswerer seen(QMessageBox::Ok);
    QTest::mouseClick(control<QPushButton>(*form, "execute"), Qt::LeftButton);
    QVERIFY(seen.has_value());
    QCOMPARE(seen->icon, QMessageBox::Critical);
    QCOMPARE(seen->title, QStringLiteral("Lodemark"));
    QVERIFY2(seen->text.contains(QString::fromStdString(log_no)), qPrintable(seen->text));
    QCOMPARE(ended_with_, 3);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(lodemark::test::read_bytes(dir_->native("blocked/" + log_no)), std::string("not a folder"));
  }

  void missingSettingEndsBeforeTheWindowShows() {
    const std::string ini = dir_->native("config/lodemark/ZidereV5.ini");
    const std::string kept = lodemark::test::read_bytes(ini);
    fs::remove(ini);
    MainWindow form(dir_->user_settings());
    const BoxAnswerer seen(QMessageBox::Ok);
    std::ostringstream errors;
    const auto status = form.presenter().start({dir_->native("database")}, errors);
    lodemark::test::write_bytes(ini, kept);
    QCOMPARE(status, std::optional<int>(2));
    QVERIFY(seen.has_value());
    QCOMPARE(seen->text, QStringLiteral(u" PATDAT の設定がありません."));
    QCOMPARE(seen->title, QStringLiteral("Lodemark"));
    QCOMPARE(seen->icon, QMessageBox::NoIcon);
    QVERIFY(!form.isVisible());
    QCOMPARE(control<QListWidget>(form, "borehole_list")->count(), 0);
  }

  void exitClosesTheWindow() {
    auto form = open_window();
    QVERIFY(form->isVisible());
    QTest::mouseClick(control<QPushButton>(*form, "exit"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
  }
};

int main(int argc, char** argv) { return lodemark::test::run_window_tests<MainWindowTest>(argc, argv); }

#include "main_window_test.moc"
