#pragma once

#include "app/seams/announcer.h"
#include "app/seams/dialogs.h"
#include "app/seams/main_window_ops.h"
#include "app/seams/order_table.h"

namespace varnola {

// Everything a command may touch outside the core: the window, the headless tool and the
// test fakes each provide one.
struct Frontend {
  OrderTable& table;
  MainWindowOps& window;
  Announcer& announcer;
  MessageBox& messageBox;
  SaveDialog& saveDialog;
};

}  // namespace varnola
