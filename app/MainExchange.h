#pragma once

namespace kodexa {

class Tfrm_Main;

// Adds aExport, aExcelbe and aImport to the main window's command set.
void AddExchangeCommands(Tfrm_Main &w);

} // namespace kodexa
