#include "edit/core/MasterData.h"

#include "data/Kozos.h"
#include "data/LookupTables.h"
#include "data/Seged.h"

#include <stdexcept>

namespace kodexa {

const MasterTable &MasterTableAt(int index) {
    static const QVector<MasterTable> tables = [] {
        QVector<MasterTable> v;
        for (const LookupTable &l : LookupTables().first(MasterTableCount)) {
            MasterTable t;
            t.table = QString::fromLatin1(l.table);
            t.nameColumn = QString::fromLatin1(l.nameColumn);
            t.keyColumn = l.keyed() ? QString::fromLatin1(l.searchKeyColumn) : QString();
            t.orderBy = QString::fromLatin1(l.orderColumn());
            t.caption = QString::fromUtf8(l.caption);
            t.prompt = QString::fromUtf8(l.prompt);
            t.title = QString::fromUtf8(l.label);
            t.nameSize = l.nameSize;
            v.append(t);
        }
        return v;
    }();
    if (index < 0 || index >= MasterTableCount)
        throw std::out_of_range("master table index");
    return tables[index];
}

void OpenMasterTable(MemDataset &ds, const MasterTable &t) {
    ds.openTable(t.table, t.orderBy);
    Db &db = ds.db();
    ds.beforePost = [&db, t](Record &row) { MasterBeforePost(db, t, row); };
}

void MasterBeforePost(Db &db, const MasterTable &t, Record &row) {
    const QString name = row.text(t.nameColumn);
    if (!t.keyColumn.isEmpty())
        row.setValue(t.keyColumn, SearchKey(name));
    const QVariant key = row.value(t.table);
    if (key.isNull() || key.toLongLong() == 0) {
        row.setValue(t.table, NextKey(db, t.table));
        return;
    }
    for (const QString &sql : RenameStatements(t.table, key.toLongLong(), name))
        RunStatement(db, sql);
}

QStringList BulkNames(const QString &text) {
    QStringList names;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString name = line;
        if (name.endsWith(QLatin1Char('\r')))
            name.chop(1);
        if (!name.trimmed().isEmpty())
            names << name;
    }
    return names;
}

QString CheckNames(const MasterTable &t, const QStringList &names) {
    for (const QString &name : names)
        if (name.size() > t.nameSize)
            return QStringLiteral("A név legfeljebb %1 karakter lehet:\n%2").arg(t.nameSize).arg(name);
    return QString();
}

namespace {

// After a failed write the rows in memory may hold what the rollback took back: reload.
void reloadAt(MemDataset &ds, const MasterTable &t, const QVariant &key) {
    ds.cancel();
    ds.refresh();
    if (!key.isNull())
        ds.locate(t.table, key);
}

} // namespace

void AddNames(MemDataset &ds, const MasterTable &t, const QStringList &names) {
    if (names.isEmpty())
        return;
    const QVariant before = ds.currentIndex() >= 0 ? ds.value(t.table) : QVariant();
    QVariant last;
    try {
        Transaction tr(ds.db());
        for (const QString &name : names) {
            ds.insert();
            ds.setValue(t.nameColumn, name);
            ds.post();
            last = ds.value(t.table);
        }
        tr.commit();
    } catch (...) {
        reloadAt(ds, t, before);
        throw;
    }
    // New rows were placed at the cursor; reload so they take their places in the list order.
    reloadAt(ds, t, last);
}

void RenameCurrent(MemDataset &ds, const MasterTable &t, const QString &name) {
    if (ds.currentIndex() < 0)
        return;
    const QVariant key = ds.value(t.table);
    try {
        // The books' copies and the row change together or not at all.
        Transaction tr(ds.db());
        ds.edit();
        ds.setValue(t.nameColumn, name);
        ds.post();
        tr.commit();
    } catch (...) {
        reloadAt(ds, t, key);
        throw;
    }
    reloadAt(ds, t, key);
}

int MasterSearchIndex(const Dataset &ds, const MasterTable &t, const QString &typed) {
    const bool keyed = !t.keyColumn.isEmpty();
    const int col = ds.fieldIndex(keyed ? t.keyColumn : t.nameColumn);
    if (col < 0)
        return -1;
    const QString wanted = keyed ? NormalizeKey(typed) : typed;
    for (int i = 0, n = ds.recordCount(); i < n; ++i)
        if (VarToText(ds.valueAt(i, col)).startsWith(wanted, Qt::CaseInsensitive))
            return i;
    return -1;
}

} // namespace kodexa
