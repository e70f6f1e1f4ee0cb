#pragma once
// The user list and the SQL console in the main window's command set ("Rendszer" menu).

namespace kodexa {
class Tfrm_Main;
void AddUserAndSqlCommands(Tfrm_Main &main);
} // namespace kodexa
