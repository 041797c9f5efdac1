#include "app/window_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/tab_control.h"
#include "app/window_texts.h"

namespace varnola {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kInfoBackground(192, 192, 192);
const QColor kGreyedText(109, 109, 109);  // dark enough to read on the grey background

template <typename Control>
Control* Place(QWidget* parent, const char* formName, QRect geometry) {
  auto* control = new Control(parent);
  control->setObjectName(QString::fromUtf8(formName));
  control->setGeometry(geometry);
  return control;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

QLabel* PlaceLabel(QWidget* parent, const char* formName, QRect geometry, const QString& text,
                   const QColor& colour, Qt::Alignment alignment) {
  auto* label = Place<QLabel>(parent, formName, geometry);
  label->setText(text);
  label->setAlignment(alignment | Qt::AlignVCenter);
  SetTextColour(label, colour);
  FitLabelText(*label);
  return label;
}

QPushButton* PlaceButton(QWidget* parent, const char* formName, QRect geometry,
                         const QString& text) {
  auto* button = Place<QPushButton>(parent, formName, geometry);
  button->setText(text);
  button->setAutoDefault(false);
  return button;
}

// A read-only information box: grey, sunken, with a vertical scroll bar, and disabled so
// that its text can be read but neither changed nor selected.
QPlainTextEdit* PlaceInfoBox(QWidget* page, const char* formName, QRect geometry,
                             const QString& text) {
  auto* box = Place<QPlainTextEdit>(page, formName, geometry);
  box->setPlainText(text);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette palette = box->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, kInfoBackground);
  }
  palette.setColor(QPalette::Disabled, QPalette::Text, kGreyedText);
  box->setPalette(palette);
  box->setEnabled(false);
  return box;
}

}  // namespace

void FitLabelText(QLabel& label) {
  QFont font = label.parentWidget() ? label.parentWidget()->font() : label.font();
  int pixels = QFontInfo(font).pixelSize();
  font.setPixelSize(pixels);
  while (pixels > 8 && QFontMetrics(font).horizontalAdvance(label.text()) > label.width()) {
    font.setPixelSize(--pixels);
  }
  label.setFont(font);
}

WindowForm BuildWindowForm(QWidget& window) {
  WindowForm form{};
  QWidget* w = &window;
  const auto left = Qt::AlignLeft;
  const auto centre = Qt::AlignHCenter;

  PlaceLabel(w, "标签1", {21, 12, 32, 16}, QStringLiteral("账号："), kBlack, left);
  form.account = Place<QLineEdit>(w, "编辑框1", {58, 9, 80, 22});
  PlaceLabel(w, "标签2", {21, 45, 32, 16}, QStringLiteral("密码："), kBlack, left);
  form.password = Place<QLineEdit>(w, "编辑框2", {58, 42, 80, 22});
  form.password->setEchoMode(QLineEdit::Password);
  form.password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
  form.login = PlaceButton(w, "按钮1", {149, 8, 40, 55}, QStringLiteral("登陆"));

  form.picture = Place<QLabel>(w, "图片框1", {208, 8, 56, 56});
  form.picture->setScaledContents(true);  // the picture is stretched to the box

  form.figures[4] =
      PlaceLabel(w, "标签7", {272, 8, 72, 24}, QStringLiteral("销售中："), kGreen, left);
  form.figures[5] =
      PlaceLabel(w, "标签8", {272, 40, 72, 24}, QStringLiteral("违规下架："), kGreen, left);
  form.figures[6] =
      PlaceLabel(w, "标签9", {353, 8, 64, 24}, QStringLiteral("待审核："), kGreen, left);
  form.figures[7] =
      PlaceLabel(w, "标签10", {353, 40, 64, 24}, QStringLiteral("仓库中："), kGreen, left);

  form.details = PlaceButton(w, "按钮6", {480, 40, 64, 24}, QStringLiteral("取详情"));
  form.awaitingPayment = PlaceButton(w, "按钮3", {825, 8, 56, 32}, QStringLiteral("待付款"));
  form.awaitingShipment = PlaceButton(w, "按钮4", {897, 8, 56, 32}, QStringLiteral("待发货"));
  form.awaitingReceipt = PlaceButton(w, "按钮5", {969, 8, 56, 32}, QStringLiteral("待收货"));
  form.allOrders = PlaceButton(w, "按钮2", {1041, 8, 56, 32}, QStringLiteral("总订单"));

  form.figures[0] = PlaceLabel(w, "标签3", {824, 48, 56, 16}, {}, kRed, centre);
  form.figures[1] = PlaceLabel(w, "标签4", {896, 48, 56, 16}, {}, kRed, centre);
  form.figures[2] = PlaceLabel(w, "标签5", {968, 48, 56, 16}, {}, kRed, centre);
  form.figures[3] = PlaceLabel(w, "标签6", {1040, 48, 56, 16}, {}, kRed, centre);

  form.progress = Place<QProgressBar>(w, "进度条1", {824, 71, 272, 16});
  form.progress->setRange(0, 100);
  form.progress->setValue(0);
  form.progress->setTextVisible(false);

  form.tabs = Place<TabControl>(w, "选择夹1", {0, 72, 1136, 432});
  form.ordersPage = form.tabs->AddPage(QStringLiteral("订单"));
  QWidget* notesPage = form.tabs->AddPage(QStringLiteral("更新内容"));
  QWidget* helpPage = form.tabs->AddPage(QStringLiteral("帮助"));
  form.tabs->SetCurrentIndex(0);
  form.releaseNotes = PlaceInfoBox(notesPage, "编辑框4", {8, 32, 736, 368}, texts::ReleaseNotes());
  form.help = PlaceInfoBox(helpPage, "编辑框3", {16, 32, 744, 368}, texts::HelpText());
  form.progress->raise();  // it sits beside the tabs, over the tab control's top edge
  return form;
}

}  // namespace varnola
