#include "exchange/core/MapiMail.h"

#include "data/DesktopServices.h"

namespace kodexa {

QStringList XdgEmailCommand(const MailMessage &m) {
    QStringList cmd{QStringLiteral("xdg-email")};
    if (!m.subject.isEmpty())
        cmd << QStringLiteral("--subject") << m.subject;
    if (!m.body.isEmpty())
        cmd << QStringLiteral("--body") << m.body;
    if (!m.attachment.isEmpty())
        cmd << QStringLiteral("--attach") << m.attachment;
    // xdg-email takes the recipient as its last argument; the originator is the account
    // the user sends from in the mail client, which xdg-email has no way to set.
    if (!m.recipientAddress.isEmpty())
        cmd << (m.recipientName.isEmpty() || m.recipientName == m.recipientAddress
                    ? m.recipientAddress
                    : QStringLiteral("%1 <%2>").arg(m.recipientName, m.recipientAddress));
    return cmd;
}

void SendMapiMail(DesktopServices &services, const MailMessage &m, QObject *owner, const std::function<void()> &failed) {
    services.sendMail(XdgEmailCommand(m), owner, failed);
}

} // namespace kodexa
