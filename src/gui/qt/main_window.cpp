#include "gui/qt/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <exception>

#include "gui/drive_folder_lists.h"
#include "gui/qt/folder_list.h"
#include "gui/qt/message_boxes.h"
#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "rodev/catalogue.h"
#include "base/failure.h"
#include "base/utf8.h"
#include "base/messages.h"

namespace lodemark::qt {
namespace {


// Positions and sizes are kept in twips, as the layout was drawn; at 96 dots
// per inch a pixel is 15 twips.
QRect twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

// The window background. Only a pointer over the bare background counts as
// moving over it, not one over a control that lies on it.
class Background final : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QMouseEvent&)> on_move;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    if (on_move && childAt(event->position().toPoint()) == nullptr) on_move(*event);
    QWidget::mouseMoveEvent(event);
  }
};

template <class W, class... Args>
W* make(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
  auto* widget = new W(std::forward<Args>(args)..., parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  return widget;
}

QLabel* grey_label(QWidget* parent, const char* name, QRect geometry, std::u32string_view text) {
  auto* label = make<QLabel>(parent, name, geometry, qs(text));
  paint_grey(*label);
  label->setAutoFillBackground(false);  // the grey of what lies beneath
  return label;
}

QGroupBox* frame(QWidget* parent, const char* name, QRect geometry, std::u32string_view caption) {
  auto* box = make<QGroupBox>(parent, name, geometry, qs(caption));
  paint_grey(*box);
  return box;
}

QComboBox* drive_box(QWidget* parent, const char* name, QRect geometry) {
  auto* box = make<QComboBox>(parent, name, geometry);
  for (const auto& designation : drive_designations()) box->addItem(qs(designation));
  const int current = box->findText(qs(drive_designation_of(platform::current_drive())));
  box->setCurrentIndex(current);
  return box;
}

QPushButton* button(QWidget* parent, const char* name, QRect geometry, std::u32string_view caption) {
  auto* b = make<QPushButton>(parent, name, geometry, qs(caption));
  paint_grey(*b);
  return b;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent), logic_(*this), end_program_([](int status) { QCoreApplication::exit(status); }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(qs(kWindowCaption));
  setFont(ui_font());
  paint_grey(*this);  // the strip right of the background
  setFixedSize(9090 / 15, 6495 / 15);
  build_controls();
  connect_events();
}

Form1::~Form1() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void Form1::build_controls() {
  Picture1 = make<Background>(this, "Picture1", twips(0, 0, 9075, 6495));
  paint_grey(*Picture1);
  Picture1->setMouseTracking(true);

  Label1 = grey_label(Picture1, "Label1", twips(210, 255, 2235, 315), kSourceFolderLabel);
  Text1 = make<QLineEdit>(Picture1, "Text1", twips(2400, 195, 6255, 405));
  Label2 = grey_label(Picture1, "Label2", twips(240, 750, 2235, 315), kDestinationFolderLabel);
  Text2 = make<QLineEdit>(Picture1, "Text2", twips(2400, 690, 6255, 405));

  Frame1 = frame(Picture1, "Frame1", twips(240, 1155, 5445, 3735), kBoreholeFrameCaption);
  Label4 = make<QLabel>(Frame1, "Label4", twips(105, 420, 2745, 225), qs(kCatalogueHeading));
  Label4->setFont(heading_font());
  Label4->setBackgroundRole(QPalette::Base);
  Label4->setForegroundRole(QPalette::Text);
  Label4->setAutoFillBackground(true);
  List1 = make<QListWidget>(Frame1, "List1", twips(105, 630, 2745, 3000));
  List1->setFont(list_font());
  List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  List1->setUniformItemSizes(true);
  Dir1 = make<FolderList>(Frame1, "Dir1", twips(2955, 420, 2415, 2490));
  Drive1 = drive_box(Frame1, "Drive1", twips(2955, 3180, 2415, 390));

  Frame2 = frame(Picture1, "Frame2", twips(5775, 1155, 3135, 3735), kDestinationFrameCaption);
  Dir2 = make<FolderList>(Frame2, "Dir2", twips(180, 420, 2595, 2490));
  Drive2 = drive_box(Frame2, "Drive2", twips(180, 3180, 2595, 390));

  Frame3 = frame(Picture1, "Frame3", twips(240, 4950, 8475, 675), kStatusFrameCaption);
  Label3 = grey_label(Frame3, "Label3", twips(180, 225, 8175, 315), U"");

  Command1 = button(Picture1, "Command1", twips(2520, 5790, 1935, 555), kExecuteCaption);
  Command2 = button(Picture1, "Command2", twips(5160, 5790, 2055, 555), kExitCaption);

  // Both folder lists start on the process's current folder.
  const std::u32string start = platform::current_folder(platform::current_drive());
  Dir1->start_at(start);
  Dir2->start_at(start);

  // The controls that can take the focus, in tab order.
  QWidget* const tab_order[] = {Dir1, Drive1, Dir2, Drive2, Command1, Command2, Text1, Text2, List1};
  for (std::size_t i = 1; i < std::size(tab_order); ++i) setTabOrder(tab_order[i - 1], tab_order[i]);
}

void Form1::connect_events() {
  static_cast<Background*>(Picture1)->on_move = [this](QMouseEvent& event) {
    const auto button = static_cast<std::int16_t>(event.buttons() & 0x7);
    const auto shift = static_cast<std::int16_t>((event.modifiers() & Qt::ShiftModifier ? 1 : 0) |
                                                 (event.modifiers() & Qt::ControlModifier ? 2 : 0) |
                                                 (event.modifiers() & Qt::AltModifier ? 4 : 0));
    const QPointF at = event.position();
    Handle([&] {
      logic_.Picture1_MouseMove(button, shift, static_cast<float>(at.x() * 15), static_cast<float>(at.y() * 15));
    });
  };
  connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Handle([this] { logic_.Drive1_Change(); }); });
  connect(Drive2, &QComboBox::currentIndexChanged, this, [this] { Handle([this] { logic_.Drive2_Change(); }); });
  Dir1->on_change = [this] { Handle([this] { logic_.Dir1_Change(); }); };
  Dir2->on_change = [this] { Handle([this] { logic_.Dir2_Change(); }); };
  Dir1->on_open = [this](std::u32string folder) { Handle([&] { Dir1->set_path(folder); }); };
  Dir2->on_open = [this](std::u32string folder) { Handle([&] { Dir2->set_path(folder); }); };
  connect(Command1, &QPushButton::clicked, this, [this] { Handle([this] { logic_.Command1_Click(); }); });
  connect(Command2, &QPushButton::clicked, this, [this] { Handle([this] { logic_.Command2_Click(); }); });
}

bool Form1::run_guarded(const std::function<void()>& body) {
  if (in_handler_) {
    body();
    return true;
  }
  std::u32string failure;
  in_handler_ = true;
  try {
    body();
  } catch (const Failure& f) {
    failure = f.message();
  } catch (const std::exception& e) {
    failure = from_utf8(e.what());
    if (failure.empty()) failure = U"?";
  }
  in_handler_ = false;
  if (failure.empty()) return true;
  Set_Busy_Pointer(false);
  show_failure_box(isVisible() ? this : nullptr, failure);
  return false;
}

void Form1::Handle(const std::function<void()>& body) {
  if (!run_guarded(body)) end_program_(3);
}

std::optional<int> Form1::Load() {
  bool loaded = false;
  if (!run_guarded([&] { loaded = logic_.Form_Load(*this); })) return 3;
  if (!loaded) return 2;
  return std::nullopt;
}

bool Form1::pick_source_folder(std::u32string_view folder) {
  const std::u32string path = platform::absolute_program_path(folder);
  if (!platform::is_folder(path)) return false;
  const char32_t letter = platform::drive_letter_of(path);
  bool picked = true;
  Handle([&] {
    if (letter_of_designation(Drive_Designation(DriveList::Drive1)) != letter)
      Set_Drive_Designation(DriveList::Drive1, drive_designation_of(letter));
    Dir1->set_path(path);
    picked = Dir1->path() == path;
  });
  return picked;
}

QComboBox* Form1::drive_list(DriveList list) const { return list == DriveList::Drive1 ? Drive1 : Drive2; }

FolderList* Form1::folder_list(FolderView view) const { return view == FolderView::Dir1 ? Dir1 : Dir2; }

std::u32string Form1::Drive_Designation(DriveList list) { return us(drive_list(list)->currentText()); }

void Form1::Set_Drive_Designation(DriveList list, std::u32string_view designation) {
  QComboBox* box = drive_list(list);
  const char32_t letter = letter_of_designation(designation);
  for (int i = 0; i < box->count(); ++i) {
    if (letter != 0 && letter_of_designation(us(box->itemText(i))) == letter) {
      box->setCurrentIndex(i);  // raises the change event when it moves
      return;
    }
  }
  throw Failure(kNoSuchDrive + std::u32string(designation));
}

std::u32string Form1::Folder_Path(FolderView view) { return folder_list(view)->path(); }

void Form1::Set_Folder_From_Drive(FolderView view, std::u32string_view designation) {
  folder_list(view)->set_path(folder_of_drive(designation));
}

void Form1::Set_Text1(std::u32string_view text) { Text1->setText(qs(text)); }
void Form1::Set_Text2(std::u32string_view text) { Text2->setText(qs(text)); }
void Form1::List1_Clear() { List1->clear(); }
void Form1::List1_Add(std::u32string_view text) { List1->addItem(qs(text)); }
void Form1::Close_Window() { close(); }

int Form1::List1_Count() { return List1->count(); }

std::u32string Form1::List1_Text(int index) {
  const QListWidgetItem* item = List1->item(index);
  return item ? us(item->text()) : std::u32string();
}

bool Form1::List1_Selected(int index) {
  const QListWidgetItem* item = List1->item(index);
  return item && item->isSelected();
}

std::u32string Form1::Text1_Text() { return us(Text1->text()); }
std::u32string Form1::Text2_Text() { return us(Text2->text()); }
void Form1::Set_Label3(std::u32string_view text) { Label3->setText(qs(text)); }
void Form1::Refresh_Folder_View(FolderView view) { folder_list(view)->refresh(); }

void Form1::Set_Busy_Pointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void Form1::Yield_Once() {
  // Paints what is pending (the status text); clicks and keys wait for the
  // end of the run, so that no second run can start inside this one.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BoxAnswer Form1::show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) {
  return show_message_box(isVisible() ? this : nullptr, text, style, title);
}

}  // namespace lodemark::qt
