#pragma once

#include <QString>

// Reads an amount as a German user types it: "12,50" and "12.50" both give
// 12.5. Blanks around the number are ignored. Anything else (letters,
// thousands separators, an exponent, an empty text) sets *ok to false.
double parseAmount(const QString &text, bool *ok);
