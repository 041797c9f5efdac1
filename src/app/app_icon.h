#pragma once

#include <QIcon>

namespace varnola {

// The program's icon in every size the desktop draws it at. It comes from the program's own
// resources, so the window shows it also when run from the build tree, before any install.
QIcon ApplicationIcon();

}  // namespace varnola
