#pragma once
// What the program knows of the catalogue's tables: columns, declared types, labels,
// the keyed texts; the lookup tables are described in data/LookupTables.h.

#include "data/LookupTables.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace kodexa {

enum class FieldKind { Integer, Text, Date, Memo, Blob, Float };

struct FieldInfo {
    QString name;
    QString declType;   // as declared in the table
    FieldKind kind = FieldKind::Text;
    int size = 0;       // characters for Text, 0 when unbounded
    QString label;      // display label; the column's own name when none is given
};

// Kind and size from a declared column type: INTEGER, TEXT(n), DATE, TEXT/long text → memo, ...
FieldInfo FieldFromDecl(const QString &name, const QString &declType);

struct ColumnDef {
    const char *name;
    const char *type;
    const char *label; // nullptr: no display label
};

// The 41 columns of konyvek in table order.
const QVector<ColumnDef> &BookColumns();
// Display label of a konyvek column; the column's own name when it has none.
QString BookColumnLabel(const QString &column);

// The eight book texts whose sort order and lookups use a search key.
const QStringList &KeyedTexts();
bool IsKeyedText(const QString &column);
// Search-key column of a keyed text: cim -> cims.
inline QString KeyColumn(const QString &column) { return column + QLatin1Char('s'); }

// The SQL that makes an empty catalogue: tables and indexes.
QStringList CatalogueDdl();

} // namespace kodexa
