#include "app/repaint_throttle.h"

#include <QWidget>

namespace varnola {

RepaintThrottle::RepaintThrottle(QWidget& widget, std::chrono::milliseconds interval)
    : QObject(&widget), m_widget(widget) {
  m_timer.setSingleShot(true);
  m_timer.setInterval(interval);
  connect(&m_timer, &QTimer::timeout, this, &RepaintThrottle::Repaint);
}

void RepaintThrottle::Changed() {
  if (m_timer.isActive()) return;
  m_widget.setUpdatesEnabled(false);
  m_timer.start();
}

void RepaintThrottle::Repaint() {
  m_widget.setUpdatesEnabled(true);
  // Paint now: a change arriving before the next event-loop pass would switch the
  // updates off again and the pending paint would be lost.
  m_widget.repaint();
}

}  // namespace varnola
