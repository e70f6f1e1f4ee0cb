#include "app/MainSystem.h"

#include "admin/Beallit.h"
#include "admin/Nevjegy.h"
#include "admin/Readme.h"
#include "app/Main.h"
#include "app/core/CommandLayout.h"
#include "reports/Stat.h"

namespace kodexa {

void AddSystemCommands(Tfrm_Main &main) {
    Tfrm_Main *m = &main;
    main.AddCommand(QStringLiteral("aStat"), [m] { ShowStatistics(m->Context(), m); });
    main.AddCommand(QStringLiteral("aBeallit"), [m] { ShowSettings(m->Context(), m); });
    main.AddCommand(QStringLiteral("aFontos"), [m] { ShowReadme(m->Services(), m); });
    main.AddCommand(QStringLiteral("aNevjegy"), [m] { ShowAbout(m->Services(), MakerHomePage(), MakerMailAddress(), m); });
}

} // namespace kodexa
