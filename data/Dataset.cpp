#include "data/Dataset.h"

#include "data/Seged.h"

#include <QDate>
#include <QDateTime>

namespace kodexa {

// ---- FieldList / Record ----

void FieldList::add(const FieldInfo &f) {
    index.insert(f.name.toLower(), int(fields.size()));
    fields.append(f);
}

int FieldList::indexOf(const QString &name) const {
    // Names mostly come in lower case already: look them up as given before folding.
    const auto it = index.constFind(name);
    if (it != index.constEnd())
        return *it;
    return index.value(name.toLower(), -1);
}

Record::Record(FieldListPtr fields) : values(fields ? fields->size() : 0), fields_(std::move(fields)) {}

QVariant Record::value(const QString &name) const {
    const int i = fields_ ? fields_->indexOf(name) : -1;
    if (i < 0)
        throw DbError(QStringLiteral("Nem létező mező: %1").arg(name));
    return values[i];
}

QString Record::text(const QString &name) const { return VarToText(value(name)); }

void Record::setValue(const QString &name, const QVariant &value) {
    const int i = fields_ ? fields_->indexOf(name) : -1;
    if (i < 0)
        throw DbError(QStringLiteral("Nem létező mező: %1").arg(name));
    setValue(i, value);
}

void Record::setValue(int i, const QVariant &value) {
    const FieldInfo &f = fields_->fields[i];
    if (!value.isValid() || value.isNull()) {
        values[i] = QVariant();
        return;
    }
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::Memo: {
        QString s = value.toString();
        if (f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        values[i] = s;
        break;
    }
    case FieldKind::Date: {
        QDate d;
        if (value.typeId() == QMetaType::QDate)
            d = value.toDate();
        else if (value.typeId() == QMetaType::QDateTime)
            d = value.toDateTime().date();
        if (d.isValid())
            values[i] = d.toString(QStringLiteral("yyyy-MM-dd"));
        else
            values[i] = value.toString().isEmpty() ? QVariant() : QVariant(value.toString());
        break;
    }
    case FieldKind::Integer:
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed();
            if (s.isEmpty()) {
                values[i] = QVariant();
                break;
            }
            bool ok = false;
            const qlonglong n = s.toLongLong(&ok);
            values[i] = ok ? QVariant(n) : QVariant(s);
        } else {
            values[i] = QVariant(value.toLongLong());
        }
        break;
    default:
        values[i] = value;
    }
}

// ---- Dataset ----

Dataset::Dataset(Db &db, QObject *parent) : QObject(parent), db_(db) {}
Dataset::~Dataset() = default;

QString Dataset::VarText(const QVariant &v) { return VarToText(v); }

void Dataset::setState(DsState s) {
    if (state_ != s) {
        state_ = s;
        emit stateChanged();
    }
}

void Dataset::moveTo(int index) {
    if (state_ == DsState::Edit || state_ == DsState::Insert)
        cancel();
    const int n = recordCount();
    if (n == 0)
        index = -1;
    else
        index = std::clamp(index, 0, n - 1);
    if (index != current_) {
        current_ = index;
    }
    emit currentChanged(current_);
}

void Dataset::next() {
    if (current_ + 1 < recordCount())
        moveTo(current_ + 1);
}

void Dataset::prior() {
    if (current_ > 0)
        moveTo(current_ - 1);
}

QVariant Dataset::value(const QString &name) const {
    if (state_ == DsState::Edit || state_ == DsState::Insert)
        return buffer_.value(name);
    const int col = fieldIndex(name);
    if (col < 0)
        throw DbError(QStringLiteral("Nem létező mező: %1").arg(name));
    if (current_ < 0)
        return QVariant();
    return valueAt(current_, col);
}

Record Dataset::recordAt(int row) const { return fetchRecord(row); }

void Dataset::edit() {
    if (state_ == DsState::Edit || state_ == DsState::Insert)
        return;
    if (current_ < 0)
        throw DbError(QStringLiteral("Nincs kiválasztott sor"));
    buffer_ = fetchRecord(current_);
    setState(DsState::Edit);
}

void Dataset::insert() {
    if (state_ == DsState::Edit || state_ == DsState::Insert)
        cancel();
    buffer_ = Record(fields_);
    setState(DsState::Insert);
}

void Dataset::setValue(const QString &name, const QVariant &value) {
    if (state_ != DsState::Edit && state_ != DsState::Insert)
        throw DbError(QStringLiteral("A sor nincs szerkesztés alatt"));
    buffer_.setValue(name, value);
}

void Dataset::post() {
    if (state_ != DsState::Edit && state_ != DsState::Insert)
        return;
    if (beforePost)
        beforePost(buffer_);
    if (state_ == DsState::Insert) {
        Record r = buffer_;
        writeInsert(r);
        const int at = current_ < 0 ? 0 : current_;
        setState(DsState::Browse);
        emit aboutToInsert(at);
        afterInsert(at, r);
        current_ = at;
        emit inserted(at);
    } else {
        writeUpdate(buffer_);
        setState(DsState::Browse);
        afterUpdate(current_, buffer_);
        emit rowChanged(current_);
    }
    emit currentChanged(current_);
}

void Dataset::cancel() {
    if (state_ == DsState::Edit || state_ == DsState::Insert) {
        buffer_ = Record();
        setState(DsState::Browse);
        emit rowChanged(current_);
    }
}

void Dataset::deleteCurrent() {
    if (state_ == DsState::Insert) {
        cancel();
        return;
    }
    if (state_ == DsState::Edit)
        cancel();
    if (current_ < 0)
        return;
    const Record r = fetchRecord(current_);
    writeDelete(r.rowid);
    const int at = current_;
    emit aboutToRemove(at);
    afterDelete(at);
    const int n = recordCount();
    current_ = n == 0 ? -1 : std::min(at, n - 1);
    emit removed(at);
    emit currentChanged(current_);
}

bool Dataset::locate(const QString &name, const QVariant &value, bool asciiNoCase) {
    const int col = fieldIndex(name);
    if (col < 0)
        throw DbError(QStringLiteral("Nem létező mező: %1").arg(name));
    const QString wanted = VarToText(value);
    const int n = recordCount();
    for (int i = 0; i < n; ++i) {
        const QString v = VarToText(valueAt(i, col));
        if (asciiNoCase ? EqualsAsciiNoCase(v, wanted) : v == wanted) {
            moveTo(i);
            return true;
        }
    }
    return false;
}

void EditAndPost(Dataset &ds, const std::function<void(Dataset &)> &change) {
    ds.edit();
    try {
        change(ds);
        ds.post();
    } catch (...) {
        ds.cancel();
        throw;
    }
}

// ---- RowWriter ----

qint64 RowWriter::insert(const Record &r) {
    QStringList names, marks;
    const FieldList &f = r.fields();
    for (int i = 0; i < f.size(); ++i) {
        names << f.fields[i].name;
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    Stmt s = db_.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(table_, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (int i = 0; i < f.size(); ++i)
        s.bind(i + 1, r.values[i]);
    s.exec();
    return db_.lastInsertRowId();
}

void RowWriter::update(const Record &r) {
    QStringList sets;
    const FieldList &f = r.fields();
    for (int i = 0; i < f.size(); ++i)
        sets << QStringLiteral("%1=?%2").arg(f.fields[i].name).arg(i + 1);
    Stmt s = db_.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?%3")
                             .arg(table_, sets.join(QLatin1Char(',')))
                             .arg(f.size() + 1));
    for (int i = 0; i < f.size(); ++i)
        s.bind(i + 1, r.values[i]);
    s.bind(f.size() + 1, r.rowid);
    s.exec();
}

void RowWriter::remove(qint64 rowid) {
    Stmt s = db_.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid=?1").arg(table_));
    s.bind(1, rowid);
    s.exec();
}

// ---- MemDataset ----

FieldListPtr TableFields(Db &db, const QString &table) {
    // Each caller gets a list of its own (the copy shares its parts until it is changed).
    if (const FieldListPtr known = db.knownFields(table))
        return std::make_shared<FieldList>(*known);
    auto fields = std::make_shared<FieldList>();
    const bool books = table.compare(QLatin1String("konyvek"), Qt::CaseInsensitive) == 0;
    for (const auto &[name, type] : db.tableColumns(table)) {
        FieldInfo f = FieldFromDecl(name, type);
        if (books)
            f.label = BookColumnLabel(name);
        fields->add(f);
    }
    if (fields->size() == 0)
        throw DbError(QStringLiteral("no such table: %1").arg(table));
    db.rememberFields(table, std::make_shared<FieldList>(*fields));
    return fields;
}

void MemDataset::openTable(const QString &table, const QString &orderBy) {
    close();
    table_ = table;
    tableMode_ = true;
    fields_ = TableFields(db_, table);
    QStringList names;
    for (const auto &f : fields_->fields)
        names << f.name;
    sql_ = QStringLiteral("SELECT rowid, %1 FROM %2").arg(names.join(QLatin1Char(',')), table);
    if (!orderBy.isEmpty())
        sql_ += QStringLiteral(" ORDER BY ") + orderBy;
    params_.clear();
    refresh();
}

void MemDataset::openQuery(const QString &sql, const QVariantMap &params) {
    close();
    tableMode_ = false;
    sql_ = sql;
    params_ = params;
    table_.clear();
    fields_.reset();
    refresh();
}

void MemDataset::close() {
    if (state_ == DsState::Inactive)
        return;
    emit aboutToReset();
    rows_.clear();
    current_ = -1;
    buffer_ = Record();
    setState(DsState::Inactive);
    emit resetDone();
}

void MemDataset::refresh() {
    Stmt s = db_.prepare(sql_);
    for (auto it = params_.cbegin(); it != params_.cend(); ++it)
        s.bind(it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key(), it.value());
    emit aboutToReset();
    rows_.clear();
    if (!tableMode_) {
        auto fields = std::make_shared<FieldList>();
        for (int i = 0; i < s.columnCount(); ++i) {
            FieldInfo f = FieldFromDecl(s.columnName(i), s.columnDeclType(i));
            fields->add(f);
        }
        fields_ = fields;
    }
    try {
        load(s, tableMode_);
    } catch (...) {
        rows_.clear();
        current_ = -1;
        setState(DsState::Inactive);
        emit resetDone();
        throw;
    }
    current_ = rows_.isEmpty() ? -1 : 0;
    setState(DsState::Browse);
    emit resetDone();
    emit currentChanged(current_);
}

void MemDataset::load(Stmt &s, bool withRowid) {
    const int off = withRowid ? 1 : 0;
    const int n = fields_->size();
    while (s.step()) {
        Record r(fields_);
        if (withRowid)
            r.rowid = s.int64(0);
        for (int i = 0; i < n; ++i)
            r.values[i] = s.value(i + off);
        rows_.append(std::move(r));
    }
}

void MemDataset::requireTable() const {
    if (!tableMode_)
        throw DbError(QStringLiteral("Az eredmény nem módosítható"));
}

void MemDataset::writeInsert(Record &r) {
    requireTable();
    r.rowid = RowWriter(db_, table_).insert(r);
}

void MemDataset::writeUpdate(const Record &r) {
    requireTable();
    RowWriter(db_, table_).update(r);
}

void MemDataset::writeDelete(qint64 rowid) {
    requireTable();
    RowWriter(db_, table_).remove(rowid);
}

void MemDataset::afterInsert(int at, const Record &r) { rows_.insert(at, r); }
void MemDataset::afterUpdate(int at, const Record &r) { rows_[at] = r; }
void MemDataset::afterDelete(int at) { rows_.removeAt(at); }

} // namespace kodexa
