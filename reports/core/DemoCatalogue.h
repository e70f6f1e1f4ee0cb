#pragma once
// The demo catalogue: real books, the first few with a cover picture, as a new user first
// sees the program. kodexa-init, kodexa-cli and the program itself make it through here.

#include <QString>

namespace kodexa {

// Makes a new catalogue file at path filled with the demo books and draws their covers into
// the Images folder beside it (a picture already there is left alone). Returns the number
// of covers drawn. Needs a QGuiApplication (any platform, offscreen included).
int CreateDemoCatalogue(const QString &path);

} // namespace kodexa
