#include "data/Schema.h"

#include <QRegularExpression>

namespace kodexa {

FieldInfo FieldFromDecl(const QString &name, const QString &declType) {
    FieldInfo f;
    f.name = name;
    f.declType = declType;
    const QString t = declType.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral("\\((\\d+)"));
    const auto m = sized.match(t);
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (t.contains(QLatin1String("INT"))) {
        f.kind = FieldKind::Integer;
    } else if (t.startsWith(QLatin1String("DATE"))) {
        f.kind = FieldKind::Date;
    } else if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CLOB"))) {
        if (n > 0 && n <= 255) {
            f.kind = FieldKind::Text;
            f.size = n;
        } else {
            f.kind = FieldKind::Memo;
            f.size = n;
        }
    } else if (t.contains(QLatin1String("BLOB"))) {
        f.kind = FieldKind::Blob;
    } else if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")) ||
               t.contains(QLatin1String("NUM")) || t.contains(QLatin1String("DEC"))) {
        f.kind = FieldKind::Float;
    } else {
        f.kind = t.isEmpty() ? FieldKind::Memo : FieldKind::Text;
    }
    f.label = name;
    return f;
}

const QVector<ColumnDef> &BookColumns() {
    static const QVector<ColumnDef> cols = {
        {"konyvek", "INTEGER", "id"},
        {"polc", "INTEGER", nullptr},
        {"polc_nev", "TEXT(10)", "polc"},
        {"dat_besz", "DATE", "beszerzés"},
        {"kolcsonadva", "TEXT(1)", nullptr},
        {"szerzok", "TEXT(128)", nullptr},
        {"szerkesztok", "TEXT(128)", "szerkesztők"},
        {"cim", "TEXT(128)", "cím"},
        {"isbn", "TEXT(20)", nullptr},
        {"alcim", "TEXT(128)", "alcím"},
        {"kiado", "INTEGER", nullptr},
        {"kiado_nev", "TEXT(50)", "kiadó"},
        {"sorozat", "INTEGER", nullptr},
        {"sorozat_nev", "TEXT(50)", "sorozat"},
        {"targykor", "INTEGER", nullptr},
        {"targykor_nev", "TEXT(50)", "tárgykör"},
        {"mufaj", "INTEGER", nullptr},
        {"mufaj_nev", "TEXT(50)", "műfaj"},
        {"kiadas", "INTEGER", "kiadás"},
        {"kotetszam", "INTEGER", "kötetszám"},
        {"terjedelem", "INTEGER", nullptr},
        {"ar", "INTEGER", "ár"},
        {"nyelv", "INTEGER", nullptr},
        {"nyelv_nev", "TEXT(50)", "nyelv"},
        {"dedikalt", "TEXT(1)", "dedikált"},
        {"kulcsszavak", "TEXT(255)", nullptr},
        {"tartalom", "TEXT(2048)", nullptr},
        {"szerzoks", "TEXT(20)", nullptr},
        {"szerkesztoks", "TEXT(20)", nullptr},
        {"cims", "TEXT(20)", nullptr},
        {"alcims", "TEXT(20)", nullptr},
        {"kiado_nevs", "TEXT(20)", nullptr},
        {"sorozat_nevs", "TEXT(20)", nullptr},
        {"targykor_nevs", "TEXT(20)", nullptr},
        {"mufaj_nevs", "TEXT(20)", nullptr},
        {"kolcsonadva_dat", "DATE", "kölcsönadva"},
        {"kolcsonadva_kinek", "TEXT(25)", "kinek"},
        {"szerzo", "INTEGER", nullptr},
        {"szerzo_nev", "TEXT(50)", "szerző"},
        {"szerzo_nevs", "TEXT(20)", nullptr},
        {"kulcsszavaks", "TEXT(255)", nullptr},
    };
    return cols;
}

QString BookColumnLabel(const QString &column) {
    for (const auto &c : BookColumns())
        if (column == QLatin1String(c.name))
            return c.label ? QString::fromUtf8(c.label) : column;
    return column;
}

const QStringList &KeyedTexts() {
    static const QStringList keyed = {QStringLiteral("szerzo_nev"),  QStringLiteral("szerkesztok"),
                                      QStringLiteral("cim"),         QStringLiteral("alcim"),
                                      QStringLiteral("kiado_nev"),   QStringLiteral("sorozat_nev"),
                                      QStringLiteral("targykor_nev"), QStringLiteral("mufaj_nev")};
    return keyed;
}

bool IsKeyedText(const QString &column) { return KeyedTexts().contains(column); }

QStringList CatalogueDdl() {
    QStringList ddl;
    QStringList cols;
    for (const auto &c : BookColumns())
        cols << QStringLiteral("  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.type));
    ddl << QStringLiteral("CREATE TABLE konyvek (\n%1\n)").arg(cols.join(QStringLiteral(",\n")));
    ddl << QStringLiteral("CREATE INDEX konyvek_konyvek ON konyvek (konyvek)");
    for (const QString &k : KeyedTexts())
        ddl << QStringLiteral("CREATE INDEX konyvek_%1 ON konyvek (%1)").arg(KeyColumn(k));
    ddl << QStringLiteral("CREATE INDEX konyvek_kulcsszavaks ON konyvek (kulcsszavaks)");
    for (const auto &t : LookupTables()) {
        const QString n = QLatin1String(t.table);
        QString sql = QStringLiteral("CREATE TABLE %1 (\n  %1 INTEGER,\n  %2 TEXT(%3)").arg(n, QLatin1String(t.nameColumn)).arg(t.nameSize);
        if (t.keyed())
            sql += QStringLiteral(",\n  %1 TEXT(20)").arg(QLatin1String(t.searchKeyColumn));
        ddl << sql + QStringLiteral("\n)");
        ddl << QStringLiteral("CREATE INDEX %1_%1 ON %1 (%1)").arg(n);
    }
    ddl << QStringLiteral("CREATE TABLE mezo (\n  mezo INTEGER,\n  mezo_nev TEXT(25),\n  szeles INTEGER,\n"
                          "  displabel TEXT(25),\n  sorrend TEXT(1)\n)");
    ddl << QStringLiteral("CREATE INDEX mezo_mezo ON mezo (mezo)");
    ddl << QStringLiteral("CREATE TABLE felhasznalo (\n  felhasznalo TEXT(15),\n  felhasznalo_nev TEXT(20),\n"
                          "  jelszo TEXT(15),\n  rendszergazda TEXT(1),\n  torzsszerkeszt TEXT(1)\n)");
    ddl << QStringLiteral("CREATE INDEX felhasznalo_felhasznalo ON felhasznalo (felhasznalo)");
    ddl << QStringLiteral("CREATE TABLE beallit (\n  beallit INTEGER,\n  vanbelep TEXT(1),\n  sendername TEXT(50),\n"
                          "  senderemil TEXT(75)\n)");
    ddl << QStringLiteral("CREATE INDEX beallit_beallit ON beallit (beallit)");
    return ddl;
}

} // namespace kodexa
