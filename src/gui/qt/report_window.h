#pragma once
// The report of a check of the listed boreholes: a table of the problems,
// sorted by a click on a column's header, the counts line and the CSV that
// `lodemark-cli check --format csv` writes for the same boreholes. It is not
// modal: the main window stays usable beside it. Controls carry object names
// ("ReportTable", "ReportCounts", "ReportSave", "ReportClose") by which the
// window test finds them.
#include <QString>
#include <QWidget>

#include "conversion/output_guard.h"
#include "gui/check_report.h"

class QHeaderView;

namespace lodemark::qt {

class ProblemTable;

class ReportWindow final : public QWidget {
 public:
  // `inputs`: what a save may not replace.
  ReportWindow(CheckReport report, GuardedInputs inputs, QWidget* parent = nullptr);

  // A click on a column's header: sorts on it, ascending; a second click on
  // the same column reverses the order.
  void sort_by(ReportColumn column);
  // What 「CSV で保存…」 does once the user has chosen a file (a native
  // path): writes the CSV there, or shows why it could not. False when it
  // could not.
  bool save_csv_to(const QString& native_path);

 private:
  void save_clicked();

  ProblemTable* table_ = nullptr;  // the report and the order of its rows
  QHeaderView* header_ = nullptr;
  const GuardedInputs inputs_;
};

}  // namespace lodemark::qt
