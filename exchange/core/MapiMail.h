#pragma once
// The mail hand-over: one message with a file attached is given to the desktop's mail
// client through xdg-email, which opens the client's compose window; the user fills in or
// changes the recipient there and sends. Nothing is sent without the user.

#include "data/DesktopServices.h"

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace kodexa {

struct MailMessage {
    QString subject;
    QString body;
    QString attachment;       // path of the one attached file
    QString originatorName;   // the mail client sends from its own account: not handed over
    QString originatorAddress;
    QString recipientName;    // display name; the address serves when it is empty
    QString recipientAddress;
};

// The subject of the mail that carries the HTML page.
inline const QString HtmlMailSubject = QStringLiteral("Kodexa program generált levél");

// The xdg-email command line for the message: the program, then its arguments. An item
// that is not given is left out (no subject, no body, no attachment, no recipient).
QStringList XdgEmailCommand(const MailMessage &m);

// What becomes of the attachment on its way through xdg-email to the mail client.
enum class MailAttachment {
    Taken,    // the client is started with the file attached
    Dropped,  // the client gets a plain mailto: address, which carries no file
    NoClient, // no client is named; the hand-over itself finds one or fails
};
MailAttachment AttachmentFate(const MailSetup &setup);

// Asked instead of handing over a mail that would lose its attachment; %1 is the file name.
inline const QString AttachmentDroppedQuestion =
    QStringLiteral("A levelezőprogram nem tud mellékletet fogadni, így a levél melléklet nélkül menne el. "
                   "Megnyitja a mappát, amelyben a(z) %1 van, hogy kézzel csatolja?");

// Hands the message to the mail client and returns at once. failed runs (now, or later on
// the GUI thread while owner lives) when no mail client could be started. A message whose
// attachment the client would not get is not handed over: the user is asked whether to open
// the folder holding the file instead.
void SendMapiMail(DesktopServices &services, const MailMessage &m, QObject *owner, const std::function<void()> &failed);

} // namespace kodexa
