#pragma once

// Unusual and hostile input for the dialogs' fields: the texts and amounts
// a user may type or paste, how to enter them, and what the file must look
// like afterwards.

#include "balancecheck.h"
#include "dataprovider.h"
#include "account.h"
#include "../formdriver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QTest>

namespace BadInput {

// ---- Texts ------------------------------------------------------------------

struct TextCase
{
    const char *name;
    QString text;
    // Tabs and line breaks cannot be typed into a line edit, but a pasted
    // text keeps them; emoji come from the clipboard too.
    bool pasted;
};

// 200 characters whose cut position can be read off.
inline QString longText()
{
    return QStringLiteral("0123456789").repeated(20);
}

// An odd prefix puts the halves of every emoji across the even widths
// 28, 38 and 78, so that a plain cut would split one.
inline QString emojiRun()
{
    return QStringLiteral("x") + QString::fromUtf8("\xF0\x9F\x98\x80").repeated(99) + QStringLiteral("y");
}

inline QList<TextCase> textCases()
{
    return {
        { "empty", QString(), false },
        { "blanks", QStringLiteral("   "), false },
        { "200 characters", longText(), false },
        { "umlauts", QString::fromUtf8("Müller Größe Äpfel Öl Übel ß"), false },
        { "apostrophe", QStringLiteral("O'Brien's Laden"), false },
        { "double quote", QStringLiteral("Der \"Beste\""), false },
        { "placeholder", QStringLiteral("100%1 und %2"), false },
        { "SQL after semicolon", QStringLiteral("x'); DROP TABLE konten; --"), false },
        { "backslash", QStringLiteral("C:\\Daten\\neu\\"), false },
        { "tab and newline", QStringLiteral("Zeile1\tTab\nZeile2"), true },
        { "emoji", QString::fromUtf8("Pizza \xF0\x9F\x8D\x95 und Bier \xF0\x9F\x8D\xBA"), true },
        { "emoji at the cut", emojiRun(), true },
    };
}

inline bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// True when no surrogate is left without its partner.
inline bool isValidText(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (text.at(i).isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

// What a column of the given width keeps of text: at most width UTF-16
// units, and never half of an emoji. (The cases above hold no combining
// marks, so whole code points are whole characters here.)
inline QString expectedCut(const QString &text, int width)
{
    if (text.size() <= width)
        return text;
    int cut = width;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

// Types text as a user does, or pastes it from the clipboard.
inline void enterText(QLineEdit *edit, const QString &text, bool pasted)
{
    if (!pasted || text.isEmpty()) {
        FormDriver::type(edit, text);
        return;
    }
    edit->setFocus();
    edit->selectAll();
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(edit, QKeySequence::Paste);
}

// ---- Amounts ------------------------------------------------------------------

// Outcome of an amount, by what the field shows when the user saves.
constexpr double Refused = -1.0;

struct AmountCase
{
    const char *name;
    QString typed;
    // What the field may show after typing (an input validator may drop
    // characters it does not take), each with the amount that must then
    // be stored, or Refused.
    QList<QPair<QString, double>> outcomes;
    // Refused, when the field shows it as typed, as no amount with at most
    // two decimals.
    bool malformed = false;
};

// The refusal of a malformed amount.
inline const QString TwoDecimals =
    QStringLiteral("Bitte einen Betrag mit höchstens zwei Dezimalstellen eingeben, zum Beispiel 1234,50.");

inline QList<AmountCase> amountCases(double limit)
{
    const QString overLimit = QString::number(limit + 0.01, 'f', 2);
    const auto upTo = [limit](double amount) { return amount <= limit ? amount : Refused; };
    return {
        { "zero", QStringLiteral("0"), { { QStringLiteral("0"), Refused } } },
        { "negative", QStringLiteral("-5"), { { QStringLiteral("-5"), Refused }, { QStringLiteral("5"), 5.0 } } },
        { "exponent", QStringLiteral("1e9"), { { QStringLiteral("1e9"), Refused }, { QStringLiteral("19"), 19.0 } }, true },
        { "decimal comma", QStringLiteral("12,50"), { { QStringLiteral("12,50"), 12.5 } } },
        { "decimal point", QStringLiteral("12.50"), { { QStringLiteral("12.50"), 12.5 } } },
        { "thousands apostrophe", QStringLiteral("1'000.00"),
          { { QStringLiteral("1'000.00"), Refused }, { QStringLiteral("1000.00"), upTo(1000.0) } }, true },
        { "trailing comma", QStringLiteral("5,"), { { QStringLiteral("5,"), 5.0 } } },
        { "trailing point", QStringLiteral("5."), { { QStringLiteral("5."), 5.0 } } },
        { "leading comma", QStringLiteral(",50"), { { QStringLiteral(",50"), 0.5 } } },
        { "leading point", QStringLiteral(".5"), { { QStringLiteral(".5"), 0.5 } } },
        { "grouped thousands", QStringLiteral("1.000,00"), { { QStringLiteral("1.000,00"), upTo(1000.0) } } },
        { "three decimals", QStringLiteral("1,005"), { { QStringLiteral("1,005"), Refused } }, true },
        { "misgrouped", QStringLiteral("12,345,67"), { { QStringLiteral("12,345,67"), Refused } }, true },
        { "short group", QStringLiteral("1.23,4"), { { QStringLiteral("1.23,4"), Refused } }, true },
        { "letters", QStringLiteral("abc"), { { QStringLiteral("abc"), Refused }, { QString(), Refused } }, true },
        { "one cent over the limit", overLimit, { { overLimit, Refused } } },
    };
}

// The outcome for what the field shows; false when the field shows
// something the typed text must never turn into (such as "1250" for "12,50").
inline bool outcomeFor(const AmountCase &amountCase, const QString &shown, double &expected)
{
    for (const auto &outcome : amountCase.outcomes) {
        if (outcome.first == shown) {
            expected = outcome.second;
            return true;
        }
    }
    return false;
}

// ---- The file ---------------------------------------------------------------------

// Every row of every table, for "nothing changed".
inline QString fileSnapshot()
{
    QStringList tables;
    {
        QSqlQuery query;
        query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (query.next())
            tables << query.value(0).toString();
    }
    QStringList lines;
    for (const QString &table : tables) {
        QSqlQuery query;
        query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (query.next()) {
            QStringList values;
            const QSqlRecord row = query.record();
            for (int i = 0; i < row.count(); ++i)
                values << row.value(i).toString();
            lines << table + QLatin1Char('|') + values.join(QLatin1Char('|'));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// Balances agree with the bookings, and the cached accounts with the file.
inline QString balanceProblems()
{
    QString err;
    BalanceCheck check;
    if (!check.run(err))
        return err;
    if (!check.differences().isEmpty())
        return check.report();
    QSqlQuery query;
    query.exec(QStringLiteral("SELECT id, betrag FROM konten"));
    while (query.next()) {
        Account *cached = DataProvider::instance()->getAccount(query.value(0).toInt());
        if (!cached)
            return QStringLiteral("account %1 missing from the cache").arg(query.value(0).toInt());
        if (DataProvider::toCents(cached->getBalance()) != DataProvider::toCents(query.value(1).toDouble()))
            return QStringLiteral("cached balance of account %1 is %2, the file says %3")
                .arg(query.value(0).toInt())
                .arg(cached->getBalance())
                .arg(query.value(1).toDouble());
    }
    return QString();
}

// A German box title: one of the titles the dialogs use for refusals.
inline bool isGermanRefusal(const QString &title)
{
    static const QStringList titles = {
        QStringLiteral("Betrag ungültig!"),
        QString::fromUtf8("Betrags-Überschreitung"),
        QStringLiteral("Name fehlt"),
    };
    return titles.contains(title);
}

} // namespace BadInput
