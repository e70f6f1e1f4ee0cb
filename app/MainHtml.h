#pragma once

namespace kodexa {

class Tfrm_Main;

// Adds aHtml, the HTML export of the book list, to the main window's command set.
void AddHtmlCommand(Tfrm_Main &w);

} // namespace kodexa
