#include "gui/qt/folder_list.h"

#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>

#include "gui/qt/qt_text.h"
#include "platform/files.h"

namespace lodemark::qt {
namespace {

constexpr int kIndent = 8;
constexpr int kDepthRole = Qt::UserRole;

// Indents each row by its depth, as the folder tree reads.
class IndentDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem indented(option);
    indented.rect.adjust(index.data(kDepthRole).toInt() * kIndent, 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(index.data(kDepthRole).toInt() * kIndent, 0);
  }
};

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new IndentDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int index = row(item);
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return;
    // Opening rebuilds the rows, which the view is still using while it
    // reports the double-click; open once it is done.
    QTimer::singleShot(0, this, [this, path = rows_[index].path] {
      if (on_open) on_open(path);
    });
  });
}

void FolderList::start_at(std::u32string_view folder) {
  path_ = folder;
  refresh();
}

void FolderList::set_path(std::u32string_view folder) {
  if (folder == path_) return;
  if (!platform::is_folder(folder)) {
    // Gone since the rows were read: show what is there now.
    refresh();
    return;
  }
  start_at(folder);
  if (on_change) on_change();
}

void FolderList::refresh() {
  rows_ = folder_list_rows(path_);
  clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  for (const auto& row : rows_) {
    auto* item = new QListWidgetItem(row.open ? open_icon : closed_icon, qs(row.name), this);
    item->setData(kDepthRole, row.depth);
  }
  const int current = current_folder_row(rows_);
  setCurrentRow(current);
  if (current >= 0) scrollToItem(item(current));
}

}  // namespace lodemark::qt
