#include "amountinput.h"

#include <QRegularExpression>

double parseAmount(const QString &text, bool *ok)
{
    static const QRegularExpression plainNumber(QStringLiteral("^-?\\d+([.,]\\d+)?$"));
    QString trimmed = text.trimmed();
    bool valid = plainNumber.match(trimmed).hasMatch();
    double value = 0.0;
    if (valid)
        value = trimmed.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&valid);
    if (ok)
        *ok = valid;
    return valid ? value : 0.0;
}
