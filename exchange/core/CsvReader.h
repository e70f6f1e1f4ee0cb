#pragma once
// Reading other programs' CSV files: the encoding and delimiter guessed from the first
// bytes, RFC 4180 records (quoted fields, doubled quotes, line breaks inside quotes, any
// line end), and a preview that reads only the start of a file however large it is.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringDecoder>
#include <QVector>
#include <functional>
#include <optional>

namespace kodexa::csv {

enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1250, Latin2 };

// "UTF-8", "UTF-16 LE", "UTF-16 BE", "Windows-1250", "ISO-8859-2": as the user is shown it.
QString EncodingName(Encoding e);
// Every encoding, in the order a chooser lists them.
QVector<Encoding> Encodings();

struct Dialect {
    Encoding encoding = Encoding::Utf8;
    QChar delimiter = QLatin1Char(',');
    bool operator==(const Dialect &) const = default;
};

// The delimiters a file may use, in the order a chooser lists them: , ; Tab |
QString Delimiters();
// "vessző", "pontosvessző", "tabulátor", "függőleges vonal".
QString DelimiterName(QChar d);

// The guess from the start of a file: a byte-order mark decides the encoding; without one,
// bytes that form UTF-8 are UTF-8, and others are Windows-1250 (ISO-8859-2 when the bytes
// hold none of the characters only Windows-1250 has and some that only ISO-8859-2 has).
// The delimiter is the candidate that splits the first lines most evenly.
Dialect SniffDialect(const QByteArray &head);
// The text of bytes in the encoding, without a byte-order mark. A cut multi-byte character
// at the very end (the start of a larger file) is dropped.
QString DecodeCsv(const QByteArray &bytes, Encoding encoding);

// A record longer than this is refused: no book needs it.
constexpr qsizetype CsvRecordLimit = 1024 * 1024;

// The records of a text, one at a time. Line numbers count the text's lines from 1, so a
// record with a line break inside a quoted field takes two.
class CsvReader {
public:
    CsvReader(const QString &text, QChar delimiter);
    // The text comes in pieces from more (a file read as it goes); an empty piece ends it.
    CsvReader(std::function<QString()> more, QChar delimiter);
    // The next record into fields; false at the end of the text. A record that cannot be
    // read (a quote never closed, more than CsvRecordLimit characters) gives its reason in
    // error and is passed over.
    bool next(QStringList &fields, QString &error);
    // The line the last record started on.
    qint64 line() const { return startLine_; }
    // How far the reader has come, in characters.
    qsizetype position() const { return consumed_ + pos_; }

private:
    // One record from pos_; false when it runs past what has been read and more may come.
    bool parse(QStringList &fields, QString &error);
    bool fill();
    bool skipLine();

    QString text_; // what has been read and not yet passed
    QChar delimiter_;
    std::function<QString()> more_;
    bool eof_ = false;
    qsizetype pos_ = 0;
    qsizetype consumed_ = 0;
    qint64 lineNo_ = 1;
    qint64 startLine_ = 0;
};

// The decoding used for an encoding's name in the converters.
const char *CodecName(Encoding e);

// A file read a piece at a time in its encoding (a byte-order mark dropped), for a reader
// that must not hold a large file whole.
class CsvFile {
public:
    // Throws FileError when the file cannot be opened.
    CsvFile(const QString &path, Encoding encoding);
    // The next piece of text; empty at the end.
    QString next();
    qint64 bytesRead() const { return file_.pos(); }
    qint64 size() const { return file_.size(); }

private:
    QFile file_;
    QStringDecoder decoder_;
    bool first_ = true;
};

struct Preview {
    Dialect dialect;
    QStringList header;
    QVector<QStringList> rows; // the first data rows, as read
    QStringList problems;      // "12. sor: …" for the rows shown
};

// The first rows of a file, from its first 64 KB only: the guessed dialect unless one is
// given. Throws FileError when the file cannot be read.
Preview ReadPreview(const QString &path, const std::optional<Dialect> &dialect = {}, int rows = 20);

} // namespace kodexa::csv
