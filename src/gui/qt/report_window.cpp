#include "gui/qt/report_window.h"

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "base/messages.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "gui/save_file.h"

namespace lodemark::qt {
namespace {

QPushButton* button(QWidget* parent, const char* name, std::u32string_view caption) {
  auto* b = new QPushButton(qs(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

// The table's rows straight from the report, in the order given: a report of
// many thousand problems costs no item objects, and a sort only a new order.
class ProblemTable final : public QAbstractTableModel {
 public:
  ProblemTable(CheckReport report, QObject* parent) : QAbstractTableModel(parent), table_(std::move(report)) {}
  const ReportTable& table() const { return table_; }

  void header_clicked(ReportColumn column) {
    beginResetModel();
    table_.header_clicked(column);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(kReportColumnCount);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const auto column = static_cast<ReportColumn>(index.column());
    if (role == Qt::TextAlignmentRole && column == ReportColumn::Line)
      return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    // A long message is cut at the window's edge; its tip shows it whole.
    const bool tip = role == Qt::ToolTipRole && column == ReportColumn::Message;
    if (role != Qt::DisplayRole && !tip) return {};
    return qs(table_.cell(static_cast<std::size_t>(index.row()), column));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return qs(report_column_title(static_cast<ReportColumn>(section)));
  }

 private:
  ReportTable table_;
};

ReportWindow::ReportWindow(CheckReport report, GuardedInputs inputs, QWidget* parent)
    : QWidget(parent, Qt::Window), inputs_(std::move(inputs)) {
  setObjectName(QStringLiteral("ReportWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(kReportWindowTitle));
  setFont(ui_font());
  resize(900, 420);

  table_ = new ProblemTable(std::move(report), this);
  auto* view = new QTableView(this);
  view->setObjectName(QStringLiteral("ReportTable"));
  view->setModel(table_);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setWordWrap(false);
  view->verticalHeader()->hide();
  header_ = view->horizontalHeader();
  header_->setSectionsClickable(true);
  header_->setSortIndicatorShown(false);  // until the first click: the check's order
  header_->setStretchLastSection(true);
  // The table sorts through sorted_rows, not Qt's sorting, so that both
  // windows sort alike.
  connect(header_, &QHeaderView::sectionClicked, this,
          [this](int section) { sort_by(static_cast<ReportColumn>(section)); });

  auto* counts = new QLabel(qs(report_counts_line(table_->table().report())), this);
  counts->setObjectName(QStringLiteral("ReportCounts"));
  QPushButton* save = button(this, "ReportSave", kReportSaveCsv);
  QPushButton* close_button = button(this, "ReportClose", kReportClose);
  connect(save, &QPushButton::clicked, this, [this] { save_clicked(); });
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(counts, 1);
  buttons->addWidget(save);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view, 1);
  layout->addLayout(buttons);
  view->resizeColumnsToContents();
}

void ReportWindow::sort_by(ReportColumn column) {
  table_->header_clicked(column);
  const ReportTable& table = table_->table();
  header_->setSortIndicatorShown(true);
  header_->setSortIndicator(static_cast<int>(column), table.ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ReportWindow::save_clicked() {
  const QString path = QFileDialog::getSaveFileName(this, qs(kReportSaveCsv), QString(), qs(kReportCsvFilter));
  if (!path.isEmpty()) save_csv_to(path);
}

bool ReportWindow::save_csv_to(const QString& native_path) {
  BoxesOver boxes(this);
  return save_or_say_why(
      boxes, native_path.toStdString(), [this] { return report_csv(table_->table().report()); }, kReportSaveFailed,
      inputs_);
}

}  // namespace lodemark::qt
