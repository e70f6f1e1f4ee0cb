#pragma once
// What the main window hands to every window it opens: the connection, the book list,
// the settings record and the desktop services.

namespace kodexa {

class Db;
class BookList;
class DesktopServices;
struct TBeall;

struct AppContext {
    Db &db;
    BookList &tbl;
    TBeall &settings;
    DesktopServices &services;
};

} // namespace kodexa
