#include "qtcommon/QFormat.h"

#include <QLocale>

namespace QtCommon {

namespace {
// Without localisation "%L1" behaves as "%1": no grouping, '.' as decimal point.
QString StripLocaleMarkers(QString format) {
    return format.replace(QLatin1String("%L"), QLatin1String("%"));
}

// Locales such as en_US spell the exponent 'E' whatever was asked; keep the case of the requested format.
QString LocalizedExponential(double value, char format, int precision) {
    const QLocale locale;
    QString number = locale.toString(value, format, precision);
    return number.replace(locale.exponential(), QString(QLatin1Char(format)));
}
}  // namespace

QFormat::QFormat(const QString& format, bool localized)
    : text_(localized ? format : StripLocaleMarkers(format)), localized_(localized) {}

QFormat QFormat::arg(int value, int fieldWidth, int base, const QChar& fill) const {
    QFormat result(*this);
    result.text_ = text_.arg(value, fieldWidth, base, fill);
    return result;
}

QFormat QFormat::arg(double value, int fieldWidth, char format, int precision, const QChar& fill) const {
    QFormat result(*this);
    if (localized_ && (format == 'e' || format == 'E')) {
        result.text_ = text_.arg(LocalizedExponential(value, format, precision), fieldWidth, fill);
    } else {
        result.text_ = text_.arg(value, fieldWidth, format, precision, fill);
    }
    return result;
}

QFormat::operator QString() const {
    return text_;
}

}  // namespace QtCommon
