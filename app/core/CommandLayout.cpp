#include "app/core/CommandLayout.h"

namespace kodexa {

const QVector<CommandDef> &CommandDefs() {
    static const QVector<CommandDef> defs = {
        {"aUj", "Új könyv", nullptr, "Ins", "document-new"},
        {"aSzerkeszt", "Szerkeszt", nullptr, "F2", "document-edit"},
        {"aTorol", "Töröl", nullptr, "Ctrl+Del", "edit-delete"},
        {"aExport", "Adatbázis export", "Export (Tab határolt szövegbe)", nullptr, "document-export"},
        {"aImport", "Adatbázis import", "Import (Tab határolt szövegből)", nullptr, "document-import"},
        {"aAtvetel", "Könyvek átvétele más programból…", nullptr, nullptr, "document-import"},
        {"aKep", "Kép", nullptr, "Ctrl+I", "image-x-generic"},
        {"aNyomtat", "Nyomtat", nullptr, "Ctrl+P", "document-print"},
        {"aNyomtatKep", "Nyomtatási kép", nullptr, "Ctrl+K", "document-print-preview"},
        {"aExcelbe", "Excelbe...", "Excelbe... (csv export)", "Ctrl+E", "x-office-spreadsheet"},
        {"aHtml", "Html export", nullptr, "Ctrl+H", "text-html"},
        {"aBezar", "Bezár", nullptr, nullptr, "application-exit"},
        {"aKeres", "Kulcsszó keresés", nullptr, "Ctrl+F", "edit-find"},
        {"aBetuNovel", "Betűméret növelése", nullptr, "F11", "zoom-in"},
        {"aBetuCsokkent", "Betűméret csökkentése", nullptr, "F12", "zoom-out"},
        {"aMezo", "Képernyőn megjelenő mezők", nullptr, nullptr, "view-list-details"},
        {"aSzerzok", "Szerzők", nullptr, nullptr, "system-users"},
        {"aKiado", "Kiadók", nullptr, nullptr, "go-home"},
        {"aSorozat", "Sorozatok", nullptr, nullptr, "view-list"},
        {"aTargykor", "Tárgykörök", nullptr, nullptr, "folder"},
        {"aMufaj", "Műfajok", nullptr, nullptr, "bookmark-new"},
        {"aPolc", "Polcok", nullptr, nullptr, "drive-harddisk"},
        {"aKolcsonad", "Kölcsönad", nullptr, "F7", "go-next"},
        {"aVisszavesz", "Visszavesz", nullptr, "F8", "go-previous"},
        {"aNyomSzerzo", "Szerzők szerint", nullptr, nullptr, "document-print"},
        {"aNyomSzerzo2", "Egy szerző", nullptr, nullptr, "document-print"},
        {"aNyomKiado", "Kiadók szerint", nullptr, nullptr, "document-print"},
        {"aNyomKiado2", "Egy kiadó", nullptr, nullptr, "document-print"},
        {"aNyomSorozat", "Sorozatok szerint", nullptr, nullptr, "document-print"},
        {"aNyomSorozat2", "Egy sorozat", nullptr, nullptr, "document-print"},
        {"aNyomTargykor", "Tárgykörönként", nullptr, nullptr, "document-print"},
        {"aNyomTargykor2", "Egy tárgykör", nullptr, nullptr, "document-print"},
        {"aNyomMufaj", "Műfajonként", nullptr, nullptr, "document-print"},
        {"aNyomMufaj2", "Egy műfaj", nullptr, nullptr, "document-print"},
        {"aNyomPolc", "Polconként", nullptr, nullptr, "document-print"},
        {"aNyomPolc2", "Egy polc", nullptr, nullptr, "document-print"},
        {"aAdatlap", "Adatlap (aktuális)", nullptr, nullptr, "x-office-document"},
        {"aAdatlap2", "Adatlap (összes)", nullptr, nullptr, "x-office-document"},
        {"aNyomKolcson", "Kölcsönadott könyvek", nullptr, nullptr, "document-print"},
        {"aNyomVasarol", "Vásárlások időszakban", nullptr, nullptr, "document-print"},
        {"aStat", "Statisztika", nullptr, nullptr, "x-office-presentation"},
        {"aFelhasznalo", "Felhasználók", nullptr, nullptr, "system-users"},
        {"aSQL", "Szabad lekérdezés", nullptr, nullptr, "utilities-terminal"},
        {"aBeallit", "Beállítások", nullptr, nullptr, "preferences-system"},
        {"aMentes", "Biztonsági mentés most", nullptr, nullptr, "document-save"},
        {"aVisszaallit", "Visszaállítás mentésből…", nullptr, nullptr, "document-revert"},
        {"aSugo", "Súgó", nullptr, "F1", "help-browser"},
        {"aFontos", "Fontos információk", nullptr, nullptr, "dialog-information"},
        {"aHonlap", "Ferolin honlapja", nullptr, nullptr, "applications-internet"},
        {"aLevel", "Levélküldés Ferolinnak", nullptr, nullptr, "mail-message-new"},
        {"aUjdonsag", "Újdonságok", nullptr, nullptr, "software-update-available"},
        {"aNevjegy", "Névjegy", nullptr, nullptr, "help-about"},
    };
    return defs;
}

const CommandDef *FindCommand(const QString &name) {
    for (const auto &d : CommandDefs())
        if (name == QLatin1String(d.name))
            return &d;
    return nullptr;
}

QVector<MenuLayout> MenuBarLayout() {
    const QString s = QStringLiteral("-");
    return {
        {QStringLiteral("Könyvek"),
         {"aUj", "aSzerkeszt", "aTorol", s, "aExport", "aImport", "aAtvetel", s, "aKep", s, "aNyomtat", "aNyomtatKep", s, "aExcelbe",
          "aHtml", s, "aBezar"}},
        {QStringLiteral("Szerkesztés"), {"aKeres"}},
        {QStringLiteral("Nézet"), {"aBetuNovel", "aBetuCsokkent", s, "aMezo"}},
        {QStringLiteral("Törzsadat"), {"aSzerzok", "aKiado", "aSorozat", "aTargykor", "aMufaj", "aPolc"}},
        {QStringLiteral("Kölcsön"), {"aKolcsonad", "aVisszavesz"}},
        {QStringLiteral("Nyomtatás"),
         {">Tömör listák", "aNyomSzerzo", "aNyomSzerzo2", s, "aNyomKiado", "aNyomKiado2", s, "aNyomSorozat",
          "aNyomSorozat2", s, "aNyomTargykor", "aNyomTargykor2", s, "aNyomMufaj", "aNyomMufaj2", s, "aNyomPolc",
          "aNyomPolc2", "<", s, "aAdatlap", "aAdatlap2", s, "aNyomKolcson", "aNyomVasarol", s, "aStat"}},
        {QStringLiteral("Rendszer"), {"aFelhasznalo", "aSQL", s, "aBeallit", s, "aMentes", "aVisszaallit"}},
        {QStringLiteral("Súgó"), {"aSugo", "aFontos", s, "aHonlap", "aLevel", "aUjdonsag", s, "aNevjegy"}},
    };
}

QStringList SmallToolbarLayout() {
    return {"aBetuNovel", "aBetuCsokkent", "-", "aMezo", "-", "aBeallit", "-", "aSugo", "-",
            "aHonlap",    "aLevel",        "aUjdonsag", "-", "aBezar"};
}

QStringList LargeToolbarLayout() {
    return {"aUj", "aSzerkeszt", "aTorol", "-", "aKolcsonad", "aVisszavesz", "-", "aKep", "-", "aNyomtat"};
}

QStringList PrintDropDownLayout() {
    return {"aNyomtat", "aNyomtatKep", "-", "aExcelbe", "aHtml", "-", "aAdatlap", "aAdatlap2"};
}

QStringList GridContextLayout() {
    return {"aUj", "aSzerkeszt", "aTorol", "-", "aKolcsonad", "aVisszavesz", "-", "aKep", "-",
            "aNyomtat", "aNyomtatKep", "-", "aExcelbe", "aHtml"};
}

QStringList PresentItems(const QStringList &layout, const QStringList &present) {
    QStringList out;
    for (const QString &item : layout) {
        if (item == QLatin1String("-")) {
            if (!out.isEmpty() && out.last() != QLatin1String("-") && !out.last().startsWith(QLatin1Char('>')))
                out << item;
        } else if (item.startsWith(QLatin1Char('>'))) {
            out << item;
        } else if (item == QLatin1String("<")) {
            while (!out.isEmpty() && out.last() == QLatin1String("-"))
                out.removeLast();
            if (!out.isEmpty() && out.last().startsWith(QLatin1Char('>')))
                out.removeLast(); // an empty submenu is left out
            else
                out << item;
        } else if (present.contains(item)) {
            out << item;
        }
    }
    while (!out.isEmpty() && out.last() == QLatin1String("-"))
        out.removeLast();
    return out;
}

QString MakerHomePage() { return QStringLiteral("https://kodexa.example.org"); }
QString MakerMailAddress() { return QStringLiteral("info@kodexa.example.org"); }

} // namespace kodexa
