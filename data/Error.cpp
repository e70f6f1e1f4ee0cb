#include "data/Error.h"

#include <QtGlobal>
#include <cerrno>

namespace kodexa {

QString DiskFullLead() { return QStringLiteral("Megtelt a lemez, nincs hely a mentéshez."); }

namespace {
QString WithDiskFullLead(const QString &message) {
    // The file routines put the system's own reason in their messages; Qt words it with the
    // same call in every locale, so the comparison holds in Hungarian too.
    if (message.contains(qt_error_string(ENOSPC)) && !message.startsWith(DiskFullLead()))
        return DiskFullLead() + QLatin1Char('\n') + message;
    return message;
}
} // namespace

FileError::FileError(const QString &message) : Error(WithDiskFullLead(message)) {}

QString ErrorText(const std::exception &e) {
    if (const auto *own = dynamic_cast<const Error *>(&e))
        return own->message();
    return QString::fromUtf8(e.what());
}

} // namespace kodexa
