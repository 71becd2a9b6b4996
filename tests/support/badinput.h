#pragma once

// Unusual and hostile input for the dialogs' fields: one table of texts for
// every text field, one of amounts for every amount field, how to enter
// them, and what the file must look like afterwards.

#include "balancecheck.h"
#include "dataprovider.h"
#include "account.h"
#include "formdriver.h"

#include <QtSql>

namespace BadInput {

// Tabs, line breaks and emoji cannot be typed into a line edit; they are pasted.
struct TextCase { const char *name; QString text; bool pasted; };

inline QString longText() { return QStringLiteral("0123456789").repeated(20); }

// The odd prefix puts an emoji across the even widths 28, 38 and 78.
inline QString emojiRun()
{
    return QStringLiteral("x") + QString::fromUtf8("\xF0\x9F\x98\x80").repeated(99) + QStringLiteral("y");
}

inline QList<TextCase> textCases()
{
    return { { "empty", QString(), false }, { "blanks", "   ", false }, { "200 characters", longText(), false },
             { "umlauts", "Müller Größe Äpfel Öl Übel ß", false }, { "apostrophe", "O'Brien's Laden", false },
             { "double quote", "Der \"Beste\"", false }, { "placeholder", "100%1 und %2", false },
             { "SQL after semicolon", "x'); DROP TABLE konten; --", false },
             { "backslash", "C:\\Daten\\neu\\", false }, { "tab and newline", "Zeile1\tTab\nZeile2", true },
             { "emoji", QString::fromUtf8("Pizza \xF0\x9F\x8D\x95 und Bier \xF0\x9F\x8D\xBA"), true },
             { "emoji at the cut", emojiRun(), true } };
}

inline bool isBlank(const QString &text) { return text.trimmed().isEmpty(); }

// True when no surrogate is left without its partner.
inline bool isValidText(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isLowSurrogate())
            return false;
        if (text.at(i).isHighSurrogate() && (++i >= text.size() || !text.at(i).isLowSurrogate()))
            return false;
    }
    return true;
}

// What a column of the given width keeps: at most width UTF-16 units, never half an emoji.
inline QString expectedCut(const QString &text, int width)
{
    return text.size() <= width ? text : text.left(text.at(width - 1).isHighSurrogate() ? width - 1 : width);
}

inline void enterText(QLineEdit *edit, const QString &text, bool pasted)
{
    if (!pasted || text.isEmpty())
        return FormDriver::type(edit, text);
    edit->setFocus();
    edit->selectAll();
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(edit, QKeySequence::Paste);
}

constexpr double Refused = -1.0;

// outcomes: what the field may show after typing (a validator may drop characters), each
// with the amount then stored, or Refused. malformed: shown as typed, it is no amount with two decimals.
struct AmountCase { const char *name; QString typed; QList<QPair<QString, double>> outcomes; bool malformed = false; };

inline const QString TwoDecimals =
    QStringLiteral("Bitte einen Betrag mit höchstens zwei Dezimalstellen eingeben, zum Beispiel 1234,50.");

inline QList<AmountCase> amountCases(double limit)
{
    const QString over = QString::number(limit + 0.01, 'f', 2);
    const auto upTo = [limit](double amount) { return amount <= limit ? amount : Refused; };
    const auto as = [](const char *shown, double stored) { return qMakePair(QString::fromUtf8(shown), stored); };
    return { { "zero", "0", { as("0", Refused) } }, { "negative", "-5", { as("-5", Refused), as("5", 5.0) } },
             { "exponent", "1e9", { as("1e9", Refused), as("19", 19.0) }, true },
             { "decimal comma", "12,50", { as("12,50", 12.5) } }, { "decimal point", "12.50", { as("12.50", 12.5) } },
             { "thousands apostrophe", "1'000.00", { as("1'000.00", Refused), as("1000.00", upTo(1000.0)) }, true },
             { "trailing comma", "5,", { as("5,", 5.0) } }, { "trailing point", "5.", { as("5.", 5.0) } },
             { "leading comma", ",50", { as(",50", 0.5) } }, { "leading point", ".5", { as(".5", 0.5) } },
             { "grouped thousands", "1.000,00", { as("1.000,00", upTo(1000.0)) } },
             { "three decimals", "1,005", { as("1,005", Refused) }, true }, { "misgrouped", "12,345,67", { as("12,345,67", Refused) }, true },
             { "short group", "1.23,4", { as("1.23,4", Refused) }, true },
             { "letters", "abc", { as("abc", Refused), as("", Refused) }, true },
             { "one cent over the limit", over, { { over, Refused } } } };
}

// The stored amount for what the field shows; false when the field shows
// something the typed text must never turn into (such as "1250" for "12,50").
inline bool outcomeFor(const AmountCase &amountCase, const QString &shown, double &expected)
{
    for (const auto &outcome : amountCase.outcomes) {
        if (outcome.first == shown)
            return expected = outcome.second, true;
    }
    return false;
}

// Every row of every table, for "nothing changed".
inline QString fileSnapshot()
{
    QStringList lines;
    QSqlQuery tables(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    while (tables.next()) {
        QSqlQuery query(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(tables.value(0).toString()));
        while (query.next()) {
            QStringList values(tables.value(0).toString());
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            lines << values.join(QLatin1Char('|'));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// Balances agree with the bookings, and the cached accounts with the file.
inline QString balanceProblems()
{
    QString err;
    BalanceCheck check;
    if (!check.run(err) || !check.differences().isEmpty())
        return err.isEmpty() ? check.report() : err;
    QSqlQuery query(QStringLiteral("SELECT id, betrag FROM konten"));
    while (query.next()) {
        const Account *cached = DataProvider::instance()->getAccount(query.value(0).toInt());
        if (!cached || DataProvider::toCents(cached->getBalance()) != DataProvider::toCents(query.value(1).toDouble()))
            return QStringLiteral("cached account %1 differs from the file").arg(query.value(0).toInt());
    }
    return QString();
}

inline bool isGermanRefusal(const QString &title)
{
    return QStringList{ QStringLiteral("Betrag ungültig!"), QStringLiteral("Betrags-Überschreitung"),
                        QStringLiteral("Name fehlt") }.contains(title);
}

} // namespace BadInput
