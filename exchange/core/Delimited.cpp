#include "exchange/core/Delimited.h"

#include "data/Error.h"
#include "data/Seged.h"
#include "data/Settings.h"
#include "data/ShownText.h"
#include "data/TextFile.h"

#include <QLocale>
#include <QSettings>

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

TextEncoding EncodingOfItem(int item) { return item == 1 ? TextEncoding::Utf8WithMark : TextEncoding::Windows1250; }

int ItemOfEncoding(TextEncoding encoding) { return encoding == TextEncoding::Utf8WithMark ? 1 : 0; }

std::optional<TextEncoding> EncodingOfName(const QString &name) {
    for (TextEncoding e : {TextEncoding::Windows1250, TextEncoding::Utf8WithMark})
        if (name.compare(EncodingName(e), Qt::CaseInsensitive) == 0)
            return e;
    return std::nullopt;
}

QString EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8WithMark ? QStringLiteral("utf-8") : QStringLiteral("windows-1250");
}

namespace {
const QString EncodingKey = QStringLiteral("frm_Hatarolt/Encoding");
} // namespace

TextEncoding LoadExportEncoding() {
    const QSettings ini(IniPath(), QSettings::IniFormat);
    return EncodingOfName(ini.value(EncodingKey).toString()).value_or(TextEncoding::Windows1250);
}

void SaveExportEncoding(TextEncoding encoding) { UpdateIni({{EncodingKey, EncodingName(encoding)}}); }

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

qsizetype AppendRowLine(QString &out, const QVector<SourceColumn> &columns, const QVector<QVariant> &values,
                        const DelimitedOptions &o) {
    qsizetype split = 0;
    for (int c = 0; c < columns.size(); ++c)
        if (Ticked(o, c)) {
            const QString text = ExportText(values.value(c), columns[c].kind, o.multiLine);
            if (o.qualifier.isNull() && text.contains(o.delimiter))
                ++split;
            AppendItem(out, text, o);
        }
    return split;
}

QString SplitValuesWarning(const DelimitedResult &r) {
    if (r.splitValues == 0)
        return {};
    return QStringLiteral("Figyelem: %1 értékben szerepel az elválasztó karakter, ezek sorai egy táblázatkezelőben "
                          "elcsúszhatnak. Válasszon idézőjelet.")
        .arg(r.splitValues);
}

DelimitedResult WriteDelimited(RowSource &source, const QString &path, const DelimitedOptions &o,
                               const std::function<bool(qint64)> &keepGoing) {
    const QVector<SourceColumn> &columns = source.columns();
    Cp1250Writer out(path, o.encoding);
    out.text() += HeaderLine(columns, o);
    out.lineDone();
    DelimitedResult r;
    source.forEach([&](const QVector<QVariant> &values) {
        r.splitValues += AppendRowLine(out.text(), columns, values, o);
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
