#pragma once
// Text files of the program are Windows-1250 with CR LF line ends; the database holds
// UTF-8. These helpers convert at the file boundary.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include "data/Error.h"

#include <QSaveFile>

namespace kodexa {

// The one Windows-1250 boundary of the program: every text file it writes or reads goes
// through these. A character the code page cannot hold becomes "?"; when `replaced` is
// given, the number of such characters is added to it, so a caller can tell the user.
QByteArray EncodeCp1250(const QString &text, qsizetype *replaced = nullptr);
QString DecodeCp1250(const QByteArray &bytes);

// Lines of a text: CR LF, LF or CR end a line; a break at the very end opens no new line.
QStringList TextLines(const QString &text);
// Every line followed by the break.
QString LinesText(const QStringList &lines, const QString &lineBreak = QStringLiteral("\n"));

// Replaces the file with what was written to it, or keeps the old one. QSaveFile::commit
// alone renames the new copy over the old file even when its last buffered block never
// reached the disk (a full disk), leaving a torn file behind a "success". Flushes first;
// on a failure (the open or a write included) the copy is dropped and why gets the
// system's reason.
bool CommitWhole(QSaveFile &file, QString &why);
// Why a write to file failed, in the system's words; a full disk is named even when the
// write only came back short.
QString WriteFailure(const QSaveFile &file);

// The whole file as it lies on the disk. Throws FileError.
QByteArray ReadFileBytes(const QString &path);
// Whole file, decoded, split into lines. Throws FileError.
QStringList ReadCp1250Lines(const QString &path);
// Every line followed by CR LF, written through QSaveFile so a failure keeps the old file.
// Throws FileError.
void WriteCp1250Lines(const QString &path, const QStringList &lines);

// The encodings a delimited export may be written in: the program's own code page, or UTF-8
// with a byte-order mark, which spreadsheet programs recognise without asking.
enum class TextEncoding { Windows1250, Utf8WithMark };

// A text file written in blocks, for whole-list files: the text of many lines is gathered,
// encoded at the boundary one block at a time (one converter call per block, not per line),
// CR LF after each line, through QSaveFile so that a failure half-way keeps the previous
// file. Windows-1250 unless UTF-8 is asked for. Throws FileError ("path: the system's message").
class Cp1250Writer {
public:
    explicit Cp1250Writer(const QString &path, TextEncoding encoding = TextEncoding::Windows1250);
    Cp1250Writer(const Cp1250Writer &) = delete;
    Cp1250Writer &operator=(const Cp1250Writer &) = delete;

    // The line being written; lineDone ends it.
    QString &text() { return text_; }
    void lineDone();
    void line(const QString &text) {
        text_ += text;
        lineDone();
    }
    // Writes the rest and replaces the file; returns the characters written as "?" (never
    // any in UTF-8).
    qsizetype finish();

private:
    static constexpr qsizetype BlockChars = 64 * 1024;
    void flush();
    [[noreturn]] void fail();

    QSaveFile file_;
    QString path_;
    QString text_;
    TextEncoding encoding_;
    qsizetype replaced_ = 0;
};

} // namespace kodexa
