#include "app/tab_control.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace varnola {

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_tabs(new QTabBar(this)) {
  m_tabs->setDrawBase(false);
  m_tabs->setExpanding(false);
  connect(m_tabs, &QTabBar::currentChanged, this, &TabControl::ShowPage);
}

QWidget* TabControl::AddPage(const QString& title) {
  auto* page = new QWidget(this);
  page->setGeometry(rect());
  m_pages.push_back(page);
  m_tabs->addTab(title);
  m_tabs->resize(m_tabs->sizeHint());
  m_tabs->raise();
  ShowPage(m_tabs->currentIndex());
  return page;
}

int TabControl::CurrentIndex() const {
  return m_tabs->currentIndex();
}

void TabControl::SetCurrentIndex(int index) {
  m_tabs->setCurrentIndex(index);
}

QWidget* TabControl::Page(int index) const {
  return index >= 0 && index < PageCount() ? m_pages[index] : nullptr;
}

void TabControl::ShowPage(int index) {
  for (int i = 0; i < PageCount(); ++i) m_pages[i]->setVisible(i == index);
}

void TabControl::resizeEvent(QResizeEvent*) {
  for (QWidget* page : m_pages) page->setGeometry(rect());
}

void TabControl::paintEvent(QPaintEvent*) {
  // The pane's frame under the tabs, as the style draws it for its own tab widgets.
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  frame.shape = QTabBar::RoundedNorth;
  frame.tabBarSize = m_tabs->size();
  frame.tabBarRect = m_tabs->geometry();
  frame.rect = rect().adjusted(0, m_tabs->height() - 1, 0, 0);
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace varnola
