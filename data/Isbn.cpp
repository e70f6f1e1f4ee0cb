#include "data/Isbn.h"

#include <QRegularExpression>
#include <QStringList>

namespace kodexa {

namespace {

int DigitValue(QChar c) { return c == QLatin1Char('X') || c == QLatin1Char('x') ? 10 : c.digitValue(); }

QString Isbn13Of(const QString &digits) {
    if (digits.size() == 13)
        return digits;
    const QString body = QStringLiteral("978") + digits.left(9);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += body[i].digitValue() * (i % 2 ? 3 : 1);
    return body + QString::number((10 - sum % 10) % 10);
}

} // namespace

bool IsbnCheckDigitOk(const QString &d) {
    if (d.size() == 10) {
        int sum = 0;
        for (int i = 0; i < 10; ++i) {
            const int v = DigitValue(d[i]);
            if (v < 0 || (v == 10 && i != 9))
                return false;
            sum += v * (10 - i);
        }
        return sum % 11 == 0;
    }
    if (d.size() == 13) {
        int sum = 0;
        for (int i = 0; i < 13; ++i) {
            if (!d[i].isDigit())
                return false;
            sum += d[i].digitValue() * (i % 2 ? 3 : 1);
        }
        return sum % 10 == 0;
    }
    return false;
}

std::optional<Isbn> ReadIsbn(const QString &field) {
    static const QRegularExpression separators(QStringLiteral("[,;|\\[\\]]"));
    std::optional<Isbn> first;
    for (QString item : field.split(separators)) {
        item = item.trimmed();
        if (item.startsWith(QLatin1Char('=')))
            item.remove(0, 1); // a spreadsheet's guard: ="0123456789"
        item.remove(QLatin1Char('"'));
        item.remove(QLatin1Char('-'));
        item.remove(QLatin1Char(' '));
        item.remove(QChar(0x00A0));
        if (item.isEmpty())
            continue;
        Isbn isbn{item.toUpper(), IsbnCheckDigitOk(item.toUpper()), {}};
        if (isbn.valid) {
            isbn.isbn13 = Isbn13Of(isbn.written);
            return isbn;
        }
        if (!first)
            first = isbn;
    }
    return first;
}

} // namespace kodexa
