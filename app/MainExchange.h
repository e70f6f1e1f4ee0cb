#pragma once

namespace kodexa {

class Tfrm_Main;

// Adds aExport, aExcelbe, aImport and aAtvetel to the main window's command set.
void AddExchangeCommands(Tfrm_Main &w);

} // namespace kodexa
