#pragma once

#include <chrono>

#include <QObject>
#include <QTimer>

class QWidget;

namespace varnola {

// Coalesces the repaints of a widget whose content changes in a stream. A worker fills the
// order table one call at a time, and between two calls the UI thread is idle, so it would
// repaint (and scroll) the whole table after every single cell. While changes keep coming,
// the widget repaints at most once per interval instead; the last change is always painted.
class RepaintThrottle final : public QObject {
 public:
  RepaintThrottle(QWidget& widget, std::chrono::milliseconds interval);

  // Call on the UI thread whenever the widget's content changed.
  void Changed();

 private:
  void Repaint();

  QWidget& m_widget;
  QTimer m_timer;
};

}  // namespace varnola
