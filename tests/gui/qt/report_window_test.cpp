// Drives the check report of the real window: opened from the borehole
// list's context menu and by F7, its table and header sorting, its counts
// line, and its CSV compared byte for byte with what a separate
// `lodemark-cli check --format csv` process writes for the same boreholes.
#include "gui/qt/report_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/qt/window_test_support.h"

namespace fs = std::filesystem;
using lodemark::qt::MainWindow;
using lodemark::qt::ReportWindow;
using lodemark::test::BoxAnswerer;
using lodemark::test::control;

namespace {

// The standard output of `lodemark-cli check SOURCE --patdat PATDAT --format
// csv LOGNO...`, run as a process of its own.
QByteArray cli_csv(const std::string& source, const std::string& patdat, const std::vector<std::string>& log_nos) {
  QStringList args{QStringLiteral("check"),        QString::fromStdString(source), QStringLiteral("--patdat"),
                   QString::fromStdString(patdat), QStringLiteral("--format"),     QStringLiteral("csv")};
  for (const std::string& log_no : log_nos) args << QString::fromStdString(log_no);
  QProcess cli;
  cli.start(QStringLiteral(LODEMARK_CLI), args);
  if (!cli.waitForFinished(30000)) qFatal("lodemark-cli did not finish");
  // 1: problems were found.
  if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 1) qFatal("lodemark-cli check failed");
  return cli.readAllStandardOutput();
}

// The texts of one column of the table, top to bottom.
QStringList column(QTableView& table, int index) {
  QStringList texts;
  const QAbstractItemModel& rows = *table.model();
  for (int row = 0; row < rows.rowCount(); ++row) texts << rows.index(row, index).data().toString();
  return texts;
}

QString cell(QTableView& table, int row, int column) { return table.model()->index(row, column).data().toString(); }

}  // namespace

class ReportWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lodemark::test::SampleHome> dir_;
  int ended_with_ = -1;

  std::unique_ptr<MainWindow> open_window() {
    ended_with_ = -1;
    return dir_->open_window([this](int status) { ended_with_ = status; });
  }

  // The report windows open beside the main window.
  // (By name: the window has no meta-object of its own for findChildren.)
  static QList<ReportWindow*> reports(MainWindow& form) {
    QList<ReportWindow*> found;
    for (QWidget* widget : form.findChildren<QWidget*>(QStringLiteral("ReportWindow"), Qt::FindDirectChildrenOnly))
      if (auto* report = dynamic_cast<ReportWindow*>(widget)) found << report;
    return found;
  }

  // Right-clicks the list and picks the check, the menu's first item.
  QStringList check_from_context_menu(MainWindow& form) { return lodemark::test::pick_from_list_menu(form, 0); }

  void press_f7(MainWindow& form) {
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) qFatal("the window does not become active");
    QTest::keyClick(&form, Qt::Key_F7);
  }

 private slots:
  void initTestCase() { dir_ = std::make_unique<lodemark::test::SampleHome>(); }
  void cleanupTestCase() { dir_.reset(); }

  void contextMenuOpensTheReportOfAllListedBoreholes() {
    auto form = open_window();
    QCOMPARE(check_from_context_menu(*form),
             (QStringList{QStringLiteral(u"選択した柱状図を検査…|F7"), QStringLiteral(u"位置データを書き出す…|"),
                          QStringLiteral(u"層の表を書き出す…|")}));
    QTRY_COMPARE(reports(*form).size(), 1);
    ReportWindow& report = *reports(*form)[0];
    QVERIFY(report.isVisible());
    QCOMPARE(report.windowTitle(), QStringLiteral(u"検査結果"));
    QCOMPARE(report.font().family(), QStringLiteral("Noto Sans CJK JP"));
    auto& table = *control<QTableView>(report, "ReportTable");
    QStringList titles;
    for (int c = 0; c < table.model()->columnCount(); ++c)
      titles << table.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{QStringLiteral(u"重大度"), QStringLiteral(u"規則"), QStringLiteral(u"ファイル"),
                                  QStringLiteral(u"行"), QStringLiteral(u"柱状図番号"), QStringLiteral(u"内容")}));
    // The sample's seven problems, in the check's order.
    QCOMPARE(column(table, 3), (QStringList{"11", "16", "24", "24", "31", "47", "5"}));
    QCOMPARE(column(table, 4), (QStringList{"B-103", "B-104", "B-106", "B-106", "B-108", "B-112", "B-105"}));
    QCOMPARE(cell(table, 2, 0), QStringLiteral(u"エラー"));
    QCOMPARE(cell(table, 2, 1), QStringLiteral("alternation-soil-unknown"));
    QVERIFY(cell(table, 0, 5).contains(QStringLiteral(u"粘土と礫の互層")));
    QCOMPARE(table.model()->index(0, 5).data(Qt::ToolTipRole).toString(), cell(table, 0, 5));
    QCOMPARE(control<QLabel>(report, "ReportCounts")->text(),
             QStringLiteral(u"検査した柱状図: 12 本、エラー: 2 件、警告: 5 件"));
    // Not modal: the main window still takes clicks.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(ended_with_, -1);
    // scripts/screenshot.sh --report: a picture of the report for the manual.
    if (const QByteArray shot = qgetenv("LODEMARK_REPORT_SCREENSHOT"); !shot.isEmpty()) {
      report.resize(900, 300);
      QTest::qWait(200);
      QVERIFY(report.grab().save(QString::fromLocal8Bit(shot)));
    }

    control<QPushButton>(report, "ReportClose")->click();
    QTRY_COMPARE(reports(*form).size(), 0);
  }

  void headerClicksSortAndAClickAgainReverses() {
    auto form = open_window();
    check_from_context_menu(*form);
    QTRY_COMPARE(reports(*form).size(), 1);
    auto& table = *control<QTableView>(*reports(*form)[0], "ReportTable");
    QHeaderView* header = table.horizontalHeader();
    const auto click = [&](int section) {
      QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    const struct {
      int section;
      int data_column;
      QStringList expected;
    } rows[] = {
        // Lines as numbers; ties in the check's order (B-106's error first).
        {3, 3, {"5", "11", "16", "24", "24", "31", "47"}},
        {3, 4, {"B-112", "B-108", "B-106", "B-106", "B-104", "B-103", "B-105"}},
        // Errors before warnings.
        {0, 4, {"B-106", "B-105", "B-103", "B-104", "B-106", "B-108", "B-112"}},
        // As text; B-106's two in the check's order.
        {4,
         1,
         {"alternation-name-new", "alternation-name-new", "value-count-long", "alternation-soil-unknown",
          "alternation-name-new", "alternation-name-new", "alternation-name-new"}},
    };
    for (const auto& row : rows) {
      click(row.section);
      QCOMPARE(column(table, row.data_column), row.expected);
    }
    QCOMPARE(header->sortIndicatorSection(), 4);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
  }

  void savedCsvIsWhatTheCommandLineCheckWrites() {
    const struct {
      const char* name;
      std::vector<int> selected;
      bool by_key;
    } rows[] = {{"all, from the menu", {}, false}, {"a selection, by F7", {4, 5, 10}, true}};
    for (const auto& row : rows) {
      auto form = open_window();
      lodemark::test::select_rows(*form, row.selected);
      std::vector<std::string> log_nos;
      for (const int index : row.selected)
        log_nos.push_back(
            lodemark::test::trimmed_log_no(control<QListWidget>(*form, "borehole_list")->item(index)->text()));
      if (row.by_key)
        press_f7(*form);
      else
        check_from_context_menu(*form);
      QTRY_COMPARE(reports(*form).size(), 1);
      ReportWindow& report = *reports(*form)[0];
      // Sorting the table leaves the CSV in the check's order.
      report.sort_by(lodemark::ReportColumn::Message);
      const std::string saved = dir_->native(std::string("report ") + row.name + ".csv");
      QVERIFY(report.save_csv_to(QString::fromStdString(saved)));
      const QByteArray expected = cli_csv(dir_->native("database"), dir_->native("patdat"), log_nos);
      QVERIFY2(expected.count('\n') > 1, row.name);
      QCOMPARE(QByteArray::fromStdString(lodemark::test::read_bytes(saved)), expected);
    }
  }

  void failedSaveNamesTheFileAndChangesNothing() {
    auto form = open_window();
    press_f7(*form);
    QTRY_COMPARE(reports(*form).size(), 1);
    ReportWindow& report = *reports(*form)[0];
    auto& table = *control<QTableView>(report, "ReportTable");
    const QStringList before = column(table, 5);
    const std::string target = dir_->native("no-such-folder/report.csv");
    const BoxAnswerer seen(QMessageBox::Ok);
    QVERIFY(!report.save_csv_to(QString::fromStdString(target)));
    QVERIFY(seen.has_value());
    QVERIFY2(seen->text.contains(QString::fromStdString(target)), qPrintable(seen->text));
    QCOMPARE(seen->icon, QMessageBox::Warning);
    QVERIFY(!fs::exists(dir_->native("no-such-folder")));
    QVERIFY(report.isVisible());
    QCOMPARE(column(table, 5), before);
    QCOMPARE(ended_with_, -1);
  }

  void checkThatCannotFinishShowsWhyAndNoReport() {
#ifdef _WIN32
    QSKIP("a file nobody may read cannot be made with the read-only attribute");
#endif
    fs::copy(fs::path(dir_->native("database")), fs::path(dir_->native("unreadable")));
    const std::string layers = lodemark::test::read_bytes(dir_->native("database/Rodev2.Dat"));
    if (!lodemark::test::make_unreadable(dir_->native("unreadable/Rodev2.Dat"), layers))
      QSKIP("no unreadable file to be had");
    auto form = open_window();
    QVERIFY(form->presenter().pick_source_folder(dir_->program(U"unreadable")));
    const BoxAnswerer seen(QMessageBox::Ok);
    press_f7(*form);
    QTRY_VERIFY(seen.has_value());
    QCOMPARE(seen->text, QStringLiteral(u"検査を最後まで行えませんでした。"));
    QVERIFY2(seen->detail.contains(QStringLiteral("Rodev2.Dat")), qPrintable(seen->detail));
    QCOMPARE(reports(*form).size(), 0);
    QCOMPARE(ended_with_, -1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

int main(int argc, char** argv) { return lodemark::test::run_window_tests<ReportWindowTest>(argc, argv); }

#include "report_window_test.moc"
