#pragma once
// The text of the read-me window: the program's terms of use.

#include <QString>

namespace kodexa {

inline constexpr const char *ReadmeTitle = "Felhasználói szerződés";

// The fixed text, lines ending in "\n"; the window shows it afresh every time it opens.
QString ReadmeText();

} // namespace kodexa
