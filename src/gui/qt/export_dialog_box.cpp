#include "gui/qt/export_dialog_box.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "base/messages.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"

namespace lodemark::qt {
namespace {

QComboBox* list_of(QWidget* parent, const char* name, const std::vector<std::u32string>& labels) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  for (const std::u32string& label : labels) box->addItem(qs(label));
  return box;
}

QLabel* label_for(QWidget* parent, std::u32string_view text, QWidget* buddy) {
  auto* label = new QLabel(qs(text), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

ExportDialogBox::ExportDialogBox(ExportDialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("ExportDialog"));
  setWindowTitle(qs(kExportDialogTitle));
  setFont(ui_font());

  // Radio buttons rather than a list: none is checked until the user
  // chooses, unless a datum was remembered for the folder.
  auto* datum_rows = new QWidget(this);
  datum_rows->setObjectName(QStringLiteral("ExportDatums"));
  auto* datum_layout = new QVBoxLayout(datum_rows);
  datum_layout->setContentsMargins(0, 0, 0, 0);
  datums_ = new QButtonGroup(this);
  const std::vector<std::u32string> datum_labels = dialog_.datum_labels();
  for (std::size_t row = 0; row < datum_labels.size(); ++row) {
    auto* choice = new QRadioButton(qs(datum_labels[row]), datum_rows);
    choice->setChecked(dialog_.datum_row() == row);
    datums_->addButton(choice, static_cast<int>(row));
    datum_layout->addWidget(choice);
  }
  auto* hint = new QLabel(qs(kExportDatumHint), this);
  hint->setObjectName(QStringLiteral("ExportDatumHint"));
  hint->setWordWrap(true);

  tables_ = list_of(this, "ExportTable", dialog_.table_labels());
  tables_->setCurrentIndex(static_cast<int>(dialog_.table_row()));
  formats_ = list_of(this, "ExportFormat", {});
  show_formats();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("ExportButtons"));
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(qs(kOkButton));
  buttons->button(QDialogButtonBox::Cancel)->setText(qs(kCancelButton));
  ok_->setEnabled(dialog_.can_accept());

  auto* grid = new QGridLayout(this);
  QAbstractButton* first_datum = datums_->buttons().value(0);
  grid->addWidget(label_for(this, kExportDatumLabel, first_datum), 0, 0, Qt::AlignTop);
  grid->addWidget(datum_rows, 0, 1);
  grid->addWidget(hint, 1, 1);
  grid->addWidget(label_for(this, kExportTableLabel, tables_), 2, 0);
  grid->addWidget(tables_, 2, 1);
  grid->addWidget(label_for(this, kExportFormatLabel, formats_), 3, 0);
  grid->addWidget(formats_, 3, 1);
  grid->addWidget(buttons, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  // Wide enough for the hint in a few lines, not one line across the screen.
  hint->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

  connect(datums_, &QButtonGroup::idToggled, this, [this](int row, bool checked) {
    if (checked) datum_chosen(row);
  });
  connect(tables_, &QComboBox::currentIndexChanged, this, [this](int row) { table_chosen(row); });
  connect(formats_, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row >= 0) dialog_.choose_format(static_cast<std::size_t>(row));
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ExportDialogBox::accept() {
  if (dialog_.can_accept()) QDialog::accept();
}

void ExportDialogBox::datum_chosen(int row) {
  dialog_.choose_datum(static_cast<std::size_t>(row));
  ok_->setEnabled(dialog_.can_accept());
}

void ExportDialogBox::table_chosen(int row) {
  if (row < 0) return;
  dialog_.choose_table(static_cast<std::size_t>(row));
  show_formats();
}

void ExportDialogBox::show_formats() {
  const QSignalBlocker quiet(formats_);
  formats_->clear();
  for (const ExportFormatRow& row : dialog_.formats()) formats_->addItem(qs(row.label));
  formats_->setCurrentIndex(static_cast<int>(dialog_.format_row()));
}

std::optional<QString> ask_export_file(ExportDialog& dialog, const QString& folder, QWidget* parent) {
  ExportDialogBox box(dialog, parent);
  if (box.exec() != QDialog::Accepted) return std::nullopt;

  const ExportFormatRow& format = dialog.format();
  QFileDialog save(parent, qs(kExportDialogTitle));
  save.setObjectName(QStringLiteral("ExportSaveDialog"));
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setFileMode(QFileDialog::AnyFile);
  save.setNameFilter(qs(format.label));
  // A name typed without an extension gets the format's: GDAL's driver and
  // the next reader go by it.
  QString suffix = qs(format.extension);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  save.setDefaultSuffix(suffix);
  save.setDirectory(folder);
  save.selectFile(qs(dialog.suggested_file_name()));
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(save.selectedFiles().front());
}

}  // namespace lodemark::qt
