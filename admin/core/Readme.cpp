#include "admin/core/Readme.h"

namespace kodexa {

QString ReadmeText() {
    return QStringLiteral(
        "Felhasználói szerződés\n"
        "======================\n"
        "\n"
        "A Kodexa könyvnyilvántartó program (a továbbiakban: program) használatával Ön elfogadja az alábbi feltételeket. Kérjük, olvassa el figyelmesen.\n"
        "\n"
        "1. A program rendeltetése\n"
        "A program egy magángyűjtemény könyveinek nyilvántartására készült. Az adatok egyetlen adatbázis-állományban (alapértelmezés szerint Kodexa.sqb) vannak a program mappájában, vagy ott, ahová a Beállítások ablakban megadta.\n"
        "\n"
        "2. Az adatok mentése a felhasználó kötelessége\n"
        "Az adatbázis-állományról rendszeresen, legalább minden nagyobb adatrögzítés után, biztonsági másolatot kell készítenie egy másik adathordozóra. A másolat készítésekor a program ne fusson. A mentés elmulasztásából eredő kárért a felhasználó maga felel.\n"
        "\n"
        "3. Felelősség kizárása\n"
        "A program készítője nem vállal felelősséget az adatok elvesztéséért vagy sérüléséért, sem az ebből eredő közvetlen vagy közvetett károkért, akár a program hibája, akár áramszünet, a számítógép vagy az adathordozó meghibásodása, akár kezelési hiba okozta azokat. Elveszett adatot csak a felhasználó saját biztonsági másolatából lehet visszaállítani.\n"
        "\n"
        "4. Hálózati használat\n"
        "A program adatbázis-kezelője egy gépen, egy felhasználó általi használatra készült. Az adatbázis-állomány hálózati meghajtón is elhelyezhető, és több gépről is megnyitható, ez azonban kizárólag a felhasználó saját felelősségére történhet: egyidejű írás esetén az adatbázis zárolva lehet vagy megsérülhet.\n"
        "\n"
        "5. Felhasználók és jogosultságok\n"
        "A belépés a felhasználót azonosítja. Az adatok tényleges védelmét az adatbázis-állomány operációs rendszerbeli hozzáférési jogai adják; ezeket Önnek kell megfelelően beállítania.\n"
        "\n"
        "6. Szabad lekérdezés\n"
        "A Szabad lekérdezés ablakban futtatott SQL parancsok azonnal és visszavonhatatlanul módosítják az adatbázist. Ilyen parancsot csak friss biztonsági másolat birtokában futtasson.\n"
        "\n"
        "7. Egyéb rendelkezések\n"
        "A program másolható és továbbadható, ha a csomag tartalma, e szerződés szövegét is beleértve, változatlan marad. A program használata a jelen feltételek elfogadását jelenti.\n");
}

} // namespace kodexa
