#pragma once

#include <QString>

namespace varnola::texts {

// The window's own texts, as the merchant sees them.
QString StartCaption();
QString ReleaseNotes();  // line breaks as "\n"
QString HelpText();      // line breaks as "\n"
QString MessageCaption();
QString ImportHint();
QString NotYetAvailable();

// The items of the order table's popup menu, in menu order.
QString MenuExport();
QString MenuImport();
QString MenuShip();
QString MenuTrack();
QString MenuDeleteRow();
QString MenuClear();

}  // namespace varnola::texts
