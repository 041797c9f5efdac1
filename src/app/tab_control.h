#pragma once

#include <vector>

#include <QWidget>

class QTabBar;

namespace varnola {

// A tab control whose pages cover the whole control, so that the controls on a page are
// placed in the tab control's own coordinates, under the row of tabs, as the form gives
// them. Only the current page is shown.
class TabControl final : public QWidget {
  Q_OBJECT

 public:
  explicit TabControl(QWidget* parent = nullptr);

  // A new page at the end; its children take positions within the tab control.
  QWidget* AddPage(const QString& title);

  QTabBar* Tabs() const { return m_tabs; }
  int CurrentIndex() const;
  void SetCurrentIndex(int index);
  QWidget* Page(int index) const;
  int PageCount() const { return static_cast<int>(m_pages.size()); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowPage(int index);

  QTabBar* m_tabs;
  std::vector<QWidget*> m_pages;
};

}  // namespace varnola
