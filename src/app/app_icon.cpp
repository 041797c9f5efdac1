#include "app/app_icon.h"

#include <QDirIterator>
#include <QString>
#include <QStringList>

namespace varnola {

QIcon ApplicationIcon() {
  // Every size rendered from the icon's SVG: the same files the install puts into the theme.
  QIcon icon;
  QDirIterator files(QStringLiteral(":/icons"),
                     QStringList{QStringLiteral("varnola-orders-*.png")});
  while (files.hasNext()) icon.addFile(files.next());
  return icon;
}

}  // namespace varnola
