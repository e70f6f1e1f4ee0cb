#include "admin/Readme.h"

#include "admin/core/Readme.h"
#include "data/DesktopServices.h"
#include "data/Error.h"
#include "gui/Widgets.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextLayout>
#include <QVBoxLayout>

namespace kodexa {

namespace {

constexpr qreal MarginLeft = 25, MarginRight = 15, MarginTop = 25, MarginBottom = 25, HeaderAt = 15, FooterAt = 15;

QFont textFont() {
    QFont f(QStringLiteral("Lucida Console"), 9);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

} // namespace

Tfrm_Readme::Tfrm_Readme(DesktopServices &services, QWidget *parent) : QDialog(parent), services_(services) {
    SetUpDialog(this, "frm_Readme", QStringLiteral("Fontos információk"));
    resize(600, 440);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(textFont());
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setTabStopDistance(8 * QFontMetricsF(Memo1->font()).horizontalAdvance(QLatin1Char(' ')));
    // The text is set afresh for every window: whatever was typed into it is gone with it.
    Memo1->setPlainText(ReadmeText());

    auto *button1 = new QPushButton(QStringLiteral("Nyomtat"), this);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setAutoDefault(false);
    auto *button2 = new QPushButton(QStringLiteral("Bezár"), this);
    button2->setObjectName(QStringLiteral("Button2"));
    button2->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addWidget(button2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);

    connect(button1, &QPushButton::clicked, this, [this] { Guarded(services_, this, [this] { print(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    RememberPosition(this, services_);
}

Tfrm_Readme::~Tfrm_Readme() = default;

void Tfrm_Readme::print() {
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, QString::fromUtf8(ReadmeTitle));
    if (!services_.choosePrinter(printer, 0, this))
        return;
    PrintPlainText(printer, QString::fromUtf8(ReadmeTitle), Memo1->toPlainText());
}

void PreparePrinter(QPrinter &printer, const QString &title) {
    printer.setDocName(title);
    printer.setCopyCount(1);
    printer.setPageMargins(QMarginsF(MarginLeft, MarginTop, MarginRight, MarginBottom), QPageLayout::Millimeter);
}

int PrintPlainText(QPrinter &printer, const QString &title, const QString &text) {
    // The whole sheet is addressed, so the header and footer can sit inside the margins.
    printer.setFullPage(true);
    QPainter p;
    if (!p.begin(&printer))
        throw Error(QStringLiteral("A nyomtatás nem indítható el."));
    const qreal dpi = printer.resolution();
    const auto mm = [dpi](qreal v) { return v * dpi / 25.4; };
    const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
    const QRectF body(mm(MarginLeft), mm(MarginTop), paper.width() - mm(MarginLeft) - mm(MarginRight),
                      paper.height() - mm(MarginTop) - mm(MarginBottom));
    const QFont font(textFont(), &printer);
    const QFontMetricsF fm(font, &printer);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The layout scales tab positions by the device's resolution over 96 dpi itself.
    option.setTabStopDistance(8 * fm.horizontalAdvance(QLatin1Char(' ')) * 96.0 / printer.logicalDpiX());

    int page = 0;
    qreal y = 0;
    auto startPage = [&] {
        if (page > 0)
            printer.newPage();
        ++page;
        p.fillRect(paper, Qt::white);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(body.left(), mm(HeaderAt), body.width(), fm.height()), Qt::AlignLeft | Qt::AlignTop, title);
        p.drawText(QRectF(body.left(), paper.height() - mm(FooterAt) - fm.height(), body.width(), fm.height()),
                   Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("%1. oldal").arg(page));
        y = body.top();
    };
    startPage();
    QString all = text;
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (all.endsWith(QLatin1Char('\n')))
        all.chop(1);
    for (const QString &paragraph : all.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal h = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(body.width());
            line.setPosition(QPointF(0, h));
            h += line.height();
        }
        layout.endLayout();
        if (layout.lineCount() == 0) {
            if (y + fm.lineSpacing() > body.bottom())
                startPage();
            y += fm.lineSpacing();
            continue;
        }
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (y + line.height() > body.bottom() && y > body.top())
                startPage();
            line.draw(&p, QPointF(body.left(), y - line.y()));
            y += line.height();
        }
    }
    p.end();
    return page;
}

void ShowReadme(DesktopServices &services, QWidget *parent) {
    Tfrm_Readme dlg(services, parent);
    dlg.exec();
}

} // namespace kodexa
