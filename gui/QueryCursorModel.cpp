#include "gui/QueryCursorModel.h"

#include "data/Seged.h"

#include <QMetaObject>

namespace kodexa {

QueryCursorModel::QueryCursorModel(QObject *parent) : QAbstractTableModel(parent) {}
QueryCursorModel::~QueryCursorModel() = default;

void QueryCursorModel::setCursor(std::unique_ptr<QueryCursor> cursor) {
    beginResetModel();
    cursor_ = std::move(cursor);
    failed_ = false;
    endResetModel();
}

int QueryCursorModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !cursor_ ? 0 : cursor_->rowCount();
}

int QueryCursorModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() || !cursor_ ? 0 : cursor_->columnCount();
}

QVariant QueryCursorModel::data(const QModelIndex &index, int role) const {
    if (!cursor_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole))
        return {};
    QVariant v;
    try {
        v = cursor_->value(index.row(), index.column());
    } catch (const std::exception &e) {
        if (!failed_) {
            failed_ = true;
            // Told after the paint that met it: a message box inside a paint is no place.
            const QString message = ErrorText(e);
            auto *self = const_cast<QueryCursorModel *>(this);
            QMetaObject::invokeMethod(self, [self, message] { emit self->readFailed(message); }, Qt::QueuedConnection);
        }
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (v.typeId() == QMetaType::QByteArray)
        return QStringLiteral("(BLOB)");
    return VarToText(v);
}

QVariant QueryCursorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !cursor_)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return cursor_->columnNames().value(section);
}

} // namespace kodexa
