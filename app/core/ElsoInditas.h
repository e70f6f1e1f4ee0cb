#pragma once
// The first start of an installed program: the user's folder has no catalogue yet, and the
// user chooses one (the demo, an empty one, or a copy of one they have) instead of being
// refused. The window (app/ElsoInditas.h) is a row of buttons over these.

#include <QString>

namespace kodexa {

// Installed, and no file where the settings point: the first-start window is due.
bool NeedsFirstStart();
// Where the chosen catalogue goes: Kodexa.sqb in the user's folder (the folder is made).
QString FirstStartTarget();
// Checks the file as start-up does (a foreign, unreadable or damaged file is refused with
// start-up's message) and copies it to target, with the cover pictures of its Images folder
// that target's Images folder lacks. Raises Error; a refusal copies nothing.
void AdoptCatalogue(const QString &source, const QString &target);
// The settings file names target as the catalogue when it named another one.
void PointSettingsAt(const QString &target);

} // namespace kodexa
