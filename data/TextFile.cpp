#include "data/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cerrno>
#include <optional>

namespace kodexa {

namespace {
// The encoder's substitution byte for a character outside the code page (ASCII SUB).
constexpr char Substitute = '\x1A';
const char *const CodePage = "windows-1250";

// Opening the code page's converter costs more than converting a whole line: one of each
// per thread, reset before every use.
QStringEncoder &Encoder() {
    thread_local QStringEncoder encoder(CodePage);
    encoder.resetState();
    return encoder;
}
QStringDecoder &Decoder() {
    thread_local QStringDecoder decoder(CodePage);
    decoder.resetState();
    return decoder;
}
} // namespace

QByteArray EncodeCp1250(const QString &text, qsizetype *replaced) {
    QStringEncoder &encoder = Encoder();
    if (!encoder.isValid())
        throw FileError(QStringLiteral("A windows-1250 kódlap nem érhető el."));
    QByteArray bytes = encoder.encode(text);
    // Never a control character in the file: the unmappable ones are shown as "?".
    // A SUB the text really held is a control character too and goes the same way.
    if (replaced)
        *replaced += bytes.count(Substitute) - text.count(QChar(Substitute));
    bytes.replace(Substitute, '?');
    // The converter holds back a high surrogate at the very end, waiting for its pair, and
    // drops it when the text ends there: it is a character the code page cannot hold too.
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        bytes += '?';
        if (replaced)
            ++*replaced;
    }
    return bytes;
}

namespace {
// The code page is one byte a character: the converter's own answer for each byte, asked
// once, turns a whole file into text several times faster than the converter itself. Empty
// when some byte does not come out as one UTF-16 unit; the converter then does the work.
const std::array<char16_t, 256> *Cp1250Table() {
    static const std::optional<std::array<char16_t, 256>> table = []() -> std::optional<std::array<char16_t, 256>> {
        QStringDecoder &decoder = Decoder();
        if (!decoder.isValid())
            return std::nullopt;
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            decoder.resetState();
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            if (one.size() != 1)
                return std::nullopt;
            t[b] = one[0].unicode();
        }
        return t;
    }();
    return table ? &*table : nullptr;
}
} // namespace

QString DecodeCp1250(const QByteArray &bytes) {
    if (const auto *table = Cp1250Table()) {
        QString text(bytes.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (const char c : bytes)
            *out++ = (*table)[uchar(c)];
        return text;
    }
    QStringDecoder &decoder = Decoder();
    if (!decoder.isValid())
        throw FileError(QStringLiteral("A windows-1250 kódlap nem érhető el."));
    return decoder.decode(bytes);
}

QStringList TextLines(const QString &text) {
    if (text.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString LinesText(const QStringList &lines, const QString &lineBreak) {
    QString out;
    for (const QString &line : lines)
        out += line + lineBreak;
    return out;
}

QByteArray ReadFileBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("A file nem olvasható: %1\n%2").arg(path, f.errorString()));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("A file nem olvasható: %1\n%2").arg(path, f.errorString()));
    return bytes;
}

QStringList ReadCp1250Lines(const QString &path) { return TextLines(DecodeCp1250(ReadFileBytes(path))); }

QString WriteFailure(const QSaveFile &file) {
    // A write cut short by a nearly full disk leaves no error of its own behind ("Unknown
    // error"); the free space left on the file's disk tells what happened.
    constexpr qint64 NearlyFull = 64 * 1024;
    const QStorageInfo disk(QFileInfo(file.fileName()).absolutePath());
    if (file.isOpen() && disk.isValid() && disk.bytesAvailable() < NearlyFull)
        return qt_error_string(ENOSPC);
    return file.errorString();
}

bool CommitWhole(QSaveFile &file, QString &why) {
    if (file.isOpen() && file.error() == QFileDevice::NoError && file.flush() && file.commit())
        return true;
    why = WriteFailure(file);
    if (file.isOpen()) {
        file.cancelWriting();
        file.commit(); // cancelled: drops the copy, the old file stays
    }
    return false;
}

void WriteCp1250Lines(const QString &path, const QStringList &lines) {
    const QByteArray bytes = EncodeCp1250(LinesText(lines, QStringLiteral("\r\n")));
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes); // a failed write stays the file's error
    QString why;
    if (!CommitWhole(f, why))
        throw FileError(QStringLiteral("A file nem írható: %1\n%2").arg(path, why));
}

Cp1250Writer::Cp1250Writer(const QString &path, TextEncoding encoding)
    : file_(path), path_(path), encoding_(encoding) {
    if (!file_.open(QIODevice::WriteOnly))
        fail();
    if (encoding_ == TextEncoding::Utf8WithMark && file_.write("\xEF\xBB\xBF", 3) != 3)
        fail();
}

void Cp1250Writer::lineDone() {
    text_ += QLatin1String("\r\n");
    if (text_.size() >= BlockChars)
        flush();
}

qsizetype Cp1250Writer::finish() {
    flush();
    QString why;
    if (!CommitWhole(file_, why))
        throw FileError(QStringLiteral("%1: %2").arg(path_, why));
    return replaced_;
}

void Cp1250Writer::flush() {
    if (text_.isEmpty())
        return;
    // A block always ends at a line end, so no surrogate pair is ever cut in two.
    const QByteArray bytes = encoding_ == TextEncoding::Utf8WithMark ? text_.toUtf8() : EncodeCp1250(text_, &replaced_);
    if (file_.write(bytes) != bytes.size())
        fail();
    text_.resize(0);
}

void Cp1250Writer::fail() {
    const QString why = WriteFailure(file_);
    file_.cancelWriting();
    throw FileError(QStringLiteral("%1: %2").arg(path_, why));
}

} // namespace kodexa
