#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Reads an amount as a German user types it, whatever the machine's locale:
// "12,50" and "12.50" both give 12.5, "5," and ",50" give 5.00 and 0.50.
// With both separators the last one is the decimal separator and the other
// one may only group thousands in threes ("1.234,56"; "12,345,67" is no
// number). Blanks around the number are ignored. More than two decimals,
// letters, an exponent or an empty text set *ok to false.
double parseAmount(const QString &text, bool *ok);

// Makes field an amount field. It takes any text as typed; whether that is
// an amount is judged on saving, so that the user is told what is wrong
// instead of a field that eats keystrokes or changes the number.
void makeAmountField(QLineEdit *field);

// Reads text for saving. A malformed number or one with more than two
// decimals is answered with the box "Betrag ungültig!" on dialog saying
// that at most two decimals are allowed; false then.
bool checkAmountFormat(QWidget *dialog, const QString &text, double &amount);

// As checkAmountFormat(), and the amount must lie in (0, limit]; otherwise
// the box "Betrag ungültig!" shows limitText.
bool acceptAmount(QWidget *dialog, const QString &text, double limit, const QString &limitText,
                  double &amount);
