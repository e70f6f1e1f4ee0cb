#pragma once
// Checks of the settings dialog.

#include <QString>

namespace kodexa {

// Why a database path typed into the settings dialog would stop the next start, in the
// words start-up would use; empty when it would not. The file is checked as start-up opens
// it (an empty path means the default catalogue beside the program).
QString DatabasePathProblem(const QString &path);

} // namespace kodexa
