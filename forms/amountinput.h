#pragma once

#include <QString>

class QObject;
class QValidator;

// Reads an amount as a German user types it: "12,50" and "12.50" both give
// 12.5. Blanks around the number are ignored. Anything else (letters,
// thousands separators, an exponent, an empty text) sets *ok to false.
double parseAmount(const QString &text, bool *ok);

// A validator for amount fields that lets through what parseAmount() reads,
// whatever the machine's locale: a decimal comma or point, at most decimals
// places, no sign below bottom. A complete number beyond top is accepted as
// well, so that saving can answer it with a message instead of the field
// swallowing the input.
QValidator *newAmountValidator(double bottom, double top, int decimals, QObject *parent);
