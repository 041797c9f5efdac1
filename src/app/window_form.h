#pragma once

#include <QSize>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace varnola {

class TabControl;

// The client area that the controls were placed in. With the original frame (3-pixel
// borders and a 23-pixel title bar) it makes an outer size of 1142 x 533.
inline constexpr QSize kClientSize(1136, 504);
inline constexpr QSize kOuterSize(1142, 533);

// The controls of the main window, each named by its form name.
struct WindowForm {
  QLineEdit* account;             // 编辑框1
  QLineEdit* password;            // 编辑框2
  QPushButton* login;             // 按钮1
  QPushButton* allOrders;         // 按钮2
  QPushButton* awaitingPayment;   // 按钮3
  QPushButton* awaitingShipment;  // 按钮4
  QPushButton* awaitingReceipt;   // 按钮5
  QPushButton* details;           // 按钮6
  QLabel* picture;                // 图片框1
  QLabel* figures[8];             // 标签3..标签10, in the order of the Label enumeration
  QProgressBar* progress;         // 进度条1
  TabControl* tabs;               // 选择夹1
  QWidget* ordersPage;            // holds 超级列表框1, which the order table places itself
  QPlainTextEdit* releaseNotes;   // 编辑框4
  QPlainTextEdit* help;           // 编辑框3
};

// The window's font is made for the Chinese texts; a label whose text is wider than its box
// gets a smaller size of it, so that the whole text shows.
void FitLabelText(QLabel& label);

// Creates every control at its fixed place; nothing is laid out, so resizing the window
// moves nothing.
WindowForm BuildWindowForm(QWidget& window);

}  // namespace varnola
