#include "exchange/core/Delimited.h"

#include "data/Error.h"
#include "data/Seged.h"
#include "data/ShownText.h"
#include "data/TextFile.h"

#include <QLocale>

namespace kodexa {

QChar DelimiterOfItem(int item) {
    switch (item) {
    case 1: return QLatin1Char('\t');
    case 2: return QLatin1Char(',');
    case 3: return QLatin1Char('|');
    default: return QLatin1Char(';');
    }
}

QChar QualifierOfItem(int item) {
    switch (item) {
    case 0: return QLatin1Char('"');
    case 1: return QLatin1Char('\'');
    default: return QChar();
    }
}

DelimitedOptions FixedFormatOptions() {
    DelimitedOptions o;
    o.delimiter = QLatin1Char('\t');
    return o;
}

QString ExportText(const QVariant &value, FieldKind kind, bool multiLine) {
    if (!value.isValid() || value.isNull())
        return kind == FieldKind::Blob || (kind == FieldKind::Memo && !multiLine) ? QStringLiteral("BLOB") : QString();
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return QStringLiteral("BLOB");
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        static const QLocale loc = [] {
            QLocale l;
            l.setNumberOptions(QLocale::OmitGroupSeparator);
            return l;
        }();
        return loc.toString(value.toDouble(), 'g', 15);
    }
    default:
        break;
    }
    switch (kind) {
    case FieldKind::Memo:
        return multiLine ? JoinLines(value.toString()) : QStringLiteral("BLOB");
    case FieldKind::Blob:
        return QStringLiteral("BLOB");
    case FieldKind::Date: {
        const QDate d = StoredDate(value);
        return d.isValid() ? DateText(d) : value.toString();
    }
    default:
        return value.toString();
    }
}

void AppendItem(QString &line, const QString &text, const DelimitedOptions &o) {
    if (o.qualifier.isNull()) {
        line += text;
    } else {
        line += o.qualifier;
        // A qualifier inside the value is doubled, so the item stays one cell.
        if (text.contains(o.qualifier)) {
            QString doubled = text;
            doubled.replace(o.qualifier, QString(2, o.qualifier));
            line += doubled;
        } else {
            line += text;
        }
        line += o.qualifier;
    }
    line += o.delimiter;
}

namespace {
bool Ticked(const DelimitedOptions &o, int column) { return o.ticked.isEmpty() || o.ticked.value(column); }
} // namespace

QString HeaderLine(const QVector<SourceColumn> &columns, const DelimitedOptions &o) {
    QString line;
    for (int c = 0; c < columns.size(); ++c)
        if (Ticked(o, c))
            AppendItem(line, columns[c].label, o);
    return line;
}

void AppendRowLine(QString &out, const QVector<SourceColumn> &columns, const QVector<QVariant> &values,
                   const DelimitedOptions &o) {
    for (int c = 0; c < columns.size(); ++c)
        if (Ticked(o, c))
            AppendItem(out, ExportText(values.value(c), columns[c].kind, o.multiLine), o);
}

DelimitedResult WriteDelimited(RowSource &source, const QString &path, const DelimitedOptions &o,
                               const std::function<bool(qint64)> &keepGoing) {
    const QVector<SourceColumn> &columns = source.columns();
    Cp1250Writer out(path);
    out.text() += HeaderLine(columns, o);
    out.lineDone();
    DelimitedResult r;
    source.forEach([&](const QVector<QVariant> &values) {
        AppendRowLine(out.text(), columns, values, o);
        out.lineDone();
        ++r.rows;
        if (keepGoing && !keepGoing(r.rows)) {
            r.stopped = true;
            return false;
        }
        return true;
    });
    r.replaced = out.finish();
    return r;
}

} // namespace kodexa
