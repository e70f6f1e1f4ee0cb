#pragma once
// The program's failures. Everything the user may be shown derives from Error and carries
// its Hungarian (or the engine's own) text; a handler needs one catch for all of them.
// A mistake in the program itself (an unknown field name) is a ProgramError instead.

#include <QString>
#include <stdexcept>

namespace kodexa {

class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

// The database engine refused: its own message.
class DbError : public Error {
public:
    using Error::Error;
};

// The Hungarian first line put before the system's text when a disk is full.
QString DiskFullLead();

// A file that could not be read or written; the message is Hungarian and names the file.
// A message carrying the system's "no space left" text gets the disk-full line before it.
class FileError : public Error {
public:
    explicit FileError(const QString &message);
};

// The text the user is shown for any failure caught: the program's own message for an
// Error, the standard library's words for anything else.
QString ErrorText(const std::exception &e);

// A programming mistake, never an expected failure: shown like any error, but a test
// that meets one has found a bug.
class ProgramError : public std::logic_error {
public:
    explicit ProgramError(const QString &message) : std::logic_error(message.toStdString()) {}
};

} // namespace kodexa
