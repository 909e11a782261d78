// Drives the preview of the real window: opened by a double-click and by
// Enter on a borehole of the list, drawn on screen at its physical size
// (compared with a reference image within a tolerance), laid out again at
// the chosen scale and for a report, and saved as PNG (render's bytes), SVG
// (the command line's golden file, byte for byte) and PDF (its pages read
// by poppler's pdfinfo). With LODEMARK_PREVIEW_SCREENSHOT=<png> set it also
// saves a picture of the preview window.
#include "gui/qt/preview_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "gui/preview_sheet.h"
#include "gui/qt/window_test_support.h"
#include "preview/layout.h"
#include "preview/svg_painter.h"
#include "render/picture_file.h"
#include "support/small_disk.h"

namespace fs = std::filesystem;
using lodemark::qt::MainWindow;
using lodemark::qt::PreviewWindow;
using lodemark::render::PictureFormat;
using lodemark::test::BoxAnswerer;
using lodemark::test::control;

namespace {

const fs::path kGolden = fs::path(LODEMARK_SOURCE_DIR) / "tests/data/golden/preview";

// The share of pixels of which some channel differs by more than 48; 1 for
// images of different sizes.
double differing_share(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  long differing = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
          std::abs(qBlue(p) - qBlue(q)) > 48)
        ++differing;
    }
  return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

// The picture's size in the window's pixels: points at the screen's dpi.
int shown_pixels(double points, const QWidget& view) {
  return static_cast<int>(std::ceil(points * lodemark::screen_pixels_per_point(view.logicalDpiX())));
}

// The pages of a PDF as poppler's pdfinfo counts them; -1 when it cannot.
int pdf_pages(const fs::path& pdf) {
  QProcess pdfinfo;
  pdfinfo.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())});
  if (!pdfinfo.waitForFinished(20000) || pdfinfo.exitCode() != 0) return -1;
  for (const QByteArray& line : pdfinfo.readAllStandardOutput().split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

int row_of(QListWidget& list, const std::string& log_no) {
  for (int row = 0; row < list.count(); ++row)
    if (lodemark::test::trimmed_log_no(list.item(row)->text()) == log_no) return row;
  qFatal("no borehole %s in the list", log_no.c_str());
}

}  // namespace

class PreviewWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<lodemark::test::SampleHome> dir_;

  static QList<PreviewWindow*> previews(MainWindow& form) {
    QList<PreviewWindow*> found;
    for (QWidget* widget : form.findChildren<QWidget*>(QStringLiteral("PreviewWindow"), Qt::FindDirectChildrenOnly))
      if (auto* preview = dynamic_cast<PreviewWindow*>(widget)) found << preview;
    return found;
  }

  // Opens the preview of `log_no` by a double-click or by Enter on its entry.
  static PreviewWindow* open_preview(MainWindow& form, const std::string& log_no, bool by_enter) {
    auto* list = control<QListWidget>(form, "borehole_list");
    QListWidgetItem* item = list->item(row_of(*list, log_no));
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    if (by_enter)
      QTest::keyClick(list, Qt::Key_Return);
    else
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    const QList<PreviewWindow*> open = previews(form);
    return open.size() == 1 ? open.front() : nullptr;
  }

 private slots:
  void initTestCase() { dir_ = std::make_unique<lodemark::test::SampleHome>(); }
  void cleanupTestCase() { dir_.reset(); }

  void doubleClickAndEnterOpenThatBoreholesPreviewAndRunNothing() {
    const struct {
      const char* how;
      std::string log_no;
      bool by_enter;
    } rows[] = {{"double-click", "B-101", false}, {"Enter", "B-101", true}, {"Enter, another", "B-103", true}};
    for (const auto& row : rows) {
      auto form = dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
      PreviewWindow* preview = open_preview(*form, row.log_no, row.by_enter);
      QVERIFY2(preview, row.how);
      QCOMPARE(preview->windowTitle(),
               QString::fromStdU32String(U"プレビュー - ") + QString::fromStdString(row.log_no));
      QVERIFY(preview->isVisible());
      QVERIFY(!preview->isModal());
      // scripts/screenshot.sh --preview: a picture of the window for the manual.
      if (const QByteArray shot = qgetenv("LODEMARK_PREVIEW_SCREENSHOT"); !shot.isEmpty() && !row.by_enter) {
        QTest::qWait(200);
        QVERIFY(preview->grab().save(QString::fromLocal8Bit(shot)));
      }
      // Enter opens the preview only: no run, nothing written.
      QVERIFY2(!form->presenter().completion_shown(), row.how);
      QVERIFY2(fs::is_empty(dir_->native("out")), row.how);
    }
  }

  void savedPicturesAreTheCommandLinesAndTheReference() {
    auto form = dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
    PreviewWindow* preview = open_preview(*form, "B-101", false);
    QVERIFY(preview);
    const fs::path out = dir_->native("out");
    const auto path = [&](const char* name) { return QString::fromStdString((out / name).string()); };

    QVERIFY(preview->save_to(path("B-101.svg"), PictureFormat::Svg));
    const std::string svg = lodemark::test::read_bytes(out / "B-101.svg");
    QCOMPARE(svg, lodemark::preview::paint_svg(preview->picture()));
    // The window gathers the borehole as `lodemark-cli preview` does.
    QCOMPARE(svg, lodemark::test::read_bytes(kGolden / "B-101.svg"));

    // Saved as the command line draws it (render's picture_bytes, through
    // the shared save step).
    QVERIFY(preview->save_to(path("B-101.png"), PictureFormat::Png));
    QVERIFY(lodemark::test::read_bytes(out / "B-101.png") ==
            lodemark::render::picture_bytes(preview->picture(), PictureFormat::Png));

    // On screen the window paints with Qt; the reference is made by this
    // code, once, deliberately.
    auto* scroll = control<QScrollArea>(*preview, "PreviewPicture");
    const QImage shown = scroll->widget()->grab().toImage();
    if (std::getenv("LODEMARK_UPDATE_GOLDEN"))
      QVERIFY(shown.save(QString::fromStdString((kGolden / "B-101.png").string())));
    QCOMPARE(shown.width(), shown_pixels(preview->picture().width, *scroll->widget()));
    QCOMPARE(shown.height(), shown_pixels(preview->picture().height, *scroll->widget()));
    const double share = differing_share(shown, QImage(QString::fromStdString((kGolden / "B-101.png").string())));
    QVERIFY2(share <= 0.02, qPrintable(QStringLiteral("%1 of the pixels differ").arg(share)));

    QVERIFY(preview->save_to(path("B-101.pdf"), PictureFormat::Pdf));
    const std::string pdf = lodemark::test::read_bytes(out / "B-101.pdf");
    QVERIFY(pdf.starts_with("%PDF"));
    QVERIFY(pdf.size() > 1000);

    // A folder that does not exist: said so, with the reason, and nothing
    // claimed saved.
    for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
      BoxAnswerer answer(QMessageBox::Ok);
      QVERIFY(!preview->save_to(path("missing/B-101.x"), format));
      QVERIFY(answer.has_value());
      QVERIFY(answer->text.startsWith(QString::fromStdU32String(U"プレビューを保存できませんでした: ") +
                                      path("missing/B-101.x") + QLatin1Char('\n')));
    }
  }

  // The scale list and the report box lay the borehole the window was
  // opened with out again (what each choice means is the shared sheet's,
  // tested without a toolkit); the view takes the new picture's size and a
  // PDF saved then has the pages of those options.
  void choicesLayTheSheetOutAgainAndThePdfHasItsPages() {
    auto form = dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
    PreviewWindow* preview = open_preview(*form, "B-101", false);
    QVERIFY(preview);
    preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    auto* scale = control<QComboBox>(*preview, "PreviewScale");
    auto* for_report = control<QCheckBox>(*preview, "PreviewForReport");
    auto* scroll = control<QScrollArea>(*preview, "PreviewPicture");
    QCOMPARE(scale->count(), static_cast<int>(lodemark::scale_labels().size()));
    QCOMPARE(scale->currentText(), QStringLiteral("1:100"));
    QVERIFY(!for_report->isChecked());
    // The whole width of the page is in view unless the screen is narrower,
    // and the window's height is on the screen.
    const QRect screen_room = preview->screen()->availableGeometry();
    QVERIFY(scroll->viewport()->width() >= scroll->widget()->width() || preview->width() >= screen_room.width());
    QVERIFY(preview->frameGeometry().height() <= screen_room.height());

    const lodemark::preview::BoreholePreview& borehole = preview->sheet().borehole();
    const struct {
      const char* scale;
      bool for_report;
    } steps[] = {{"1:200", false}, {"1:200", true}, {"1:50", true}, {"1:100", false}};
    for (const auto& step : steps) {
      const QString scale_text = QString::fromLatin1(step.scale);
      scale->setCurrentIndex(scale->findText(scale_text));
      if (for_report->isChecked() != step.for_report) QTest::mouseClick(for_report, Qt::LeftButton);
      QCOMPARE(for_report->isChecked(), step.for_report);
      const lodemark::preview::SheetOptions& options = preview->sheet().options();
      QCOMPARE(QString::fromStdU32String(lodemark::preview::scale_text(options.scale)), scale_text);
      QCOMPARE(options.for_report, step.for_report);
      const lodemark::preview::Picture expected = lodemark::preview::lay_out(borehole, options).picture;
      QCOMPARE(lodemark::preview::paint_svg(preview->picture()), lodemark::preview::paint_svg(expected));
      QCOMPARE(scroll->widget()->height(), shown_pixels(expected.height, *scroll->widget()));
    }

    scale->setCurrentIndex(scale->findText(QStringLiteral("1:50")));
    const fs::path pdf = fs::path(dir_->native("out")) / "B-101.pdf";
    QVERIFY(preview->save_to(QString::fromStdString(pdf.string()), PictureFormat::Pdf));
    const auto pages = lodemark::preview::lay_out_pages(borehole, preview->sheet().options()).size();
    QCOMPARE(pdf_pages(pdf), static_cast<int>(pages));
  }

  // The window's saves go through the guard with the window's own inputs:
  // a dictionary is not replaced by a picture.
  void aSaveOntoAnInputIsRefusedWithTheReason() {
    auto form = dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
    PreviewWindow* preview = open_preview(*form, "B-101", false);
    QVERIFY(preview);
    const std::string dictionary = lodemark::test::read_bytes(dir_->path("patdat/KISHITU.TXT"));
    BoxAnswerer answer(QMessageBox::Ok);
    QVERIFY(!preview->save_to(QString::fromStdString(dir_->native("patdat/KISHITU.TXT")), PictureFormat::Svg));
    QVERIFY(answer.has_value());
    QVERIFY(answer->text.endsWith(QString::fromStdU32String(lodemark::kOutputInPatternData)));
    QCOMPARE(lodemark::test::read_bytes(dir_->path("patdat/KISHITU.TXT")), dictionary);
  }

  // A full disk (a small tmpfs, filled): the earlier picture stays whole, a
  // new one is not left cut short, and the box gives the system's reason.
  void aFullDiskKeepsTheEarlierPictureAndSaysWhy() {
    const lodemark::test::SmallDisk disk(dir_->path("full"));
    if (!disk.problem().empty()) QSKIP(disk.problem().c_str());
    const std::string earlier(20000, 'e');
    lodemark::test::write_bytes(dir_->path("full/old.png"), earlier);
    QVERIFY(disk.fill());
    auto form = dir_->open_window([](int status) { qFatal("the program ended with %d", status); });
    PreviewWindow* preview = open_preview(*form, "B-101", false);
    QVERIFY(preview);
    const struct {
      const char* file;
      PictureFormat format;
    } rows[] = {{"old.png", PictureFormat::Png}, {"new.svg", PictureFormat::Svg}, {"new.pdf", PictureFormat::Pdf}};
    for (const auto& row : rows) {
      BoxAnswerer answer(QMessageBox::Ok);
      QVERIFY2(!preview->save_to(QString::fromStdString(dir_->native("full/") + row.file), row.format), row.file);
      QVERIFY2(answer.has_value(), row.file);
      QVERIFY2(answer->text.endsWith(QStringLiteral("\nNo space left on device")), qPrintable(answer->text));
    }
    QCOMPARE(lodemark::test::read_bytes(dir_->path("full/old.png")), earlier);
    QCOMPARE(lodemark::test::folder_entries(dir_->native("full")), (std::vector<std::string>{".filler", "old.png"}));
  }
};

int main(int argc, char** argv) { return lodemark::test::run_window_tests<PreviewWindowTest>(argc, argv); }

#include "preview_window_test.moc"
