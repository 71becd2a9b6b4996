#include "amountinput.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("AmountInput", text);
}

const QRegularExpression &digitsOnly()
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]*$"));
    return digits;
}

// The whole-number part with its thousands separator taken out; a null
// string when the separator does not group in threes.
QString ungrouped(const QString &whole, QChar separator)
{
    if (!whole.contains(separator))
        return whole;
    const QRegularExpression grouped(QStringLiteral("^[0-9]{1,3}(%1[0-9]{3})+$")
                                         .arg(QRegularExpression::escape(QString(separator))));
    if (!grouped.match(whole).hasMatch())
        return QString();
    return QString(whole).remove(separator);
}

} // namespace

double parseAmount(const QString &text, bool *ok)
{
    QString number = text.trimmed();
    const bool negative = number.startsWith(QLatin1Char('-'));
    if (negative)
        number.remove(0, 1);

    // The last separator is the decimal one.
    const int point = std::max(number.lastIndexOf(QLatin1Char('.')), number.lastIndexOf(QLatin1Char(',')));
    QString whole = point < 0 ? number : number.left(point);
    const QString decimals = point < 0 ? QString() : number.mid(point + 1);
    if (point >= 0)
        whole = ungrouped(whole, number.at(point) == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.'));

    bool valid = !whole.isNull() && digitsOnly().match(whole).hasMatch()
        && digitsOnly().match(decimals).hasMatch() && decimals.size() <= 2
        && !(whole.isEmpty() && decimals.isEmpty());
    double value = 0.0;
    if (valid) {
        const QString plain = (whole.isEmpty() ? QStringLiteral("0") : whole) + QLatin1Char('.') + decimals;
        value = plain.toDouble(&valid);
    }
    if (ok)
        *ok = valid;
    if (!valid)
        return 0.0;
    return negative ? -value : value;
}

void makeAmountField(QLineEdit *field)
{
    // No validator: one that drops keystrokes turns "-5" into "5" and "1e9"
    // into "19" without a word. Saving answers every text instead.
    field->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
}

bool checkAmountFormat(QWidget *dialog, const QString &text, double &amount)
{
    bool ok = false;
    amount = parseAmount(text, &ok);
    if (ok)
        return true;
    QMessageBox::warning(dialog, tr("Betrag ungültig!"),
                         tr("Bitte einen Betrag mit höchstens zwei Dezimalstellen eingeben, "
                            "zum Beispiel 1234,50."));
    return false;
}

bool acceptAmount(QWidget *dialog, const QString &text, double limit, const QString &limitText,
                  double &amount)
{
    if (!checkAmountFormat(dialog, text, amount))
        return false;
    if (amount > 0.0 && amount <= limit)
        return true;
    QMessageBox::warning(dialog, tr("Betrag ungültig!"), limitText);
    return false;
}
