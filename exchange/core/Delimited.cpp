#include "exchange/core/Delimited.h"

#include "data/Error.h"
#include "data/Seged.h"
#include "data/TextFile.h"

#include <QLocale>
#include <QSaveFile>

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
        return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : value.toString();
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

namespace {
// Encodes and writes the text gathered so far in one piece: one converter call per block
// of lines rather than one per line.
class BlockWriter {
public:
    explicit BlockWriter(const QString &path) : file_(path), path_(path) {
        if (!file_.open(QIODevice::WriteOnly))
            fail();
        text_.reserve(BlockChars + 4096);
    }
    QString &text() { return text_; }
    void lineDone() {
        text_ += QLatin1String("\r\n");
        if (text_.size() >= BlockChars)
            flush();
    }
    qsizetype finish() {
        flush();
        if (!file_.commit())
            fail();
        return replaced_;
    }

private:
    static constexpr qsizetype BlockChars = 64 * 1024;
    void flush() {
        if (text_.isEmpty())
            return;
        const QByteArray bytes = EncodeCp1250(text_, &replaced_);
        if (file_.write(bytes) != bytes.size())
            fail();
        text_.resize(0);
    }
    [[noreturn]] void fail() {
        const QString why = file_.errorString();
        file_.cancelWriting();
        throw FileError(QStringLiteral("%1: %2").arg(path_, why));
    }

    QSaveFile file_;
    QString path_;
    QString text_;
    qsizetype replaced_ = 0;
};
} // namespace

DelimitedResult WriteDelimited(RowSource &source, const QString &path, const DelimitedOptions &o,
                               const std::function<bool(qint64)> &keepGoing) {
    const QVector<SourceColumn> &columns = source.columns();
    BlockWriter out(path);
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
