#pragma once
// Rows written to a stream for other programs to read: tab-separated text with escapes,
// comma-separated text with quotes, or a JSON array of objects. Row by row, so a whole
// catalogue never sits in memory.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>
#include <QVector>

namespace kodexa::cli {

enum class RowFormat { Tsv, Csv, Json };

// "tsv", "csv" or "json"; false for anything else.
bool ParseRowFormat(const QString &name, RowFormat &format);

class RowOutput {
public:
    // names: the column names, the header line of tsv and csv and the keys of json.
    RowOutput(QTextStream &out, RowFormat format, QStringList names);
    void begin();
    void row(const QVector<QVariant> &values);
    void end();

    // Tab, line feed, carriage return and backslash as \t, \n, \r and \\ (one row, one line).
    static QString TsvField(const QString &text);
    // Quoted, quotes doubled, when the text holds a comma, quote or line break.
    static QString CsvField(const QString &text);
    // A JSON string literal.
    static QString JsonString(const QString &text);

private:
    QTextStream &out_;
    RowFormat format_;
    QStringList names_;
    QStringList jsonKeys_;
    bool first_ = true;
};

} // namespace kodexa::cli
