#include "tools/core/RowOutput.h"

#include "data/Seged.h"

#include <algorithm>

namespace kodexa::cli {

bool ParseRowFormat(const QString &name, RowFormat &format) {
    if (name == QLatin1String("tsv"))
        format = RowFormat::Tsv;
    else if (name == QLatin1String("csv"))
        format = RowFormat::Csv;
    else if (name == QLatin1String("json"))
        format = RowFormat::Json;
    else
        return false;
    return true;
}

RowOutput::RowOutput(QTextStream &out, RowFormat format, QStringList names)
    : out_(out), format_(format), names_(std::move(names)) {
    for (const QString &n : names_)
        jsonKeys_ << JsonString(n) + QLatin1Char(':');
}

QString RowOutput::TsvField(const QString &text) {
    // Most values hold none of the four: handed on as they are, without a copy.
    const auto special = [](QChar c) {
        const char16_t u = c.unicode();
        return u == '\t' || u == '\n' || u == '\r' || u == '\\';
    };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\t': r += QLatin1String("\\t"); break;
        case '\n': r += QLatin1String("\\n"); break;
        case '\r': r += QLatin1String("\\r"); break;
        case '\\': r += QLatin1String("\\\\"); break;
        default: r += c;
        }
    }
    return r;
}

QString RowOutput::CsvField(const QString &text) {
    bool quote = false;
    for (QChar c : text)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            quote = true;
            break;
        }
    if (!quote)
        return text;
    QString r = text;
    r.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

QString RowOutput::JsonString(const QString &text) {
    QString r;
    r.reserve(text.size() + 2);
    r += QLatin1Char('"');
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"': r += QLatin1String("\\\""); break;
        case '\\': r += QLatin1String("\\\\"); break;
        case '\n': r += QLatin1String("\\n"); break;
        case '\r': r += QLatin1String("\\r"); break;
        case '\t': r += QLatin1String("\\t"); break;
        default:
            if (u < 0x20)
                r += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
            else
                r += c;
        }
    }
    r += QLatin1Char('"');
    return r;
}

void RowOutput::begin() {
    switch (format_) {
    case RowFormat::Tsv: {
        QStringList h;
        for (const QString &n : names_)
            h << TsvField(n);
        out_ << h.join(QLatin1Char('\t')) << '\n';
        break;
    }
    case RowFormat::Csv: {
        QStringList h;
        for (const QString &n : names_)
            h << CsvField(n);
        out_ << h.join(QLatin1Char(',')) << '\n';
        break;
    }
    case RowFormat::Json:
        out_ << '[';
        break;
    }
}

void RowOutput::row(const QVector<QVariant> &values) {
    const int n = int(names_.size());
    switch (format_) {
    case RowFormat::Tsv:
    case RowFormat::Csv: {
        const bool tsv = format_ == RowFormat::Tsv;
        for (int i = 0; i < n; ++i) {
            if (i)
                out_ << (tsv ? '\t' : ',');
            const QString t = VarToText(values.value(i));
            out_ << (tsv ? TsvField(t) : CsvField(t));
        }
        out_ << '\n';
        break;
    }
    case RowFormat::Json:
        out_ << (first_ ? "\n{" : ",\n{");
        for (int i = 0; i < n; ++i) {
            if (i)
                out_ << ',';
            out_ << jsonKeys_[i];
            const QVariant v = values.value(i);
            if (!v.isValid() || v.isNull())
                out_ << "null";
            else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
                out_ << v.toLongLong();
            else if (v.typeId() == QMetaType::Double)
                out_ << QString::number(v.toDouble(), 'g', 17);
            else
                out_ << JsonString(v.toString());
        }
        out_ << '}';
        break;
    }
    first_ = false;
}

void RowOutput::end() {
    if (format_ == RowFormat::Json)
        out_ << (first_ ? "]\n" : "\n]\n");
    out_.flush();
}

} // namespace kodexa::cli
