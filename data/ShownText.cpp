#include "data/ShownText.h"

#include "data/Seged.h"

#include <QDate>
#include <QRegularExpression>

namespace kodexa {

QString ShownText(const FieldInfo &field, const QVariant &value, const QLocale &locale) {
    if (!value.isValid() || value.isNull())
        return QString();
    if (field.name == QLatin1String("konyvek")) {
        bool ok = false;
        const qlonglong key = value.toLongLong(&ok);
        return ok ? QStringLiteral("%1").arg(key, 5, 10, QLatin1Char('0')) : value.toString();
    }
    switch (field.kind) {
    case FieldKind::Date: {
        const QDate d = StoredDate(value);
        return d.isValid() ? DateText(d, locale) : value.toString();
    }
    case FieldKind::Float: {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok)
            return value.toString();
        QLocale plain = locale; // the general form has no digit grouping
        plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
        return plain.toString(v, 'g', 15);
    }
    default:
        return VarToText(value);
    }
}

QString FullYearDateFormat(const QLocale &locale) {
    // One locale at a time in practice: the form is worked out once per locale, not per value.
    thread_local QString name;
    thread_local QString format;
    if (format.isEmpty() || name != locale.name()) {
        static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
        name = locale.name();
        format = locale.dateFormat(QLocale::ShortFormat).replace(shortYear, QStringLiteral("yyyy"));
    }
    return format;
}

QString DateText(const QDate &date, const QLocale &locale) { return locale.toString(date, FullYearDateFormat(locale)); }

Qt::AlignmentFlag DefaultAlignment(const FieldInfo &field) {
    return field.kind == FieldKind::Integer || field.kind == FieldKind::Float ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace kodexa
