// Drives the export dialog of the real window: its lists drawn from the
// dialog's state and the user's choices passed back, OK only with a datum,
// then Qt's save dialog on the chosen format, the file it gives, and the
// export from the borehole list's menu to that file. With
// LODEMARK_EXPORT_SCREENSHOT=<png> set it also saves a picture of the
// dialog.
#include "gui/qt/export_dialog_box.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/export_dialog.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_test_support.h"

namespace fs = std::filesystem;
using lodemark::ExportDialog;
using lodemark::qt::ExportDialogBox;
using lodemark::qt::MainWindow;
using lodemark::qt::qs;
using lodemark::test::control;

namespace {

// Acts on the modal dialogs that show while it lives, each by the next step
// in turn. A dialog that a step leaves open, or one beyond the steps, is
// rejected, so that a failing test ends instead of hanging.
class ModalSteps {
 public:
  using Step = std::function<void(QDialog&)>;
  explicit ModalSteps(std::vector<Step> steps) : steps_(std::move(steps)) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible() || dialog == last_) return;
      last_ = dialog;
      if (taken_ < steps_.size()) steps_[taken_](*dialog);
      ++taken_;
      if (dialog->isVisible()) dialog->reject();
    });
    timer_.start();
  }
  // The dialogs that showed.
  std::size_t taken() const { return taken_; }

 private:
  std::vector<Step> steps_;
  QTimer timer_;
  QDialog* last_ = nullptr;
  std::size_t taken_ = 0;
};

QList<QRadioButton*> datum_buttons(QWidget& box) {
  return control<QWidget>(box, "ExportDatums")->findChildren<QRadioButton*>();
}

QPushButton* ok_button(QWidget& box) {
  return control<QDialogButtonBox>(box, "ExportButtons")->button(QDialogButtonBox::Ok);
}

QStringList items_of(const QComboBox& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
  return items;
}

QStringList format_labels(const ExportDialog& dialog) {
  QStringList labels;
  for (const lodemark::ExportFormatRow& row : dialog.formats()) labels << qs(row.label);
  return labels;
}

// The row of the format with that extension in the dialog's list; -1 when
// it has none.
int format_index(const ExportDialog& dialog, std::u32string_view extension) {
  const auto& formats = dialog.formats();
  for (std::size_t i = 0; i < formats.size(); ++i)
    if (formats[i].extension == extension) return static_cast<int>(i);
  return -1;
}

// The export dialog's step: chooses the datum at `row` and presses OK.
ModalSteps::Step choose_datum_and_accept(int row) {
  return [row](QDialog& box) {
    QVERIFY(!ok_button(box)->isEnabled());
    datum_buttons(box)[row]->click();
    QVERIFY(ok_button(box)->isEnabled());
    ok_button(box)->click();
  };
}

}  // namespace

class ExportDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lodemark::test::SampleHome> dir_;

  std::unique_ptr<MainWindow> open_window() {
    return dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
  }

 private slots:
  void initTestCase() { dir_ = std::make_unique<lodemark::test::SampleHome>(); }
  void cleanupTestCase() { dir_.reset(); }

  // The dialog draws the choices it is given, passes the user's back, and
  // lets OK through only once there is a datum.
  void exportDialogShowsTheChoicesAndWaitsForADatum() {
    auto form = open_window();
    const struct {
      const char* name;
      std::optional<lodemark::Datum> remembered;
      lodemark::exports::TableKind table;
    } rows[] = {
        {"nothing remembered, the points", std::nullopt, lodemark::exports::TableKind::Boreholes},
        {"JGD2000 remembered, the layers", lodemark::Datum::Jgd2000, lodemark::exports::TableKind::Layers},
    };
    for (const auto& row : rows) {
      ExportDialog dialog(row.remembered, row.table, U"database");
      ExportDialogBox box(dialog, form.get());
      box.show();
      QVERIFY(QTest::qWaitForWindowExposed(&box));
      QCOMPARE(box.windowTitle(), QStringLiteral(u"位置データの書き出し"));
      const QList<QRadioButton*> datums = datum_buttons(box);
      QCOMPARE(datums.size(), 3);
      for (int i = 0; i < datums.size(); ++i) {
        QCOMPARE(datums[i]->text(), qs(dialog.datum_labels()[static_cast<std::size_t>(i)]));
        QCOMPARE(datums[i]->isChecked(), row.remembered && i == 1);
      }
      auto* hint = control<QLabel>(box, "ExportDatumHint");
      QVERIFY2(hint->geometry().top() >= control<QWidget>(box, "ExportDatums")->geometry().bottom(), row.name);
      QCOMPARE(control<QComboBox>(box, "ExportTable")->currentIndex(), static_cast<int>(row.table));
      auto* formats = control<QComboBox>(box, "ExportFormat");
      QCOMPARE(items_of(*formats), format_labels(dialog));

      QCOMPARE(ok_button(box)->isEnabled(), row.remembered.has_value());
      if (const QByteArray shot = qgetenv("LODEMARK_EXPORT_SCREENSHOT"); !shot.isEmpty() && !row.remembered) {
        QTest::qWait(200);
        QVERIFY(box.grab().save(QString::fromLocal8Bit(shot)));
      }
      if (!row.remembered) {
        box.accept();  // as Enter would: no datum, no closing
        QVERIFY2(box.isVisible(), row.name);
      }
      datums[2]->click();
      QCOMPARE(dialog.datum_row(), std::optional<std::size_t>(2));
      QVERIFY(ok_button(box)->isEnabled());

      // The CSV chosen among the points' formats stays chosen for the
      // layers, whose list holds only formats that take a table.
      auto* tables = control<QComboBox>(box, "ExportTable");
      tables->setCurrentIndex(0);
      QVERIFY(format_index(dialog, U".geojson") >= 0);
      const int csv = format_index(dialog, U".csv");
      QVERIFY(csv >= 0);
      formats->setCurrentIndex(csv);
      QCOMPARE(qs(dialog.format().extension), QStringLiteral(".csv"));
      tables->setCurrentIndex(1);
      QCOMPARE(dialog.choice().table, lodemark::exports::TableKind::Layers);
      QCOMPARE(items_of(*formats), format_labels(dialog));
      QCOMPARE(format_index(dialog, U".geojson"), -1);
      QCOMPARE(formats->currentIndex(), format_index(dialog, U".csv"));
      QCOMPARE(qs(dialog.format().extension), QStringLiteral(".csv"));
      for (const lodemark::ExportFormatRow& format : dialog.formats())
        QVERIFY2(lodemark::exports::holds_tables(format.format), qPrintable(qs(format.label)));
    }
  }

  // The file named in the save dialog, which opens on the chosen format
  // with the suggested name in the destination folder, then where the last
  // export went.
  void askExportGivesTheFileNamedInTheSaveDialog() {
    auto form = open_window();
    const QString out = QString::fromStdString(dir_->native("out"));
    fs::create_directories(dir_->native("out/maps"));
    const struct {
      const char* name;
      bool accept_box;
      QString typed;     // in the save dialog; empty: cancelled there
      QString folder;    // where the save dialog opens
      QString expected;  // the file given; empty: none
    } rows[] = {
        {"cancelled in the export dialog", false, {}, {}, {}},
        {"cancelled in the save dialog", true, {}, out, {}},
        {"typed with its extension", true, out + QStringLiteral(u"/maps/地点.geojson"), out,
         out + QStringLiteral(u"/maps/地点.geojson")},
        {"typed without one, in the last folder", true, QStringLiteral("points"), out + QStringLiteral("/maps"),
         out + QStringLiteral("/maps/points.geojson")},
    };
    for (const auto& row : rows) {
      ExportDialog dialog(std::nullopt, lodemark::exports::TableKind::Boreholes, U"database");
      const ModalSteps::Step cancel_box = [](QDialog& box) {
        control<QDialogButtonBox>(box, "ExportButtons")->button(QDialogButtonBox::Cancel)->click();
      };
      const ModalSteps::Step save_step = [&](QDialog& shown) {
        auto* save = qobject_cast<QFileDialog*>(&shown);
        QVERIFY2(save && save->objectName() == QStringLiteral("ExportSaveDialog"), row.name);
        QCOMPARE(save->nameFilters(), QStringList{qs(dialog.format().label)});
        QCOMPARE(save->directory().absolutePath(), row.folder);
        QCOMPARE(save->selectedFiles().value(0), row.folder + QLatin1Char('/') + qs(dialog.suggested_file_name()));
        if (row.typed.isEmpty()) return;
        // Typed into the name box, as the user does.
        control<QLineEdit>(*save, "fileNameEdit")->setText(row.typed);
        QMetaObject::invokeMethod(save, "accept");  // as the Save button does
      };
      std::vector<ModalSteps::Step> steps{row.accept_box ? choose_datum_and_accept(0) : cancel_box};
      if (row.accept_box) steps.push_back(save_step);
      const ModalSteps driver(steps);
      const std::optional<std::string> file = form->ask_export(dialog);
      QCOMPARE(file.has_value(), !row.expected.isEmpty());
      if (file) QCOMPARE(QString::fromStdString(*file), row.expected);
      QCOMPARE(driver.taken(), steps.size());
    }
  }
  // From the list's menu to the file, as the user goes: the points of every
  // listed borehole, then their layers, whose dialog offers the datum chosen
  // the first time.
  void listMenuExportsTheListedBoreholesToTheFileNamed() {
    auto form = open_window();
    const int listed = control<QListWidget>(*form, "borehole_list")->count();
    const struct {
      const char* name;
      int menu_item;  // after the check
      const char* file;
      int table;
      bool remembered;
    } rows[] = {
        {"the points", 1, "out/points.geojson", 0, false},
        {"the layers", 2, "out/layers.csv", 1, true},
    };
    for (const auto& row : rows) {
      const QString file = QString::fromStdString(dir_->native(row.file));
      const ModalSteps driver({[&](QDialog& box) {
                                 QCOMPARE(control<QComboBox>(box, "ExportTable")->currentIndex(), row.table);
                                 QCOMPARE(datum_buttons(box)[2]->isChecked(), row.remembered);
                                 if (row.remembered)
                                   ok_button(box)->click();
                                 else
                                   choose_datum_and_accept(2)(box);
                               },
                               [&](QDialog& save) {
                                 control<QLineEdit>(save, "fileNameEdit")->setText(file);
                                 QMetaObject::invokeMethod(&save, "accept");
                               }});
      lodemark::test::pick_from_list_menu(*form, row.menu_item);
      QCOMPARE(driver.taken(), std::size_t{2});
      QVERIFY2(control<QLabel>(*form, "status_line")->text().endsWith(file), row.name);
      QVERIFY2(fs::is_regular_file(file.toStdString()), row.name);
    }
    // Qt's own reader: one point per listed borehole.
    QFile points(QString::fromStdString(dir_->native("out/points.geojson")));
    QVERIFY(points.open(QIODevice::ReadOnly));
    const QJsonObject collection = QJsonDocument::fromJson(points.readAll()).object();
    QCOMPARE(collection.value(QStringLiteral("type")).toString(), QStringLiteral("FeatureCollection"));
    QCOMPARE(collection.value(QStringLiteral("features")).toArray().size(), listed);
  }
};

int main(int argc, char** argv) { return lodemark::test::run_window_tests<ExportDialogTest>(argc, argv); }

#include "export_dialog_box_test.moc"
