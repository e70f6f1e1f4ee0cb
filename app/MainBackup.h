#pragma once
// The backup commands of the main window: a backup now, and a restore from one.

namespace kodexa {

class Tfrm_Main;

void AddBackupCommands(Tfrm_Main &main);

} // namespace kodexa
