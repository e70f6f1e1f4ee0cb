#include "reports/core/ReportRows.h"

#include "data/BookList.h"
#include "data/Seged.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace kodexa::report {

namespace {
// Group values are compared as the texts they print as: NULL reads as the empty text, so a
// borrower never entered and one cleared are the same nobody, one group.
QString groupText(const QVariant &v) { return VarToText(v); }
qint64 amount(const QVariant &v) { return v.isNull() ? 0 : qint64(std::llround(v.toDouble())); }
} // namespace

QString BookQuery::sql() const {
    QStringList lines{QStringLiteral("SELECT"), QStringLiteral(" konyvek.*"), QStringLiteral("FROM konyvek")};
    if (!where.isEmpty())
        lines << QStringLiteral("WHERE ") + where;
    lines << QStringLiteral("ORDER BY ") + orderBy + QLatin1Char(';');
    return lines.join(QLatin1Char('\n'));
}

QString BookQuery::sqlWithValues() const {
    QString s = sql();
    for (auto it = params.begin(); it != params.end(); ++it)
        s.replace(QRegularExpression(QStringLiteral(":%1\\b").arg(it.key())), SqlQuote(VarToText(it.value())));
    return s;
}

QueryRows::QueryRows(Db &db, BookQuery query) : db_(db), query_(std::move(query)) {}
QueryRows::~QueryRows() = default;

void QueryRows::bindParams(Stmt &s, const QString &sql) const {
    for (auto it = query_.params.begin(); it != query_.params.end(); ++it)
        if (sql.contains(QLatin1Char(':') + it.key()))
            s.bind(QLatin1Char(':') + it.key(), it.value());
}

void QueryRows::scan(const QString &groupColumn, const QString &sumColumn) {
    if (!fields_)
        fields_ = TableFields(db_, QStringLiteral("konyvek"));
    const QString where = query_.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + query_.where;
    rowids_.clear();
    groupStart_.clear();
    sum_ = 0;
    // The order alone comes first: with an index on the order column it is read from the
    // index without touching the table.
    const QString orderSql = QStringLiteral("SELECT konyvek.rowid FROM konyvek%1 ORDER BY %2").arg(where, query_.orderBy);
    Stmt order = db_.prepare(orderSql);
    bindParams(order, orderSql);
    while (order.step())
        rowids_.append(order.int64(0));
    if (groupColumn.isEmpty() && sumColumn.isEmpty())
        return;
    // The columns that decide group changes and the total are read in one pass over the
    // table in rowid order; looking each row up in report order instead reads the file's
    // pages (long contents included) all over, several times slower on a large catalogue.
    const int n = int(rowids_.size());
    QVector<QPair<qint64, int>> byRowid(n);
    for (int i = 0; i < n; ++i)
        byRowid[i] = {rowids_[i], i};
    std::sort(byRowid.begin(), byRowid.end());
    QVector<QString> groups(groupColumn.isEmpty() ? 0 : n);
    const QString cols = (groupColumn.isEmpty() ? QStringLiteral("NULL") : groupColumn) + QStringLiteral(", ") +
                         (sumColumn.isEmpty() ? QStringLiteral("NULL") : sumColumn);
    const QString passSql = QStringLiteral("SELECT konyvek.rowid, %1 FROM konyvek%2 ORDER BY konyvek.rowid").arg(cols, where);
    Stmt pass = db_.prepare(passSql);
    bindParams(pass, passSql);
    int k = 0;
    while (pass.step() && k < n) {
        const qint64 rid = pass.int64(0);
        while (k < n && byRowid[k].first < rid)
            ++k;
        if (k >= n || byRowid[k].first != rid)
            continue;
        if (!groups.isEmpty())
            groups[byRowid[k].second] = groupText(pass.value(1));
        sum_ += amount(pass.value(2));
        ++k;
    }
    if (!groups.isEmpty()) {
        groupStart_.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            groupStart_[size_t(i)] = i == 0 || groups[i] != groups[i - 1];
    }
}

void QueryRows::read(int from, int to, const std::function<void(int, const Record &)> &fn) {
    if (!block_) {
        QStringList marks;
        for (int i = 1; i <= BlockRows; ++i)
            marks << QStringLiteral("?%1").arg(i);
        block_ = std::make_unique<Stmt>(
            db_, QStringLiteral("SELECT rowid, * FROM konyvek WHERE rowid IN (%1)").arg(marks.join(QLatin1Char(','))));
    }
    to = std::min(to, rowCount());
    const int n = fields_->size();
    for (int start = from; start < to; start += BlockRows) {
        const int end = std::min(to, start + BlockRows);
        Stmt &s = *block_;
        s.reset();
        for (int i = 0; i < BlockRows; ++i)
            s.bind(i + 1, start + i < end ? QVariant(rowids_[start + i]) : QVariant());
        QHash<qint64, QVector<QVariant>> got;
        while (s.step()) {
            QVector<QVariant> v(n);
            for (int i = 0; i < n; ++i)
                v[i] = s.value(i + 1);
            got.insert(s.int64(0), std::move(v));
        }
        s.reset();
        for (int row = start; row < end; ++row) {
            Record r(fields_);
            r.rowid = rowids_[row];
            auto it = got.find(r.rowid);
            if (it != got.end()) // a row deleted since the pass prints empty
                r.values = std::move(it.value());
            fn(row, r);
        }
    }
}

void BookListRows::scan(const QString &groupColumn, const QString &sumColumn) {
    count_ = tbl_.recordCount();
    groupStart_.assign(size_t(count_), false);
    sum_ = 0;
    if (!groupColumn.isEmpty()) {
        const bool bySortText = groupColumn.compare(tbl_.sortField(), Qt::CaseInsensitive) == 0;
        const int fi = tbl_.fieldIndex(groupColumn);
        QString previous;
        for (int i = 0; i < count_; ++i) {
            QString now = bySortText ? tbl_.sortTextAt(i) : groupText(tbl_.valueAt(i, fi));
            groupStart_[size_t(i)] = i == 0 || now != previous;
            previous = std::move(now);
        }
    }
    if (!sumColumn.isEmpty()) {
        const int fi = tbl_.fieldIndex(sumColumn);
        for (int i = 0; i < count_; ++i)
            sum_ += amount(tbl_.valueAt(i, fi));
    }
}

void BookListRows::read(int from, int to, const std::function<void(int, const Record &)> &fn) {
    to = std::min(to, tbl_.recordCount());
    for (int row = from; row < to; ++row)
        fn(row, tbl_.recordAt(row));
}

} // namespace kodexa::report
