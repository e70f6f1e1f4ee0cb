#include "edit/core/Mezok.h"

#include "data/Db.h"

namespace kodexa {

namespace {

bool hasPosition(Db &db, int position) {
    Stmt s = db.prepare(QStringLiteral("SELECT 1 FROM mezo WHERE mezo=?1"));
    s.bind(1, position);
    return s.step();
}

int swapWith(Db &db, int position, int neighbour) {
    if (!hasPosition(db, position) || !hasPosition(db, neighbour))
        return position;
    // One transaction: a statement failing half-way must not strand a row at 999.
    Transaction tx(db);
    db.exec(QStringLiteral("UPDATE mezo SET mezo=%1 WHERE mezo=%2;").arg(FieldParkPosition).arg(position));
    db.exec(QStringLiteral("UPDATE mezo SET mezo=%1 WHERE mezo=%2;").arg(position).arg(neighbour));
    db.exec(QStringLiteral("UPDATE mezo SET mezo=%1 WHERE mezo=%2;").arg(neighbour).arg(FieldParkPosition));
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
    db.exec(QStringLiteral("UPDATE mezo SET sorrend='I' WHERE mezo=%1;").arg(position));
    tx.commit();
    return choice;
}

} // namespace kodexa
