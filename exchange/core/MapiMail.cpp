#include "exchange/core/MapiMail.h"

#include <QFileInfo>
#include <QRegularExpression>

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

MailAttachment AttachmentFate(const MailSetup &setup) {
    // The order is xdg-email's: its hook, then $MAILER, then the desktop's own way.
    if (setup.hook)
        return MailAttachment::Taken;
    if (!setup.mailer.isEmpty())
        return MailAttachment::Dropped;
    // These desktops' openers get the mailto: address whatever client they start.
    if (setup.desktop == QLatin1String("xfce") || setup.desktop == QLatin1String("flatpak"))
        return MailAttachment::Dropped;
    if (setup.mailtoClient.isEmpty())
        return MailAttachment::NoClient;
    // Only the clients xdg-email starts itself, with the file as an argument, get it.
    static const QRegularExpression attaches(QStringLiteral("thunderbird|icedove"));
    return setup.mailtoClient.contains(attaches) ? MailAttachment::Taken : MailAttachment::Dropped;
}

void SendMapiMail(DesktopServices &services, const MailMessage &m, QObject *owner, const std::function<void()> &failed) {
    if (!m.attachment.isEmpty() && AttachmentFate(services.mailSetup()) == MailAttachment::Dropped) {
        const QFileInfo file(m.attachment);
        if (services.AskYesNo(AttachmentDroppedQuestion.arg(file.fileName()), QStringLiteral("E-Mail"), owner))
            services.OpenDocument(file.absolutePath(), owner);
        return;
    }
    services.sendMail(XdgEmailCommand(m), owner, failed);
}

} // namespace kodexa
