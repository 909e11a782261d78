#include "gui/qt/folder_list.h"

#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>

#include "gui/qt/qt_text.h"

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
    if (index < 0) return;
    // Opening rebuilds the rows, which the view is still using while it
    // reports the double-click; open once it is done.
    QTimer::singleShot(0, this, [this, index] {
      if (on_open) on_open(static_cast<std::size_t>(index));
    });
  });
}

void FolderList::show_rows(const FolderListModel& folders) {
  clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  for (const auto& row : folders.rows()) {
    auto* item = new QListWidgetItem(row.open ? open_icon : closed_icon, qs(row.name), this);
    item->setData(kDepthRole, row.depth);
  }
  const int current = folders.current_row();
  setCurrentRow(current);
  if (current >= 0) scrollToItem(item(current));
}

}  // namespace lodemark::qt
