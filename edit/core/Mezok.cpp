#include "edit/core/Mezok.h"

#include "data/Db.h"

namespace kodexa {

namespace {

std::optional<qint64> rowAt(Db &db, int position) {
    Stmt s = db.prepare(QStringLiteral("SELECT rowid FROM mezo WHERE mezo=?1 ORDER BY rowid LIMIT 1"));
    s.bind(1, position);
    if (!s.step())
        return std::nullopt;
    return s.int64(0);
}

int swapWith(Db &db, int position, int neighbour) {
    const auto moved = rowAt(db, position);
    const auto other = rowAt(db, neighbour);
    if (!moved || !other)
        return position;
    // The rows are named by rowid, so a row some earlier failure left at 999 is not swept
    // along; one transaction, so a statement failing half-way strands nothing at 999.
    Transaction tx(db);
    auto set = [&db](int to, qint64 rowid) {
        Stmt s = db.prepare(QStringLiteral("UPDATE mezo SET mezo=?1 WHERE rowid=?2"));
        s.bind(1, to).bind(2, rowid);
        s.exec();
    };
    set(FieldParkPosition, *moved);
    set(position, *other);
    set(neighbour, *moved);
    tx.commit();
    return neighbour;
}

} // namespace

int MoveFieldUp(Db &db, int position) { return position <= 1 ? position : swapWith(db, position, position - 1); }

int MoveFieldDown(Db &db, int position) { return swapWith(db, position, position + 1); }

std::optional<SortFieldChoice> MarkSortField(Db &db, int position) {
    SortFieldChoice choice;
    {
        Stmt s = db.prepare(QStringLiteral("SELECT mezo_nev, displabel FROM mezo WHERE mezo=?1"));
        s.bind(1, position);
        if (!s.step())
            return std::nullopt;
        choice = {s.text(0), s.text(1)};
    }
    if (choice.caption.isEmpty())
        choice.caption = choice.field;
    // Both or neither: a failure between the two would leave the list without a sort mark.
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE mezo SET sorrend='N';"));
    Stmt mark = db.prepare(QStringLiteral("UPDATE mezo SET sorrend='I' WHERE mezo=?1"));
    mark.bind(1, position);
    mark.exec();
    tx.commit();
    return choice;
}

} // namespace kodexa
