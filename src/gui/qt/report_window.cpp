#include "gui/qt/report_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "base/failure.h"
#include "base/messages.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/command_line.h"
#include "platform/files.h"

namespace lodemark::qt {
namespace {

QPushButton* button(QWidget* parent, const char* name, std::u32string_view caption) {
  auto* b = new QPushButton(qs(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

ReportWindow::ReportWindow(CheckReport report, QWidget* parent)
    : QWidget(parent, Qt::Window), report_(std::move(report)) {
  setObjectName(QStringLiteral("ReportWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(kReportWindowTitle));
  setFont(ui_font());
  resize(900, 420);

  table_ = new QTableWidget(static_cast<int>(report_.problems.size()), static_cast<int>(kReportColumnCount), this);
  table_->setObjectName(QStringLiteral("ReportTable"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  for (std::size_t column = 0; column < kReportColumnCount; ++column)
    table_->setHorizontalHeaderItem(static_cast<int>(column),
                                    new QTableWidgetItem(qs(report_column_title(static_cast<ReportColumn>(column)))));
  QHeaderView* header = table_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);  // until the first click: the check's order
  header->setStretchLastSection(true);
  // The table sorts itself through sorted_rows, so that both windows sort alike.
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int section) { sort_by(static_cast<ReportColumn>(section)); });

  counts_ = new QLabel(qs(report_counts_line(report_)), this);
  counts_->setObjectName(QStringLiteral("ReportCounts"));
  QPushButton* save = button(this, "ReportSave", kReportSaveCsv);
  QPushButton* close_button = button(this, "ReportClose", kReportClose);
  connect(save, &QPushButton::clicked, this, [this] { save_clicked(); });
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(counts_, 1);
  buttons->addWidget(save);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);

  fill_table();
  table_->resizeColumnsToContents();
}

void ReportWindow::sort_by(ReportColumn column) {
  ascending_ = sorted_on_ == column ? !ascending_ : true;
  sorted_on_ = column;
  QHeaderView* header = table_->horizontalHeader();
  header->setSortIndicatorShown(true);
  header->setSortIndicator(static_cast<int>(column), ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
  fill_table();
}

void ReportWindow::fill_table() {
  std::vector<std::size_t> rows;
  if (sorted_on_) {
    rows = sorted_rows(report_, *sorted_on_, ascending_);
  } else {
    for (std::size_t i = 0; i < report_.problems.size(); ++i) rows.push_back(i);
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const Problem& problem = report_.problems[rows[row]];
    for (std::size_t column = 0; column < kReportColumnCount; ++column) {
      const auto which = static_cast<ReportColumn>(column);
      auto* item = new QTableWidgetItem(qs(report_cell(problem, which)));
      if (which == ReportColumn::Line) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(row), static_cast<int>(column), item);
    }
  }
}

void ReportWindow::save_clicked() {
  const QString path = QFileDialog::getSaveFileName(this, qs(kReportSaveCsv), QString(), qs(kReportCsvFilter));
  if (!path.isEmpty()) save_csv_to(path);
}

bool ReportWindow::save_csv_to(const QString& native_path) {
  std::u32string reason;
  if (const auto program = platform::program_path_of_argument(native_path.toStdString())) {
    try {
      save_report_csv(report_, ProgramPath(*program));
      return true;
    } catch (const platform::FileError& failure) {
      reason = failure.reason();
    } catch (const Failure& failure) {
      reason = failure.message();
    }
  } else {
    reason = kCannotMapDrive;
  }
  show_message_box(this, kReportSaveFailed + us(native_path) + U"\n" + reason, BoxStyle::OkExclamation, kAppTitle);
  return false;
}

}  // namespace lodemark::qt
