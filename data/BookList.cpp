#include "data/BookList.h"

#include "data/Seged.h"

namespace kodexa {

namespace {
// A text's first character with a-z folded to A-Z: two texts can only start alike, in the
// quick search's sense, when these are equal.
char16_t FirstKey(const QString &s) {
    if (s.isEmpty())
        return 0;
    const char16_t c = s.front().unicode();
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}
} // namespace

BookList::BookList(Db &db, QObject *parent) : Dataset(db, parent) {}
BookList::~BookList() = default;

void BookList::open(const QString &orderColumn, const QString &sortField) {
    if (!fields_) {
        fields_ = TableFields(db_, QStringLiteral("konyvek"));
        for (auto &f : fields_->fields)
            if (f.name == QLatin1String("konyvek"))
                f.label = QStringLiteral("id");
    }
    QVector<qint64> ids;
    QVector<QString> texts;
    readOrder(orderColumn, sortField, ids, texts);
    emit aboutToReset();
    if (state_ == DsState::Edit || state_ == DsState::Insert)
        buffer_ = Record();
    rowids_ = std::move(ids);
    sortTexts_ = std::move(texts);
    firstKeys_.resize(sortTexts_.size());
    for (qsizetype i = 0; i < sortTexts_.size(); ++i)
        firstKeys_[i] = FirstKey(sortTexts_[i]);
    orderColumn_ = orderColumn;
    sortField_ = sortField;
    sortFieldIndex_ = fields_->indexOf(sortField);
    current_ = rowids_.isEmpty() ? -1 : 0;
    setState(DsState::Browse);
    emit resetDone();
    emit currentChanged(current_);
}

bool BookList::hasLeadingIndex(const QString &column) const {
    Stmt s = db_.prepare(QStringLiteral("SELECT 1 FROM pragma_index_list('konyvek') AS l, pragma_index_info(l.name) AS i "
                                        "WHERE i.seqno = 0 AND lower(i.name) = lower(?1) AND l.partial = 0"));
    s.bind(1, column);
    return s.step();
}

void BookList::readOrder(const QString &orderColumn, const QString &sortField, QVector<qint64> &ids,
                         QVector<QString> &texts) const {
    // Both statements are prepared before anything is read: a bad name fails here and the
    // list stays as it was.
    if (!hasLeadingIndex(orderColumn)) {
        Stmt s = db_.prepare(QStringLiteral("SELECT rowid, %1 FROM konyvek ORDER BY %2").arg(sortField, orderColumn));
        while (s.step()) {
            ids.append(s.int64(0));
            texts.append(s.text(1));
        }
        return;
    }
    // With an index on the order column the order comes from the index alone, and the sort
    // texts from one pass over the table in rowid order. Reading the texts in list order
    // instead looks up every row of the table on its own, several times slower on a large
    // catalogue. The order, ties included, is the one the engine gives for the index.
    Stmt order = db_.prepare(QStringLiteral("SELECT rowid FROM konyvek ORDER BY %1").arg(orderColumn));
    Stmt pass = db_.prepare(QStringLiteral("SELECT rowid, %1 FROM konyvek ORDER BY rowid").arg(sortField));
    while (order.step())
        ids.append(order.int64(0));
    const int n = int(ids.size());
    QVector<QPair<qint64, int>> byRowid(n);
    for (int i = 0; i < n; ++i)
        byRowid[i] = {ids[i], i};
    std::sort(byRowid.begin(), byRowid.end());
    texts.resize(n);
    int k = 0;
    while (pass.step() && k < n) {
        const qint64 rid = pass.int64(0);
        while (k < n && byRowid[k].first < rid)
            ++k;
        if (k < n && byRowid[k].first == rid)
            texts[byRowid[k++].second] = pass.text(1);
    }
}

void BookList::close() {
    if (state_ == DsState::Inactive)
        return;
    emit aboutToReset();
    rowids_.clear();
    sortTexts_.clear();
    firstKeys_.clear();
    cache_.clear();
    current_ = -1;
    setState(DsState::Inactive);
    emit resetDone();
}

QVariant BookList::valueAt(int row, int column) const { return rowValues(row).value(column); }

Stmt BookList::blockStatement(const QString &columns) const {
    QStringList marks;
    for (int i = 1; i <= BlockRows; ++i)
        marks << QStringLiteral("?%1").arg(i);
    return db_.prepare(QStringLiteral("SELECT rowid, %1 FROM konyvek WHERE rowid IN (%2)").arg(columns, marks.join(QLatin1Char(','))));
}

void BookList::fetchBlock(const QVector<qint64> &ids,
                          const std::function<void(qint64, QVector<QVariant> &&)> &sink) const {
    if (!blockStmt_)
        blockStmt_ = std::make_unique<Stmt>(blockStatement(QStringLiteral("*")));
    fetchBlock(*blockStmt_, fields_->size(), ids, sink);
}

void BookList::fetchBlock(Stmt &s, int columns, const QVector<qint64> &ids,
                          const std::function<void(qint64, QVector<QVariant> &&)> &sink) {
    s.reset();
    for (int i = 0; i < BlockRows; ++i)
        s.bind(i + 1, i < ids.size() ? QVariant(ids[i]) : QVariant());
    while (s.step()) {
        QVector<QVariant> v(columns);
        for (int i = 0; i < columns; ++i)
            v[i] = s.value(i + 1);
        sink(s.int64(0), std::move(v));
    }
    s.reset();
}

const QVector<QVariant> &BookList::rowValues(int row) const {
    static const QVector<QVariant> none;
    if (row < 0 || row >= rowids_.size())
        return none;
    const qint64 id = rowids_[row];
    if (auto *hit = cache_.object(id))
        return *hit;
    // Fetch a block around the row: the grid asks for its neighbours next.
    QVector<qint64> ids;
    const int from = std::max(0, row - BlockRows / 4);
    const int to = std::min(int(rowids_.size()), from + BlockRows);
    for (int i = from; i < to; ++i)
        if (!cache_.contains(rowids_[i]))
            ids.append(rowids_[i]);
    try {
        fetchBlock(ids, [this](qint64 rid, QVector<QVariant> &&v) { cache_.insert(rid, new QVector<QVariant>(std::move(v))); });
    } catch (...) {
        // Nothing is kept for the rows not read: the next request tries the file again.
        readFailing_ = true;
        throw;
    }
    readFailing_ = false;
    if (auto *hit = cache_.object(id))
        return *hit;
    // The row vanished under us (deleted by another statement): show it empty.
    auto *empty = new QVector<QVariant>(fields_->size());
    cache_.insert(id, empty);
    return *empty;
}

Record BookList::fetchRecord(int row) const {
    Record r(fields_);
    r.rowid = rowids_[row];
    r.values = rowValues(row);
    return r;
}

void BookList::streamBlocks(Stmt &s, int columns, const std::function<void(qint64, QVector<QVariant> &&)> &fn) const {
    const int n = int(rowids_.size());
    QHash<qint64, QVector<QVariant>> got;
    got.reserve(BlockRows);
    for (int start = 0; start < n; start += BlockRows) {
        const int end = std::min(n, start + BlockRows);
        const QVector<qint64> ids(rowids_.begin() + start, rowids_.begin() + end);
        got.clear();
        fetchBlock(s, columns, ids, [&got](qint64 rid, QVector<QVariant> &&v) { got.insert(rid, std::move(v)); });
        for (qint64 id : ids) {
            auto it = got.find(id);
            // A row deleted under us by another statement streams as an empty row.
            fn(id, it != got.end() ? std::move(it.value()) : QVector<QVariant>(columns));
        }
    }
}

void BookList::forEachRow(const std::function<void(const Record &)> &fn) const {
    if (!blockStmt_)
        blockStmt_ = std::make_unique<Stmt>(blockStatement(QStringLiteral("*")));
    streamBlocks(*blockStmt_, fields_->size(), [&](qint64 id, QVector<QVariant> &&v) {
        Record r(fields_);
        r.rowid = id;
        r.values = std::move(v);
        fn(r);
    });
}

void BookList::streamInOrder(Db &db, const QString &orderColumn, const QStringList &columns,
                             const std::function<void(const QVector<QVariant> &)> &fn) {
    QStringList quoted;
    for (const QString &c : columns)
        quoted << QLatin1Char('"') + c + QLatin1Char('"');
    if (columns.isEmpty())
        quoted << QStringLiteral("NULL");
    // The same ORDER BY as readOrder's: the engine walks the same index (or sorts the same
    // rows), so the order and its ties are the list's.
    Stmt s = db.prepare(QStringLiteral("SELECT %1 FROM konyvek ORDER BY %2").arg(quoted.join(QLatin1Char(',')), orderColumn));
    const int n = int(columns.size());
    QVector<QVariant> v(n);
    while (s.step()) {
        for (int i = 0; i < n; ++i)
            v[i] = s.value(i);
        fn(v);
    }
}

void BookList::forEachRow(const QStringList &columns, const std::function<void(const QVector<QVariant> &)> &fn) const {
    QStringList quoted;
    for (const QString &c : columns) {
        if (fieldIndex(c) < 0)
            throw ProgramError(QStringLiteral("Ismeretlen mező: %1").arg(c));
        quoted << QLatin1Char('"') + c + QLatin1Char('"');
    }
    if (columns.isEmpty())
        quoted << QStringLiteral("NULL");
    Stmt s = blockStatement(quoted.join(QLatin1Char(',')));
    const int n = int(columns.size());
    streamBlocks(s, n, [&](qint64, QVector<QVariant> &&v) { fn(v); });
}

int BookList::quickSearchIndex(const QString &text) const {
    const int n = int(sortTexts_.size());
    if (n == 0)
        return -1;
    if (text.isEmpty())
        return 0;
    // The compact first characters are scanned first; a long list's texts lie all over memory.
    const char16_t first = FirstKey(text);
    const char16_t *keys = firstKeys_.constData();
    for (int i = 0; i < n; ++i)
        if (keys[i] == first && StartsWithAsciiNoCase(sortTexts_[i], text))
            return i;
    return n - 1;
}

bool BookList::locateKey(qint64 key) {
    Stmt s = db_.prepare(QStringLiteral("SELECT rowid FROM konyvek WHERE konyvek=?1"));
    s.bind(1, key);
    QVector<qint64> candidates;
    while (s.step())
        candidates.append(s.int64(0));
    if (candidates.isEmpty())
        return false;
    for (int i = 0; i < rowids_.size(); ++i)
        if (candidates.contains(rowids_[i])) {
            moveTo(i);
            return true;
        }
    return false;
}

void BookList::refreshRow(int row) {
    if (row < 0 || row >= rowids_.size())
        return;
    cache_.remove(rowids_[row]);
    const Record r = fetchRecord(row);
    sortTexts_[row] = sortTextOf(r);
    firstKeys_[row] = FirstKey(sortTexts_[row]);
    emit rowChanged(row);
}

QString BookList::sortTextOf(const Record &r) const {
    return sortFieldIndex_ >= 0 ? VarToText(r.values[sortFieldIndex_]) : QString();
}

void BookList::writeInsert(Record &r) { r.rowid = RowWriter(db_, QStringLiteral("konyvek")).insert(r); }
void BookList::writeUpdate(const Record &r) { RowWriter(db_, QStringLiteral("konyvek")).update(r); }
void BookList::writeDelete(qint64 rowid) { RowWriter(db_, QStringLiteral("konyvek")).remove(rowid); }

void BookList::afterInsert(int at, const Record &r) {
    rowids_.insert(at, r.rowid);
    sortTexts_.insert(at, sortTextOf(r));
    firstKeys_.insert(at, FirstKey(sortTexts_[at]));
    cache_.insert(r.rowid, new QVector<QVariant>(r.values));
}

void BookList::afterUpdate(int at, const Record &r) {
    sortTexts_[at] = sortTextOf(r);
    firstKeys_[at] = FirstKey(sortTexts_[at]);

    cache_.insert(r.rowid, new QVector<QVariant>(r.values));
}

void BookList::afterDelete(int at) {
    cache_.remove(rowids_[at]);
    rowids_.removeAt(at);
    sortTexts_.removeAt(at);
    firstKeys_.removeAt(at);
}

} // namespace kodexa
