#include "data/ShownText.h"

#include "data/Seged.h"

#include <QDate>

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
        return d.isValid() ? locale.toString(d, QLocale::ShortFormat) : value.toString();
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

Qt::AlignmentFlag DefaultAlignment(const FieldInfo &field) {
    return field.kind == FieldKind::Integer || field.kind == FieldKind::Float ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace kodexa
