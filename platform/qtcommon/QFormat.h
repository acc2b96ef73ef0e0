#pragma once

#include <QChar>
#include <QString>

namespace QtCommon {

/// A small number formatter around QString::arg. With `localized` set, "%L1" groups digits and
/// uses the decimal point of the default locale.
class QFormat {
public:
    QFormat(const QString& format, bool localized);
    QFormat(const QFormat&) = default;
    QFormat& operator=(const QFormat&) = default;
    ~QFormat() = default;

    QFormat arg(int value, int fieldWidth = 0, int base = 10, const QChar& fill = QLatin1Char(' ')) const;
    QFormat arg(double value, int fieldWidth = 0, char format = 'g', int precision = -1,
                const QChar& fill = QLatin1Char(' ')) const;
    operator QString() const;

private:
    QString text_;
    bool localized_;
};

}  // namespace QtCommon
