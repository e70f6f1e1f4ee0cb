// The "Rendszer" menu's user list and SQL console. Like every command they are open to
// every user: the login tells who is working, the rights are recorded but withhold nothing.
#include "app/MainAdmin.h"

#include "admin/Felhasznalo.h"
#include "admin/SQL.h"
#include "app/Main.h"

namespace kodexa {

void AddUserAndSqlCommands(Tfrm_Main &main) {
    main.AddCommand(QStringLiteral("aFelhasznalo"), [&main] { ShowUsers(main.Context(), &main); });
    main.AddCommand(QStringLiteral("aSQL"), [&main] {
        ShowSqlConsole(main.Context(), &main, [&main] { main.ReadListAgain(); });
    });
}

} // namespace kodexa
