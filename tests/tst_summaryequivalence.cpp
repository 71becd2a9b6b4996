// The summary lists of the reports are built in one pass over the caches
// with look-up tables by id. These tests hold them against the plain
// nested-loop algorithms, run here on rows read straight from the file, on a
// generated year of realistic size: every line, every sum to the last bit.

#include "testsupport.h"
#include "yeargenerator.h"

#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <memory>
#include <vector>

namespace {

// ---- Rows as read from the file ---------------------------------------------

struct Line
{
    int id = 0;
    QString name;
    QDate date;
    double amount = 0.0;
    double second = 0.0;     // budget, volume, or the opening amount
    double third = 0.0;      // balance
    double credits = 0.0;
    double debits = 0.0;
    int typeId = 0;          // expense type, sub-type, account type
    int recipientId = 0;
    int instrumentId = 0;
    int linkedCount = 0;
    QString recipientName;
    QString instrumentName;
    QString typeName;
    QString remark;
    QColor colour;
    bool total = false;
};

struct Detail
{
    int expenseId;
    int subTypeId;
    double amount;
};

struct Movement
{
    int from;
    int instrumentId;
    int opFlag;
    double amount;
};

struct Instrument
{
    int id;
    int type;
    int accountId;
    QString name;
};

QList<QSqlRecord> rows(const QString &sql)
{
    QList<QSqlRecord> result;
    QSqlQuery query;
    if (!query.exec(sql))
        qWarning("query failed: %s", qPrintable(sql));
    while (query.next())
        result << query.record();
    return result;
}

Line expenseLine(const QSqlRecord &r)
{
    Line l;
    l.id = r.value("id").toInt();
    l.name = r.value("name").toString();
    l.date = r.value("startdate").toDate();
    l.amount = r.value("betrag").toDouble();
    l.recipientName = r.value("beguenstigter").toString();
    l.recipientId = r.value("beguenstigter_id").toInt();
    l.instrumentName = r.value("zahlungsmittel").toString();
    l.instrumentId = r.value("zahlungsmittel_id").toInt();
    l.remark = r.value("bemerkung").toString();
    l.typeName = r.value("ausgaben_typ").toString();
    l.typeId = r.value("ausgaben_typ_id").toInt();
    return l;
}

// The whole year as the straightforward algorithms see it: every table in
// the order the program's caches hold it.
struct Year
{
    QList<Line> expenses;          // newest first
    QList<Detail> details;         // table order
    QList<Line> types;             // by name
    QList<Line> recipients;        // by name
    QList<Line> sources;           // by name
    QList<Line> accounts;          // by name
    QList<Instrument> instruments; // by name
    QList<Movement> movements;     // newest first

    void read()
    {
        for (const QSqlRecord &r : rows("SELECT * FROM ausgaben ORDER BY startdate DESC "))
            expenses << expenseLine(r);
        for (const QSqlRecord &r : rows("SELECT * FROM ausgaben_detail "))
            details << Detail{r.value("ausgaben_id").toInt(), r.value("ausgaben_sub_typ_id").toInt(),
                              r.value("betrag").toDouble()};
        for (const QSqlRecord &r : rows("SELECT * FROM ausgaben_typen ORDER BY name")) {
            Line l;
            l.id = r.value("id").toInt();
            l.name = r.value("name").toString();
            l.second = r.value("budget").toDouble();
            types << l;
        }
        for (const QSqlRecord &r : rows("SELECT * FROM beguenstigte ORDER BY name")) {
            Line l;
            l.id = r.value("id").toInt();
            l.name = r.value("name").toString();
            recipients << l;
        }
        for (const QSqlRecord &r : rows("SELECT * FROM einnahme_quelle ORDER BY name")) {
            Line l;
            l.id = r.value("id").toInt();
            l.name = r.value("name").toString();
            l.second = r.value("betrags_volumen").toDouble();
            sources << l;
        }
        // Six colours in a cycle, in name order.
        const QColor cycle[] = {QColor(255, 255, 128), QColor(128, 255, 128), QColor(128, 255, 255),
                                QColor(192, 192, 255), QColor(255, 192, 255), QColor(255, 128, 128)};
        for (const QSqlRecord &r : rows("SELECT * FROM konten ORDER BY name ")) {
            Line l;
            l.id = r.value("id").toInt();
            l.name = r.value("name").toString();
            l.typeId = r.value("konto_typ").toInt();
            l.second = r.value("initial_betrag").toDouble();
            l.third = r.value("betrag").toDouble();
            l.colour = cycle[accounts.size() % 6];
            accounts << l;
        }
        for (const QSqlRecord &r : rows("SELECT * FROM zahlungsmittel ORDER BY name "))
            instruments << Instrument{r.value("id").toInt(), r.value("zahlungsmittel_typ").toInt(),
                                      r.value("konto_id").toInt(), r.value("name").toString()};
        for (const QSqlRecord &r : rows("SELECT * FROM konto_bewegungen ORDER BY startdate DESC "))
            movements << Movement{r.value("konto_id_von").toInt(), r.value("zahlungsmittel_id").toInt(),
                                  r.value("op_flag").toInt(), r.value("betrag").toDouble()};
    }

    QList<int> subTypeIds() const
    {
        QList<int> ids;
        for (const QSqlRecord &r : rows("SELECT id FROM ausgaben_sub_typen ORDER BY id"))
            ids << r.value(0).toInt();
        return ids;
    }

    // ---- The algorithms, one loop inside the other --------------------------

    static Line expenseTotal(double sum)
    {
        Line total;
        total.name = QStringLiteral("Total:");
        total.amount = sum;
        total.total = true;
        return total;
    }

    QList<Line> expensesOfType(int typeId) const
    {
        QList<Line> out;
        double sum = 0.0;
        for (const Line &e : expenses) {
            if (typeId < 1 || e.typeId == typeId) {
                out << e;
                sum += e.amount;
            }
        }
        out << expenseTotal(sum);
        return out;
    }

    QList<Line> expensesOfSubType(int subTypeId) const
    {
        QList<Detail> ofSubType;
        double sum = 0.0;
        for (const QSqlRecord &r :
             rows(QStringLiteral("SELECT * FROM ausgaben_detail WHERE ausgaben_sub_typ_id = '%1' ").arg(subTypeId))) {
            ofSubType << Detail{r.value("ausgaben_id").toInt(), subTypeId, r.value("betrag").toDouble()};
            sum += ofSubType.last().amount;
        }
        QList<Line> out;
        for (int i = expenses.size() - 1; i >= 0; --i) {
            for (const Detail &d : ofSubType) {
                if (d.expenseId == expenses.at(i).id) {
                    Line copy = expenses.at(i);
                    copy.amount = d.amount;
                    out.prepend(copy);
                }
            }
        }
        out << expenseTotal(sum);
        return out;
    }

    QList<Line> expensesOfRecipient(int recipientId) const
    {
        QList<Line> out;
        double sum = 0.0;
        for (const Line &e : expenses) {
            if (e.recipientId == recipientId) {
                out << e;
                sum += e.amount;
            }
        }
        out << expenseTotal(sum);
        return out;
    }

    QList<Line> expenseTypeTotals(const QList<Line> &given) const
    {
        QList<Line> out;
        double budgets = 0.0;
        double spent = 0.0;
        for (const Line &type : types) {
            Line line;
            line.name = type.name;
            line.second = type.second;
            for (const Line &e : given) {
                if (e.typeId == type.id)
                    line.amount += e.amount;
            }
            budgets += type.second;
            spent += line.amount;
            out << line;
        }
        Line total = expenseTotal(spent);
        total.second = budgets;
        total.remark = QStringLiteral("Total:");
        out << total;
        return out;
    }

    QList<Line> subTypeTotals(int typeId, const QList<Line> &given) const
    {
        QList<Line> out;
        for (const QSqlRecord &r :
             rows(QStringLiteral("SELECT * FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1 ORDER BY name").arg(typeId))) {
            Line line;
            line.name = r.value("name").toString();
            line.typeId = r.value("id").toInt();
            out << line;
        }
        double sum = 0.0;
        for (const Line &e : given) {
            if (e.total)
                continue;
            sum += e.amount;
            for (const Detail &d : details) {
                if (d.expenseId != e.id)
                    continue;
                for (Line &line : out) {
                    if (line.typeId == d.subTypeId) {
                        line.amount += d.amount;
                        break;
                    }
                }
            }
        }
        out << expenseTotal(sum);
        return out;
    }

    QList<Line> recipientTotals() const
    {
        QList<Line> out = recipients;
        Line others;
        others.name = QStringLiteral("Andere");
        Line total = expenseTotal(0.0);
        for (const Line &e : expenses) {
            Line *target = &others;
            for (Line &r : out) {
                if (r.id == e.recipientId) {
                    target = &r;
                    break;
                }
            }
            target->amount += e.amount;
            total.amount += e.amount;
        }
        out << others << total;
        return out;
    }

    QList<Line> incomeSourceTotals(const QList<Line> &movementsIn) const
    {
        QList<Line> out;
        double volumes = 0.0;
        double received = 0.0;
        for (const Line &source : sources) {
            Line line;
            line.name = source.name;
            line.second = source.second;
            for (const Line &m : movementsIn) {
                if (m.typeId == source.id)
                    line.amount += m.amount;
            }
            volumes += source.second;
            received += line.amount;
            out << line;
        }
        Line total = expenseTotal(received);
        total.second = volumes;
        total.remark = QStringLiteral("Total:");
        out << total;
        return out;
    }

    void accountMovements(Line &a, int piId) const
    {
        double credits = 0.0;
        double debits = 0.0;
        for (const Movement &m : movements) {
            if (m.from != a.id) {
                if (m.instrumentId == piId)
                    debits += m.amount;
                continue;
            }
            if (m.instrumentId != 0 && m.instrumentId != piId)
                continue;
            if (m.opFlag == 1)
                credits += m.amount;
            else
                debits += m.amount;
        }
        a.credits = credits;
        a.debits = debits;
    }

    double spentWith(int piId) const
    {
        double sum = 0.0;
        for (const Line &e : expenses) {
            if (e.instrumentId == piId)
                sum += e.amount;
        }
        return sum;
    }

    // Rows that stand for a cached account share that account, as the
    // program's rows share the cached object; their final state counts.
    QList<Line> accountOverview() const
    {
        std::vector<Line> cached(accounts.begin(), accounts.end());
        std::vector<std::unique_ptr<Line>> cards;
        QList<Line *> out;
        auto find = [&cached](int id) -> Line * {
            for (Line &a : cached) {
                if (a.id == id)
                    return &a;
            }
            return nullptr;
        };
        double debits = 0.0, credits = 0.0, opening = 0.0, balance = 0.0;
        for (const Instrument &p : instruments) {
            Line *account = find(p.accountId);
            if (!account)
                continue;
            const bool bankAccount = account->typeId == 12;
            Line *a = account;
            Line *bank = nullptr;
            if (bankAccount && p.type != 25) {
                bank = account;
                cards.push_back(std::make_unique<Line>());
                a = cards.back().get();
                a->typeId = 13;
                a->linkedCount = 1;
                bank->linkedCount += 1;
                a->colour = bank->colour;
            } else {
                accountMovements(*a, p.id);
            }
            a->name = p.name;
            if (a->typeId == 13) {
                const double s = spentWith(p.id);
                if (a->linkedCount != 0 && s == 0.0) {
                    a->linkedCount = 0;
                    if (bank)
                        bank->linkedCount -= 1;
                }
                a->debits += s;
            }
            debits += a->debits;
            credits += a->credits;
            opening += a->second;
            balance += a->third;
            out << a;
        }
        QList<Line> result;
        for (const Line *row : out)
            result << *row;
        Line total;
        total.name = QStringLiteral("Total:");
        total.total = true;
        total.second = opening;
        total.third = balance;
        total.credits = credits;
        total.debits = debits;
        result << total;
        return result;
    }

    Line instrumentRow(const Instrument &p) const
    {
        std::vector<Line> cached(accounts.begin(), accounts.end());
        Line a;
        if (p.type == 24) {
            a.typeId = 13;
        } else {
            for (const Line &c : cached) {
                if (c.id == p.accountId) {
                    a = c;
                    break;
                }
            }
            accountMovements(a, p.id);
        }
        a.name = p.name;
        if (a.typeId == 13)
            a.debits += spentWith(p.id);
        return a;
    }
};

// ---- Comparison: the first difference, or an empty text -----------------------

template<typename T>
QString differs(const char *field, int row, const T &got, const T &want)
{
    if (got == want)
        return QString();
    QString g, w;
    QDebug(&g) << got;
    QDebug(&w) << want;
    return QStringLiteral("line %1, %2: got %3, expected %4").arg(row).arg(QLatin1String(field), g, w);
}

// Exact: the sums must be the same additions in the same order.
QString differsExactly(const char *field, int row, double got, double want)
{
    if (got == want)
        return QString();
    return QStringLiteral("line %1, %2: got %3, expected %4")
        .arg(row).arg(QLatin1String(field)).arg(got, 0, 'g', 17).arg(want, 0, 'g', 17);
}

#define CHECK(expr) do { const QString m = (expr); if (!m.isEmpty()) return m; } while (false)

QString compareExpenses(const QList<ExpenseEntry *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    for (int i = 0; i < got.size(); ++i) {
        const ExpenseEntry *g = got.at(i);
        const Line &w = want.at(i);
        CHECK(differs("total row", i, g->isTotalRow(), w.total));
        CHECK(differs("name", i, g->getName(), w.name));
        CHECK(differsExactly("amount", i, g->getAmount(), w.amount));
        if (w.total) {
            CHECK(differs("type id", i, g->getExpenseTypeId(), 0));
            continue;
        }
        CHECK(differs("id", i, g->getId(), w.id));
        CHECK(differs("date", i, g->getDate(), w.date));
        CHECK(differs("recipient", i, g->getRecipientName(), w.recipientName));
        CHECK(differs("recipient id", i, g->getRecipientId(), w.recipientId));
        CHECK(differs("instrument", i, g->getPaymentInstrumentName(), w.instrumentName));
        CHECK(differs("instrument id", i, g->getPaymentInstrumentId(), w.instrumentId));
        CHECK(differs("remark", i, g->getRemark(), w.remark));
        CHECK(differs("type", i, g->getExpenseTypeName(), w.typeName));
        CHECK(differs("type id", i, g->getExpenseTypeId(), w.typeId));
    }
    return QString();
}

QString compareTypeTotals(const QList<ExpenseEntry *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    for (int i = 0; i < got.size(); ++i) {
        CHECK(differs("total row", i, got.at(i)->isTotalRow(), want.at(i).total));
        CHECK(differs("name", i, got.at(i)->getName(), want.at(i).name));
        CHECK(differsExactly("budget", i, got.at(i)->getBudget(), want.at(i).second));
        CHECK(differsExactly("spent", i, got.at(i)->getAmount(), want.at(i).amount));
        if (want.at(i).total)
            CHECK(differs("remark", i, got.at(i)->getRemark(), want.at(i).remark));
    }
    return QString();
}

QString compareSubTypeTotals(const QList<ExpenseEntryDetail *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    for (int i = 0; i < got.size(); ++i) {
        CHECK(differs("total row", i, got.at(i)->isTotalRow(), want.at(i).total));
        CHECK(differs("name", i, got.at(i)->getName(), want.at(i).name));
        CHECK(differsExactly("amount", i, got.at(i)->getAmount(), want.at(i).amount));
        if (!want.at(i).total)
            CHECK(differs("sub-type id", i, got.at(i)->getSubTypeId(), want.at(i).typeId));
    }
    return QString();
}

QString compareRecipients(const QList<Recipient *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    DataProvider *data = DataProvider::instance();
    for (int i = 0; i < got.size(); ++i) {
        CHECK(differs("total row", i, got.at(i)->isTotalRow(), want.at(i).total));
        CHECK(differs("id", i, got.at(i)->getId(), want.at(i).id));
        CHECK(differs("name", i, got.at(i)->getName(), want.at(i).name));
        CHECK(differsExactly("paid", i, got.at(i)->getPaidSum(), want.at(i).amount));
        // The recipients are the cached records themselves.
        if (want.at(i).id != 0)
            CHECK(differs("cache record", i, static_cast<const void *>(got.at(i)),
                          static_cast<const void *>(data->getRecipient(want.at(i).id))));
    }
    return QString();
}

QString compareIncome(const QList<IncomeEntry *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    for (int i = 0; i < got.size(); ++i) {
        CHECK(differs("total row", i, got.at(i)->isTotalRow(), want.at(i).total));
        CHECK(differs("name", i, got.at(i)->getName(), want.at(i).name));
        CHECK(differsExactly("volume", i, got.at(i)->getVolume(), want.at(i).second));
        CHECK(differsExactly("received", i, got.at(i)->getAmount(), want.at(i).amount));
        if (want.at(i).total)
            CHECK(differs("remark", i, got.at(i)->getRemark(), want.at(i).remark));
    }
    return QString();
}

QString compareAccount(int i, const Account *g, const Line &w)
{
    CHECK(differs("total row", i, g->isTotalRow(), w.total));
    CHECK(differs("name", i, g->getName(), w.name));
    CHECK(differsExactly("opening", i, g->getOpeningAmount(), w.second));
    CHECK(differsExactly("balance", i, g->getBalance(), w.third));
    CHECK(differsExactly("credits", i, g->getIncomingSum(), w.credits));
    CHECK(differsExactly("debits", i, g->getOutgoingSum(), w.debits));
    if (!w.total) {
        CHECK(differs("id", i, g->getId(), w.id));
        CHECK(differs("account type", i, g->getAccountType(), w.typeId));
        CHECK(differs("linked count", i, g->getLinkedCount(), w.linkedCount));
        if (w.colour.isValid())
            CHECK(differs("colour", i, g->getColour(), w.colour));
    }
    return QString();
}

QString compareAccounts(const QList<Account *> &got, const QList<Line> &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1 lines, expected %2").arg(got.size()).arg(want.size());
    for (int i = 0; i < got.size(); ++i)
        CHECK(compareAccount(i, got.at(i), want.at(i)));
    return QString();
}

#undef CHECK

// Deletes what a summary list made anew; cache records stay.
template<typename T>
void releaseLines(QList<T *> &lines)
{
    for (T *line : std::as_const(lines)) {
        if (line->getId() == 0 || line->isTotalRow())
            delete line;
    }
    lines.clear();
}

QList<Line> incomeLines(const QList<IncomeEntry *> &movements)
{
    QList<Line> out;
    for (const IncomeEntry *m : movements) {
        Line l;
        l.amount = m->getAmount();
        l.typeId = m->getIncomeSourceId();
        out << l;
    }
    return out;
}

// A fingerprint of every row of every table, to tell files apart.
QByteArray fileDigest()
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char *table : {"konten", "zahlungsmittel", "ausgaben_typen", "ausgaben_sub_typen", "beguenstigte",
                              "einnahme_quelle", "ausgaben", "ausgaben_detail", "konto_bewegungen", "settings"}) {
        for (const QSqlRecord &r : rows(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(QLatin1String(table)))) {
            for (int c = 0; c < r.count(); ++c)
                hash.addData(r.value(c).toString().toUtf8() + '|');
        }
    }
    return hash.result();
}

} // namespace

class SummaryEquivalenceTest : public QObject
{
    Q_OBJECT

private:
    // A fresh working folder with a generated year, open as the program's file.
    std::unique_ptr<TestWorkspace> generate(int expenses, quint32 seed)
    {
        auto workspace = std::make_unique<TestWorkspace>();
        YearGenerator::Options options;
        options.expenses = expenses;
        options.seed = seed;
        YearGenerator generator(options);
        QString err;
        if (!generator.fill(err))
            qWarning("generation failed: %s", qPrintable(err));
        return workspace;
    }

    // Every summary list of the data layer against the plain algorithm.
    void compareAllLists()
    {
        Year year;
        year.read();
        QVERIFY(!year.expenses.isEmpty());
        DataProvider *data = DataProvider::instance();

        QList<ExpenseEntry *> all;
        data->getExpensesOfType(all, 0);
        const QString allDiff = compareExpenses(all, year.expensesOfType(0));
        QVERIFY2(allDiff.isEmpty(), qPrintable(QStringLiteral("expenses of every type: ") + allDiff));

        QList<ExpenseEntry *> totals;
        data->getExpenseTypeTotals(totals, all);
        const QString totalDiff = compareTypeTotals(totals, year.expenseTypeTotals(year.expensesOfType(0)));
        QVERIFY2(totalDiff.isEmpty(), qPrintable(QStringLiteral("expense type totals: ") + totalDiff));
        qDeleteAll(totals);
        qDeleteAll(all);

        for (const Line &type : year.types) {
            QList<ExpenseEntry *> ofType;
            data->getExpensesOfType(ofType, type.id);
            const QList<Line> wantOfType = year.expensesOfType(type.id);
            const QString typeDiff = compareExpenses(ofType, wantOfType);
            QVERIFY2(typeDiff.isEmpty(), qPrintable(type.name + QStringLiteral(": ") + typeDiff));

            QList<ExpenseEntryDetail *> subTotals;
            data->getExpenseSubTypeTotals(type.id, ofType, subTotals);
            const QString subDiff = compareSubTypeTotals(subTotals, year.subTypeTotals(type.id, wantOfType));
            QVERIFY2(subDiff.isEmpty(), qPrintable(type.name + QStringLiteral(" sub-types: ") + subDiff));
            qDeleteAll(subTotals);
            qDeleteAll(ofType);
        }

        for (int subTypeId : year.subTypeIds()) {
            QList<ExpenseEntry *> ofSubType;
            data->getExpensesOfSubType(ofSubType, subTypeId);
            const QString diff = compareExpenses(ofSubType, year.expensesOfSubType(subTypeId));
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("sub-type %1: ").arg(subTypeId) + diff));
            qDeleteAll(ofSubType);
        }

        QList<Recipient *> recipients;
        data->getRecipientTotals(recipients);
        const QString recipientDiff = compareRecipients(recipients, year.recipientTotals());
        releaseLines(recipients);
        QVERIFY2(recipientDiff.isEmpty(), qPrintable(QStringLiteral("recipient totals: ") + recipientDiff));

        // Free-text recipients (id 0) included.
        QList<int> recipientIds{0};
        for (const Line &r : year.recipients)
            recipientIds << r.id;
        for (int id : recipientIds) {
            QList<ExpenseEntry *> ofRecipient;
            data->getExpensesOfRecipient(ofRecipient, id);
            const QString diff = compareExpenses(ofRecipient, year.expensesOfRecipient(id));
            qDeleteAll(ofRecipient);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("recipient %1: ").arg(id) + diff));
        }

        QList<IncomeEntry *> movements;
        data->getIncomeMovements(0, movements);
        QVERIFY(!movements.isEmpty());
        QList<IncomeEntry *> income;
        data->getIncomeSourceTotals(income, movements);
        const QString incomeDiff = compareIncome(income, year.incomeSourceTotals(incomeLines(movements)));
        qDeleteAll(income);
        qDeleteAll(movements);
        QVERIFY2(incomeDiff.isEmpty(), qPrintable(QStringLiteral("income totals: ") + incomeDiff));

        QList<PaymentInstruction *> instruments;
        QList<Account *> overview;
        data->getAccountOverview(instruments, overview);
        const QString overviewDiff = compareAccounts(overview, year.accountOverview());
        for (Account *row : std::as_const(overview)) {
            if (row->getId() != 0)
                row->setLinkedCount(0);
        }
        releaseLines(overview);
        QVERIFY2(overviewDiff.isEmpty(), qPrintable(QStringLiteral("account overview: ") + overviewDiff));

        for (const Instrument &p : year.instruments) {
            PaymentInstruction *instrument = data->getPaymentInstrument(p.id, true);
            QVERIFY(instrument);
            QList<Account *> single;
            data->getAccountOverview(instrument, single);
            QCOMPARE(single.size(), 1);
            const QString diff = compareAccount(0, single.first(), year.instrumentRow(p));
            releaseLines(single);
            QVERIFY2(diff.isEmpty(), qPrintable(p.name + QStringLiteral(": ") + diff));
        }
    }

private slots:
    void generatedYearIsConsistent_data();
    void generatedYearIsConsistent();
    void sameSeedSameFile();
    void listsEqualPlainAlgorithms_data();
    void listsEqualPlainAlgorithms();
    void listsEqualPlainAlgorithmsAfterPostings();
};

void SummaryEquivalenceTest::generatedYearIsConsistent_data()
{
    QTest::addColumn<int>("expenses");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("500 expenses") << 500 << 1u;
    QTest::newRow("2000 expenses") << 2000 << 77u;
}

// The year the benchmark measures must be one the program could have
// written: balances follow the bookings, every linked payment has its
// movement, transfers come in pairs, details add up to their expense.
void SummaryEquivalenceTest::generatedYearIsConsistent()
{
    QFETCH(int, expenses);
    QFETCH(quint32, seed);
    auto workspace = generate(expenses, seed);

    QString err;
    QVERIFY2(YearGenerator::verify(err), qPrintable(err));
    QCOMPARE(TestWorkspace::rowCount("ausgaben"), expenses);
    QVERIFY(TestWorkspace::rowCount("beguenstigte") >= 200);
    QVERIFY(TestWorkspace::rowCount("ausgaben_typen") >= 10);

    // One movement (tx 21, money out, with the expense id and instrument)
    // per expense paid with a linked instrument, none for the others.
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben a JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id "
                                   "WHERE z.hat_konto_verbindung = 1").toInt(),
             TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 21").toInt());
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen m JOIN ausgaben a ON a.id = m.ausgabe_id "
                                   "JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id WHERE m.tx_typ = 21 "
                                   "AND m.op_flag = 0 AND m.betrag = a.betrag AND m.zahlungsmittel_id = z.id "
                                   "AND m.konto_id_von = z.konto_id AND z.hat_konto_verbindung = 1").toInt(),
             TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 21").toInt());
    QVERIFY(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 21").toInt() > 0);

    // Transfers: two rows per key, out of one account and into the other.
    QVERIFY(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 22").toInt() > 0);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM (SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22 "
                                   "GROUP BY tx_id HAVING COUNT(*) <> 2 OR SUM(op_flag) <> 1 "
                                   "OR MIN(betrag) <> MAX(betrag))").toInt(), 0);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen a JOIN konto_bewegungen b "
                                   "ON a.tx_id = b.tx_id AND a.id < b.id WHERE a.tx_typ = 22 "
                                   "AND (a.konto_id_von <> b.konto_id_nach OR a.konto_id_nach <> b.konto_id_von "
                                   "OR a.op_flag <> 0)").toInt(), 0);
    // Deposits name their income source.
    QVERIFY(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 23 AND op_flag = 1 "
                                  "AND einnahme_quelle_id > 0").toInt() > 0);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_typ = 23 "
                                   "AND (op_flag <> 1 OR einnahme_quelle_id NOT IN (SELECT id FROM einnahme_quelle))")
                 .toInt(), 0);

    // Details: sub-types of the expense's own type, adding up to the expense
    // (to the cent); some expenses split, none of a type without sub-types.
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben a WHERE EXISTS (SELECT 1 FROM ausgaben_detail d "
                                   "WHERE d.ausgaben_id = a.id) AND ABS((SELECT SUM(betrag) FROM ausgaben_detail d "
                                   "WHERE d.ausgaben_id = a.id) - a.betrag) > 0.005").toInt(), 0);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben_detail d JOIN ausgaben a ON a.id = d.ausgaben_id "
                                   "JOIN ausgaben_sub_typen s ON s.id = d.ausgaben_sub_typ_id "
                                   "WHERE s.ausgaben_typ_id <> a.ausgaben_typ_id").toInt(), 0);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_sub_typ_id NOT IN "
                                   "(SELECT id FROM ausgaben_sub_typen)").toInt(), 0);
    QVERIFY(TestWorkspace::scalar("SELECT COUNT(*) FROM (SELECT ausgaben_id FROM ausgaben_detail GROUP BY ausgaben_id "
                                  "HAVING COUNT(*) > 1)").toInt() > 0);

    // Expenses name their type, instrument and recipient as the booking did.
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben a JOIN ausgaben_typen t ON t.id = a.ausgaben_typ_id "
                                   "JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id WHERE a.ausgaben_typ = t.name "
                                   "AND a.zahlungsmittel = z.name AND a.betrag > 0 AND a.betrag <= 99999").toInt(),
             expenses);
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM ausgaben a JOIN beguenstigte b ON b.id = a.beguenstigter_id "
                                   "WHERE a.beguenstigter <> b.name").toInt(), 0);

    // No account ever had to pay more than it held: nothing is negative.
    QCOMPARE(TestWorkspace::scalar("SELECT COUNT(*) FROM konten WHERE betrag < 0 OR initial_betrag < 0").toInt(), 0);
    // The file belongs to the running year and every booking lies in it.
    const int year = QDate::currentDate().year();
    QCOMPARE(TestWorkspace::scalar("SELECT version FROM settings WHERE category = 'MY_ZOLVEX' AND name = 'CURRENT_YEAR'")
                 .toString(), QString::number(year));
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE startdate NOT LIKE '%1-%'")
                                       .arg(year)).toInt(), 0);
}

void SummaryEquivalenceTest::sameSeedSameFile()
{
    QByteArray first, second, other;
    {
        auto workspace = generate(300, 5);
        first = fileDigest();
    }
    {
        auto workspace = generate(300, 5);
        second = fileDigest();
    }
    {
        auto workspace = generate(300, 6);
        other = fileDigest();
    }
    QCOMPARE(second, first);
    QVERIFY(other != first);
}

void SummaryEquivalenceTest::listsEqualPlainAlgorithms_data()
{
    QTest::addColumn<int>("expenses");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("500 expenses, seed 1") << 500 << 1u;
    QTest::newRow("500 expenses, seed 2024") << 500 << 2024u;
    QTest::newRow("1200 expenses, seed 9") << 1200 << 9u;
}

void SummaryEquivalenceTest::listsEqualPlainAlgorithms()
{
    QFETCH(int, expenses);
    QFETCH(quint32, seed);
    auto workspace = generate(expenses, seed);
    compareAllLists();
}

// Postings patch the caches instead of reloading them; the lists must
// still be those of the file as it is afterwards.
void SummaryEquivalenceTest::listsEqualPlainAlgorithmsAfterPostings()
{
    auto workspace = generate(500, 3);
    DataProvider *data = DataProvider::instance();
    const int year = QDate::currentDate().year();
    const int cardId = TestWorkspace::scalar("SELECT id FROM zahlungsmittel WHERE name = 'Visa'").toInt();
    const int cashId = TestWorkspace::scalar("SELECT id FROM zahlungsmittel WHERE name = 'Bargeld'").toInt();
    const int bankId = TestWorkspace::scalar("SELECT id FROM zahlungsmittel WHERE name = 'Postkonto'").toInt();
    const int foodId = TestWorkspace::scalar("SELECT id FROM ausgaben_typen WHERE name = 'Lebensmittel'").toInt();
    const int subTypeId = TestWorkspace::scalar(
        QStringLiteral("SELECT id FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1 ORDER BY id").arg(foodId)).toInt();
    const int recipientId = TestWorkspace::scalar("SELECT id FROM beguenstigte ORDER BY id").toInt();
    // A date that already has bookings, so the new ones must take their
    // place among them.
    const QDate busyDay = TestWorkspace::scalar("SELECT startdate FROM ausgaben GROUP BY startdate "
                                                "ORDER BY COUNT(*) DESC, startdate LIMIT 1").toDate();
    QVERIFY(busyDay.isValid());
    QVERIFY(cardId && cashId && bankId && foodId && subTypeId && recipientId);

    auto book = [&](int instrumentId, double amount, const QDate &date, int sub) {
        ExpenseEntry e;
        e.setDate(date);
        e.setAmount(amount);
        e.setExpenseTypeId(foodId);
        e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
        e.setRecipientId(recipientId);
        e.setRecipientName(data->getRecipient(recipientId)->getName());
        e.setPaymentInstrumentId(instrumentId);
        e.setPaymentInstrumentName(data->getPaymentInstrument(instrumentId, true)->getName());
        e.setRemark(QStringLiteral("nachgetragen"));
        QString err;
        const bool ok = data->postExpense(&e, sub, sub == 0, err);
        if (!ok)
            qWarning("booking failed: %s", qPrintable(err));
        return ok ? e.getId() : 0;
    };
    const int onCard = book(cardId, 0.1, busyDay, subTypeId);
    const int inCash = book(cashId, 33.35, busyDay, subTypeId);
    const int split = book(bankId, 70.05, QDate(year, 1, 1), 0);
    const int gone = book(cardId, 19.95, busyDay, subTypeId);
    QVERIFY(onCard && inCash && split && gone);
    QString err;
    const int otherSubTypeId = TestWorkspace::scalar(
        QStringLiteral("SELECT id FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1 ORDER BY id LIMIT 1 OFFSET 1")
            .arg(foodId)).toInt();
    QVERIFY(otherSubTypeId);
    QVERIFY2(data->insertExpenseDetail(split, subTypeId, 40.0, err), qPrintable(err));
    QVERIFY2(data->insertExpenseDetail(split, otherSubTypeId, 30.05, err), qPrintable(err));
    QVERIFY2(data->reverseExpense(gone, err), qPrintable(err));
    QVERIFY2(data->postTransfer(bankId, cashId, 200.0, QStringLiteral("Bezug"), QStringLiteral("Bezug"), busyDay, err),
             qPrintable(err));
    QVERIFY2(data->postDeposit(data->getPaymentInstrument(bankId, true)->getAccountId(), 1234.5,
                               QStringLiteral("Nachzahlung"), busyDay,
                               TestWorkspace::scalar("SELECT id FROM einnahme_quelle ORDER BY id").toInt(), err),
             qPrintable(err));
    const QString txId = TestWorkspace::scalar(
        "SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22 ORDER BY id LIMIT 1").toString();
    QVERIFY2(data->reverseTransfer(txId, err), qPrintable(err));

    QVERIFY2(YearGenerator::verify(err), qPrintable(err));
    compareAllLists();
}

QTEST_MAIN(SummaryEquivalenceTest)
#include "tst_summaryequivalence.moc"
