#include "amountinput.h"

#include <QDoubleValidator>
#include <QLocale>
#include <QRegularExpression>

namespace {

// Checks the text with the decimal comma read as a point: the locale's own
// separators would turn "12,50" into "1250" under a Swiss locale.
class AmountValidator : public QDoubleValidator
{
public:
    AmountValidator(double bottom, double top, int decimals, QObject *parent)
        : QDoubleValidator(bottom, top, decimals, parent)
    {
        setLocale(QLocale::c());
        setNotation(QDoubleValidator::StandardNotation);
    }

    State validate(QString &input, int &pos) const override
    {
        QString plain = input;
        plain.replace(QLatin1Char(','), QLatin1Char('.'));
        const State state = QDoubleValidator::validate(plain, pos);
        bool complete = false;
        if (state == Intermediate)
            parseAmount(input, &complete);
        return complete ? Acceptable : state;
    }
};

} // namespace

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

QValidator *newAmountValidator(double bottom, double top, int decimals, QObject *parent)
{
    return new AmountValidator(bottom, top, decimals, parent);
}
