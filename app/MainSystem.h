#pragma once
// The statistics, settings, read-me and about commands of the main window.

namespace kodexa {

class Tfrm_Main;

void AddSystemCommands(Tfrm_Main &main);

} // namespace kodexa
