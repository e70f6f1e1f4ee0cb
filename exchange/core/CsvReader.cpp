#include "exchange/core/CsvReader.h"

#include "data/Error.h"

#include <QFile>
#include <QStringDecoder>

namespace kodexa::csv {

namespace {

constexpr qsizetype HeadBytes = 64 * 1024;
constexpr int SniffRecords = 20;

} // namespace

const char *CodecName(Encoding e) {
    switch (e) {
    case Encoding::Utf8:
        return "UTF-8";
    case Encoding::Utf16LE:
        return "UTF-16LE";
    case Encoding::Utf16BE:
        return "UTF-16BE";
    case Encoding::Windows1250:
        return "windows-1250";
    case Encoding::Latin2:
        return "ISO-8859-2";
    }
    return "UTF-8";
}

namespace {

// The start of a file may end inside a character: up to three bytes of an unfinished
// sequence at the end are not held against it.
qsizetype WholeUtf8Prefix(const QByteArray &bytes) {
    qsizetype n = bytes.size();
    for (int back = 1; back <= 3 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for its lead
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}

bool IsUtf8(const QByteArray &bytes) {
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = d.decode(QByteArrayView(bytes).first(WholeUtf8Prefix(bytes))); // decoding happens here
    return !d.hasError();
}

// Bytes that are letters in one of the two Central European code pages and something else
// in the other.
Encoding SingleByteGuess(const QByteArray &bytes) {
    bool cp1250Only = false, latin2Only = false;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F)
            cp1250Only = true; // control characters in ISO-8859-2
        else if (b == 0xA1 || b == 0xB1 || b == 0xA6 || b == 0xB6 || b == 0xAC || b == 0xBC)
            latin2Only = true; // Ą ą Ś ś Ź ź there; ˇ ± ¦ ¶ ¬ Ľ here
    }
    return latin2Only && !cp1250Only ? Encoding::Latin2 : Encoding::Windows1250;
}

// How well a delimiter splits the first records: the records that have as many fields as
// the first one, when that is more than one.
int DelimiterScore(const QString &text, QChar delimiter, int &width) {
    CsvReader reader(text, delimiter);
    QStringList fields;
    QString error;
    width = 0;
    int even = 0;
    for (int i = 0; i < SniffRecords && reader.next(fields, error); ++i) {
        if (!error.isEmpty())
            continue;
        if (i == 0)
            width = int(fields.size());
        else if (fields.size() == width)
            ++even;
    }
    return width > 1 ? even + 1 : 0;
}

} // namespace

QString EncodingName(Encoding e) {
    switch (e) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf16LE:
        return QStringLiteral("UTF-16 LE");
    case Encoding::Utf16BE:
        return QStringLiteral("UTF-16 BE");
    case Encoding::Windows1250:
        return QStringLiteral("Windows-1250");
    case Encoding::Latin2:
        return QStringLiteral("ISO-8859-2");
    }
    return {};
}

QVector<Encoding> Encodings() {
    return {Encoding::Utf8, Encoding::Windows1250, Encoding::Latin2, Encoding::Utf16LE, Encoding::Utf16BE};
}

QString Delimiters() { return QStringLiteral(",;\t|"); }

QString DelimiterName(QChar d) {
    switch (d.unicode()) {
    case ',':
        return QStringLiteral("vessző");
    case ';':
        return QStringLiteral("pontosvessző");
    case '\t':
        return QStringLiteral("tabulátor");
    case '|':
        return QStringLiteral("függőleges vonal");
    default:
        return QString(d);
    }
}

Dialect SniffDialect(const QByteArray &head) {
    Dialect d;
    if (head.startsWith("\xEF\xBB\xBF"))
        d.encoding = Encoding::Utf8;
    else if (head.startsWith("\xFF\xFE"))
        d.encoding = Encoding::Utf16LE;
    else if (head.startsWith("\xFE\xFF"))
        d.encoding = Encoding::Utf16BE;
    else
        d.encoding = IsUtf8(head) ? Encoding::Utf8 : SingleByteGuess(head);
    const QString text = DecodeCsv(head, d.encoding);
    int best = 0, bestWidth = 0;
    for (QChar c : Delimiters()) {
        int width = 0;
        const int score = DelimiterScore(text, c, width);
        if (score > best || (score == best && score > 0 && width > bestWidth)) {
            best = score;
            bestWidth = width;
            d.delimiter = c;
        }
    }
    return d;
}

QString DecodeCsv(const QByteArray &bytes, Encoding encoding) {
    QStringDecoder decoder(CodecName(encoding));
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

CsvReader::CsvReader(const QString &text, QChar delimiter) : text_(text), delimiter_(delimiter), eof_(true) {}

CsvReader::CsvReader(std::function<QString()> more, QChar delimiter)
    : delimiter_(delimiter), more_(std::move(more)) {}

bool CsvReader::fill() {
    if (eof_)
        return false;
    const QString chunk = more_();
    if (chunk.isEmpty()) {
        eof_ = true;
        return false;
    }
    consumed_ += pos_;
    text_.remove(0, pos_);
    pos_ = 0;
    text_ += chunk;
    return true;
}

bool CsvReader::next(QStringList &fields, QString &error) {
    for (;;) {
        if (pos_ >= text_.size() && !fill())
            return false;
        const qint64 line = lineNo_;
        if (parse(fields, error))
            return true;
        // The record goes on past what has been read: read on and take it again from its start.
        lineNo_ = line;
        fill();
    }
}

bool CsvReader::skipLine() {
    for (;;) {
        const qsizetype n = text_.size();
        const QChar *d = text_.constData();
        qsizetype i = pos_;
        while (i < n && d[i] != QLatin1Char('\n') && d[i] != QLatin1Char('\r'))
            ++i;
        if (i < n && (d[i] == QLatin1Char('\n') || i + 1 < n || eof_)) {
            if (d[i] == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
                ++i;
            pos_ = i + 1;
            return true;
        }
        pos_ = i;
        if (!fill()) {
            pos_ = text_.size();
            return true;
        }
    }
}

bool CsvReader::parse(QStringList &fields, QString &error) {
    fields.clear();
    error.clear();
    const qsizetype n = text_.size();
    const QChar *d = text_.constData();
    const qsizetype start = pos_;
    startLine_ = lineNo_;
    QString field;
    bool quoted = false;
    bool fieldStart = true;
    qsizetype i = pos_;
    // Whether the character after i is known: the end of what was read is not the end of
    // the text while more may come.
    const auto known = [&](qsizetype at) { return at < n || eof_; };
    while (i < n) {
        if (i - start > CsvRecordLimit) {
            // Too long to be a book; a quote never closed reads as one huge field too.
            error = quoted ? QStringLiteral("a(z) %1. sorban kezdődő idézőjel nem záródik").arg(startLine_)
                           : QStringLiteral("a sor hosszabb 1 MB-nál");
            pos_ = start;
            skipLine();
            lineNo_ = startLine_ + 1;
            fields.clear();
            return true;
        }
        const QChar c = d[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (!known(i + 1))
                    return false;
                if (i + 1 < n && d[i + 1] == QLatin1Char('"')) {
                    field += c;
                    i += 2;
                    continue;
                }
                quoted = false;
                ++i;
                continue;
            }
            if (c == QLatin1Char('\r') && !known(i + 1))
                return false;
            if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !(i + 1 < n && d[i + 1] == QLatin1Char('\n'))))
                ++lineNo_;
            field += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('"') && fieldStart) {
            quoted = true;
            fieldStart = false;
            ++i;
            continue;
        }
        if (c == delimiter_) {
            fields << field;
            field.clear();
            fieldStart = true;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && !known(i + 1))
                return false;
            if (c == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
                ++i;
            ++lineNo_;
            fields << field;
            pos_ = i + 1;
            return true;
        }
        // A run of ordinary characters at once.
        qsizetype j = i + 1;
        while (j < n && d[j] != delimiter_ && d[j] != QLatin1Char('\r') && d[j] != QLatin1Char('\n') &&
               d[j] != QLatin1Char('"') && j - start <= CsvRecordLimit)
            ++j;
        field += QStringView(d + i, j - i);
        fieldStart = false;
        i = j;
    }
    if (!eof_)
        return false;
    pos_ = n;
    if (quoted) {
        error = QStringLiteral("a(z) %1. sorban kezdődő idézőjel nem záródik").arg(startLine_);
        fields.clear();
        return true;
    }
    fields << field;
    return true;
}

CsvFile::CsvFile(const QString &path, Encoding encoding) : file_(path), decoder_(CodecName(encoding)) {
    if (!file_.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("A file nem olvasható: %1\n%2").arg(path, file_.errorString()));
}

QString CsvFile::next() {
    constexpr qint64 Chunk = 1024 * 1024;
    for (;;) {
        const QByteArray bytes = file_.read(Chunk);
        if (bytes.isEmpty())
            return {};
        QString text = decoder_.decode(bytes);
        if (first_) {
            first_ = false;
            if (text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
        }
        if (!text.isEmpty())
            return text;
    }
}

Preview ReadPreview(const QString &path, const std::optional<Dialect> &dialect, int rows) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("A file nem olvasható: %1\n%2").arg(path, f.errorString()));
    const QByteArray head = f.read(HeadBytes);
    const bool whole = f.atEnd();
    Preview p;
    p.dialect = dialect ? *dialect : SniffDialect(head);
    const QString text = DecodeCsv(head, p.dialect.encoding);
    CsvReader reader(text, p.dialect.delimiter);
    QStringList fields;
    QString error;
    bool header = true;
    while (int(p.rows.size()) < rows && reader.next(fields, error)) {
        // The last record of a cut start may itself be cut: it is read again in the run.
        if (!whole && reader.position() >= text.size())
            break;
        if (!error.isEmpty()) {
            p.problems << QStringLiteral("%1. sor: %2").arg(reader.line()).arg(error);
            continue;
        }
        if (header) {
            p.header = fields;
            header = false;
            continue;
        }
        if (fields.size() > p.header.size())
            p.problems << QStringLiteral("%1. sor: több mező van benne (%2), mint a fejlécben (%3)")
                              .arg(reader.line())
                              .arg(fields.size())
                              .arg(p.header.size());
        p.rows << fields;
    }
    return p;
}

} // namespace kodexa::csv
