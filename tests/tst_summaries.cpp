#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"
#include "testsupport.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>

namespace {

// Books an expense through the data layer; detail on subType unless 0.
int book(const QDate &date, double amount, int type, int recipient, int instrument, int subType = 0,
         const QString &recipientName = QString())
{
    ExpenseEntry e;
    e.setDate(date);
    e.setAmount(amount);
    e.setExpenseTypeId(type);
    e.setExpenseTypeName(type == Seed::FoodType ? QStringLiteral("Lebensmittel") : QStringLiteral("Wohnen"));
    e.setRecipientId(recipient);
    e.setRecipientName(recipientName);
    e.setPaymentInstrumentId(instrument);
    QString err;
    if (!DataProvider::instance()->postExpense(&e, subType, subType == 0, err))
        qWarning() << "booking failed:" << err;
    return e.getId();
}

void split(int expenseId, int subType, double amount)
{
    QString err;
    QVERIFY(DataProvider::instance()->insertExpenseDetail(expenseId, subType, amount, err));
}

template <typename T>
struct Owned
{
    QList<T *> list;
    ~Owned() { qDeleteAll(list); }
};

} // namespace

class TestSummaries : public QObject
{
    Q_OBJECT

private slots:
    void expensesOfTypeEndWithTheirTotal();
    void expensesOfSubTypeCarryDetailAmounts();
    void expensesOfRecipient();
    void expenseTypeTotals();
    void subTypeTotals();
    void subTypeTotalsOfATypeWithoutSubTypes();
    void recipientTotalsCollectUnknownUnderAndere();
    void incomeSourceTotals();
    void accountMovementSums();
    void accountOverviewGivesLinkedCardsALine();
    void singleInstrumentRow();
    void listsEqualAWalkPerLineOnRandomData();
};

void TestSummaries::expensesOfTypeEndWithTheirTotal()
{
    TestWorkspace ws;
    ws.seedMasterData();
    book(QDate(2026, 1, 5), 10.0, Seed::FoodType, 1, Seed::CashInstrument);
    book(QDate(2026, 3, 5), 20.5, Seed::HomeType, 3, Seed::BankInstrument);
    book(QDate(2026, 2, 5), 30.25, Seed::FoodType, 2, Seed::CardInstrument);
    DataProvider *dp = DataProvider::instance();

    Owned<ExpenseEntry> all;
    auto *stale = new ExpenseEntry;
    all.list << stale;   // emptied first
    dp->getExpensesOfType(all.list, 0);
    QVERIFY(!all.list.contains(stale));
    delete stale;
    QCOMPARE(all.list.size(), 4);
    QCOMPARE(all.list.at(0)->getAmount(), 20.5);
    QCOMPARE(all.list.at(1)->getAmount(), 30.25);
    QCOMPARE(all.list.at(2)->getAmount(), 10.0);
    QCOMPARE(all.list.at(3)->getName(), QStringLiteral("Total:"));
    QVERIFY(all.list.at(3)->isTotalRow());
    QCOMPARE(all.list.at(3)->getAmount(), 60.75);
    QVERIFY(!all.list.at(0)->isTotalRow());

    Owned<ExpenseEntry> food;
    dp->getExpensesOfType(food.list, Seed::FoodType);
    QCOMPARE(food.list.size(), 3);
    QCOMPARE(food.list.last()->getAmount(), 40.25);
    // Copies, not the cached records.
    food.list.first()->setAmount(1.0);
    Owned<ExpenseEntry> again;
    dp->getExpensesOfType(again.list, Seed::FoodType);
    QCOMPARE(again.list.first()->getAmount(), 30.25);
}

void TestSummaries::expensesOfSubTypeCarryDetailAmounts()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int older = book(QDate(2026, 1, 5), 50.0, Seed::FoodType, 1, Seed::CashInstrument);
    split(older, Seed::FoodSubBasic, 30.0);
    split(older, Seed::FoodSubDrinks, 15.0);
    split(older, Seed::FoodSubDrinks, 5.0);
    const int newer = book(QDate(2026, 2, 5), 8.0, Seed::FoodType, 1, Seed::CashInstrument, Seed::FoodSubDrinks);
    DataProvider *dp = DataProvider::instance();

    Owned<ExpenseEntry> lines;
    auto *existing = new ExpenseEntry;
    existing->setName(QStringLiteral("vorher"));
    lines.list << existing;   // kept, after the new lines
    dp->getExpensesOfSubType(lines.list, Seed::FoodSubDrinks);
    // Newest expense first; the lines of one expense come last-booked first.
    QCOMPARE(lines.list.size(), 5);
    QCOMPARE(lines.list.at(0)->getId(), newer);
    QCOMPARE(lines.list.at(0)->getAmount(), 8.0);
    QCOMPARE(lines.list.at(1)->getId(), older);
    QCOMPARE(lines.list.at(1)->getAmount(), 5.0);
    QCOMPARE(lines.list.at(2)->getId(), older);
    QCOMPARE(lines.list.at(2)->getAmount(), 15.0);
    QCOMPARE(lines.list.at(3)->getName(), QStringLiteral("vorher"));
    QCOMPARE(lines.list.at(4)->getName(), QStringLiteral("Total:"));
    QCOMPARE(lines.list.at(4)->getAmount(), 28.0);
}

void TestSummaries::expensesOfRecipient()
{
    TestWorkspace ws;
    ws.seedMasterData();
    book(QDate(2026, 1, 5), 11.0, Seed::FoodType, Seed::RecipientMueller, Seed::CashInstrument);
    book(QDate(2026, 1, 6), 12.0, Seed::FoodType, Seed::RecipientMigros, Seed::CashInstrument);
    book(QDate(2026, 1, 7), 13.0, Seed::FoodType, Seed::RecipientMueller, Seed::CashInstrument);
    Owned<ExpenseEntry> lines;
    DataProvider::instance()->getExpensesOfRecipient(lines.list, Seed::RecipientMueller);
    QCOMPARE(lines.list.size(), 3);
    QCOMPARE(lines.list.at(0)->getAmount(), 13.0);
    QCOMPARE(lines.list.at(2)->getAmount(), 24.0);
    QVERIFY(lines.list.at(2)->isTotalRow());
}

void TestSummaries::expenseTypeTotals()
{
    TestWorkspace ws;
    ws.seedMasterData();
    book(QDate(2026, 1, 5), 100.0, Seed::FoodType, 1, Seed::CashInstrument);
    book(QDate(2026, 1, 6), 900.0, Seed::HomeType, 3, Seed::BankInstrument);
    book(QDate(2026, 1, 7), 50.5, Seed::FoodType, 1, Seed::BankInstrument);
    DataProvider *dp = DataProvider::instance();
    Owned<ExpenseEntry> expenses;
    dp->getExpensesOfType(expenses.list, 0);   // includes its own total line
    Owned<ExpenseEntry> lines;
    dp->getExpenseTypeTotals(lines.list, expenses.list);
    QCOMPARE(lines.list.size(), 3);
    QCOMPARE(lines.list.at(0)->getName(), QStringLiteral("Lebensmittel"));
    QCOMPARE(lines.list.at(0)->getBudget(), 6000.0);
    QVERIFY(lines.list.at(0)->hasBudget());
    QCOMPARE(lines.list.at(0)->getAmount(), 150.5);
    QCOMPARE(lines.list.at(1)->getName(), QStringLiteral("Wohnen"));
    QCOMPARE(lines.list.at(1)->getAmount(), 900.0);
    const ExpenseEntry *total = lines.list.at(2);
    QVERIFY(total->isTotalRow());
    QCOMPARE(total->getName(), QStringLiteral("Total:"));
    QCOMPARE(total->getRemark(), QStringLiteral("Total:"));
    QCOMPARE(total->getBudget(), 24000.0);
    QCOMPARE(total->getAmount(), 1050.5);
}

void TestSummaries::subTypeTotals()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const int splitOne = book(QDate(2026, 1, 5), 50.0, Seed::FoodType, 1, Seed::CashInstrument);
    split(splitOne, Seed::FoodSubBasic, 30.0);
    split(splitOne, Seed::FoodSubDrinks, 15.0);
    book(QDate(2026, 1, 6), 7.0, Seed::FoodType, 1, Seed::CashInstrument, Seed::FoodSubDrinks);
    const int stray = book(QDate(2026, 1, 7), 4.0, Seed::FoodType, 1, Seed::CashInstrument);
    split(stray, 99, 4.0);   // a sub-type that is not in the list: skipped
    book(QDate(2026, 1, 8), 1000.0, Seed::HomeType, 3, Seed::BankInstrument);
    DataProvider *dp = DataProvider::instance();

    Owned<ExpenseEntry> expenses;
    dp->getExpensesOfType(expenses.list, Seed::FoodType);
    Owned<ExpenseEntryDetail> lines;
    dp->getExpenseSubTypeTotals(Seed::FoodType, expenses.list, lines.list);
    QCOMPARE(lines.list.size(), 3);
    QCOMPARE(lines.list.at(0)->getName(), QStringLiteral("Getränke"));
    QCOMPARE(lines.list.at(0)->getSubTypeId(), int(Seed::FoodSubDrinks));
    QCOMPARE(lines.list.at(0)->getAmount(), 22.0);
    QCOMPARE(lines.list.at(1)->getName(), QStringLiteral("Grundnahrung"));
    QCOMPARE(lines.list.at(1)->getAmount(), 30.0);
    // Everything booked on the type, split or not (5 of the 50 unassigned).
    QCOMPARE(lines.list.at(2)->getName(), QStringLiteral("Total:"));
    QVERIFY(lines.list.at(2)->isTotalRow());
    QCOMPARE(lines.list.at(2)->getAmount(), 61.0);
}

void TestSummaries::subTypeTotalsOfATypeWithoutSubTypes()
{
    TestWorkspace ws;
    ws.seedMasterData();
    book(QDate(2026, 1, 6), 900.0, Seed::HomeType, 3, Seed::BankInstrument);
    book(QDate(2026, 2, 6), 90.0, Seed::HomeType, 3, Seed::BankInstrument);
    book(QDate(2026, 2, 7), 5.0, Seed::FoodType, 1, Seed::BankInstrument, Seed::FoodSubBasic);
    DataProvider *dp = DataProvider::instance();
    Owned<ExpenseEntry> expenses;
    dp->getExpensesOfType(expenses.list, Seed::HomeType);
    Owned<ExpenseEntryDetail> lines;
    auto *stale = new ExpenseEntryDetail;
    lines.list << stale;   // emptied first
    dp->getExpenseSubTypeTotals(Seed::HomeType, expenses.list, lines.list);
    QVERIFY(!lines.list.contains(stale));
    delete stale;
    QCOMPARE(lines.list.size(), 1);
    QCOMPARE(lines.list.at(0)->getName(), QStringLiteral("Total:"));
    QCOMPARE(lines.list.at(0)->getAmount(), 990.0);
}

void TestSummaries::recipientTotalsCollectUnknownUnderAndere()
{
    TestWorkspace ws;
    ws.seedMasterData();
    book(QDate(2026, 1, 5), 10.0, Seed::FoodType, Seed::RecipientMigros, Seed::CashInstrument);
    book(QDate(2026, 1, 6), 2.5, Seed::FoodType, Seed::RecipientMigros, Seed::CashInstrument);
    book(QDate(2026, 1, 7), 7.0, Seed::FoodType, 0, Seed::CashInstrument, 0, QStringLiteral("Kiosk"));
    book(QDate(2026, 1, 8), 3.0, Seed::FoodType, 42, Seed::CashInstrument);
    DataProvider *dp = DataProvider::instance();

    for (int round = 0; round < 2; ++round) {   // sums start at 0 every time
        QList<Recipient *> lines;
        dp->getRecipientTotals(lines);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.at(0)->getName(), QStringLiteral("Migros"));
        QCOMPARE(lines.at(0)->getPaidSum(), 12.5);
        QCOMPARE(lines.at(0), dp->getRecipient(Seed::RecipientMigros));   // the cached record
        QCOMPARE(lines.at(1)->getName(), QStringLiteral("Müller's Laden"));
        QCOMPARE(lines.at(1)->getPaidSum(), 0.0);
        QCOMPARE(lines.at(3)->getName(), QStringLiteral("Andere"));
        QCOMPARE(lines.at(3)->getPaidSum(), 10.0);
        QCOMPARE(lines.at(4)->getName(), QStringLiteral("Total:"));
        QVERIFY(lines.at(4)->isTotalRow());
        QCOMPARE(lines.at(4)->getPaidSum(), 22.5);
        delete lines.takeLast();
        delete lines.takeLast();
    }
}

void TestSummaries::incomeSourceTotals()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    QVERIFY(dp->postDeposit(Seed::BankAccount, 5000.0, QString(), QDate(2026, 1, 25), Seed::IncomeSalary, err));
    QVERIFY(dp->postDeposit(Seed::BankAccount, 5100.0, QString(), QDate(2026, 2, 25), Seed::IncomeSalary, err));
    QVERIFY(dp->postDeposit(Seed::SavingsAccount, 1000.0, QString(), QDate(2026, 2, 1), Seed::IncomePension, err));
    QVERIFY(dp->postDeposit(Seed::SavingsAccount, 77.0, QString(), QDate(2026, 2, 1), 0, err));
    Owned<IncomeEntry> movements;
    dp->getIncomeMovements(0, movements.list);
    Owned<IncomeEntry> lines;
    dp->getIncomeSourceTotals(lines.list, movements.list);
    QCOMPARE(lines.list.size(), 3);
    QCOMPARE(lines.list.at(0)->getName(), QStringLiteral("Lohn"));
    QCOMPARE(lines.list.at(0)->getVolume(), 60000.0);
    QCOMPARE(lines.list.at(0)->getAmount(), 10100.0);
    QCOMPARE(lines.list.at(1)->getAmount(), 1000.0);
    QCOMPARE(lines.list.at(2)->getName(), QStringLiteral("Total:"));
    QCOMPARE(lines.list.at(2)->getRemark(), QStringLiteral("Total:"));
    QCOMPARE(lines.list.at(2)->getVolume(), 72000.0);
    QCOMPARE(lines.list.at(2)->getAmount(), 11100.0);
    QVERIFY(lines.list.at(2)->isTotalRow());
}

void TestSummaries::accountMovementSums()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QString err;
    QVERIFY(dp->postDeposit(Seed::BankAccount, 300.0, QString(), QDate(2026, 1, 1), 1, err));
    book(QDate(2026, 1, 2), 40.0, Seed::FoodType, 1, Seed::BankInstrument);
    book(QDate(2026, 1, 3), 60.0, Seed::FoodType, 1, Seed::CardInstrument);
    QVERIFY(dp->postTransfer(Seed::BankInstrument, Seed::SavingsInstrument, 100.0, QString(), QString(),
                             QDate(2026, 1, 4), err));
    Account *bank = dp->getAccount(Seed::BankAccount);
    dp->computeAccountMovements(bank, Seed::BankInstrument);
    // In: the deposit. Out: own-instrument expense and the transfer; the
    // card's expense belongs to the card's line.
    QCOMPARE(bank->getIncomingSum(), 300.0);
    QCOMPARE(bank->getOutgoingSum(), 140.0);
    Account *savings = dp->getAccount(Seed::SavingsAccount);
    dp->computeAccountMovements(savings, Seed::SavingsInstrument);
    QCOMPARE(savings->getIncomingSum(), 100.0);
    QCOMPARE(savings->getOutgoingSum(), 0.0);
}

void TestSummaries::accountOverviewGivesLinkedCardsALine()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    book(QDate(2026, 1, 2), 40.0, Seed::FoodType, 1, Seed::CashInstrument);
    book(QDate(2026, 1, 3), 60.0, Seed::FoodType, 1, Seed::CardInstrument);
    book(QDate(2026, 1, 4), 5.0, Seed::FoodType, 1, Seed::CardInstrument);

    for (int round = 0; round < 2; ++round) {   // counts do not pile up
        QList<PaymentInstruction *> instruments;
        QList<Account *> rows;
        dp->getAccountOverview(instruments, rows);
        QCOMPARE(instruments.size(), 4);
        QCOMPARE(rows.size(), 5);
        QStringList names;
        for (const Account *a : rows)
            names << a->getName();
        QCOMPARE(names, QStringList({"Bargeld", "Postkonto", "Sparkonto", "Visa", "Total:"}));

        Account *bank = dp->getAccount(Seed::BankAccount);
        QCOMPARE(rows.at(1), bank);
        QCOMPARE(bank->getLinkedCount(), 1);
        Account *card = rows.at(3);
        QCOMPARE(card->getAccountType(), 13);
        QCOMPARE(card->getLinkedCount(), 1);
        QCOMPARE(card->getOutgoingSum(), 65.0);
        QCOMPARE(card->getColour(), bank->getColour());
        QCOMPARE(card->getBalance(), 0.0);
        QCOMPARE(rows.at(0)->getOutgoingSum(), 40.0);   // cash: its expenses

        const Account *total = rows.at(4);
        QVERIFY(total->isTotalRow());
        QCOMPARE(total->getOpeningAmount(), 6200.0);
        QCOMPARE(total->getBalance(), 6200.0 - 105.0);
        // The card's movements name the card, so the bank line leaves them out.
        QCOMPARE(rows.at(1)->getOutgoingSum(), 0.0);
        QCOMPARE(total->getOutgoingSum(), 40.0 + 65.0);
        QCOMPARE(total->getIncomingSum(), 0.0);
        delete rows.takeLast();
        delete rows.takeLast();
    }

    // Without expenses the card keeps its line but no longer counts.
    QString err;
    const QList<int> cardExpenses = {2, 3};
    for (int id : cardExpenses)
        QVERIFY(dp->reverseExpense(id, err));
    QList<PaymentInstruction *> instruments;
    QList<Account *> rows;
    dp->getAccountOverview(instruments, rows);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(3)->getLinkedCount(), 0);
    QCOMPARE(dp->getAccount(Seed::BankAccount)->getLinkedCount(), 0);
    delete rows.takeLast();
    delete rows.takeLast();
}

void TestSummaries::singleInstrumentRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    book(QDate(2026, 1, 2), 40.0, Seed::FoodType, 1, Seed::CashInstrument);
    book(QDate(2026, 1, 3), 60.0, Seed::FoodType, 1, Seed::CardInstrument);

    QList<Account *> rows;
    dp->getAccountOverview(dp->getPaymentInstrument(Seed::CardInstrument), rows);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0)->getAccountType(), 13);
    QCOMPARE(rows.at(0)->getName(), QStringLiteral("Visa"));
    QCOMPARE(rows.at(0)->getOutgoingSum(), 60.0);
    delete rows.takeFirst();

    dp->getAccountOverview(dp->getPaymentInstrument(Seed::CashInstrument), rows);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0), dp->getAccount(Seed::CashAccount));
    QCOMPARE(rows.at(0)->getOutgoingSum(), 40.0);
    QCOMPARE(rows.at(0)->getBalance(), 160.0);
}

// The lists are built with look-up tables; they must equal, to the last bit,
// what a plain walk per line adds up.
void TestSummaries::listsEqualAWalkPerLineOnRandomData()
{
    TestWorkspace ws;
    ws.seedMasterData();
    ws.exec(QStringLiteral("UPDATE konten SET betrag = 1000000"));
    QRandomGenerator rng(4711);
    for (int i = 0; i < 300; ++i) {
        const int type = 1 + int(rng.bounded(2));
        const int recipient = int(rng.bounded(5));   // 0 and 4: not cached
        const double amount = int(rng.bounded(100000)) / 100.0;
        const QDate date = QDate(2026, 1, 1).addDays(int(rng.bounded(200)));
        const int subType = type == Seed::FoodType && rng.bounded(3) > 0 ? 1 + int(rng.bounded(2)) : 0;
        const int id = book(date, amount, type, recipient, 1 + int(rng.bounded(4)), subType);
        if (subType == 0 && type == Seed::FoodType) {
            split(id, Seed::FoodSubBasic, amount / 3.0);
            split(id, Seed::FoodSubDrinks, amount - amount / 3.0);
        }
    }
    DataProvider::release();   // read back from the file
    DataProvider *dp = DataProvider::instance();

    Owned<ExpenseEntry> all;
    dp->getExpensesOfType(all.list, 0);
    Owned<ExpenseEntry> typeLines;
    dp->getExpenseTypeTotals(typeLines.list, all.list);
    for (int t = 0; t < 2; ++t) {
        double sum = 0.0;
        for (const ExpenseEntry *e : std::as_const(all.list))
            if (e->getExpenseTypeId() == t + 1)
                sum += e->getAmount();
        QCOMPARE(typeLines.list.at(t)->getAmount(), sum);
    }

    Owned<ExpenseEntry> food;
    dp->getExpensesOfType(food.list, Seed::FoodType);
    Owned<ExpenseEntryDetail> subLines;
    dp->getExpenseSubTypeTotals(Seed::FoodType, food.list, subLines.list);
    for (int line = 0; line < 2; ++line) {
        const int subType = subLines.list.at(line)->getSubTypeId();
        double sum = 0.0;
        for (const ExpenseEntry *e : std::as_const(food.list)) {
            if (e->isTotalRow())
                continue;
            QList<ExpenseEntryDetail *> details;
            dp->getExpenseDetails(e->getId(), details);
            for (const ExpenseEntryDetail *d : std::as_const(details))
                if (d->getSubTypeId() == subType)
                    sum += d->getAmount();
        }
        QCOMPARE(subLines.list.at(line)->getAmount(), sum);
    }

    QList<Recipient *> recipients;
    dp->getRecipientTotals(recipients);
    double others = 0.0;
    for (const ExpenseEntry *e : std::as_const(all.list)) {
        if (!e->isTotalRow() && !dp->getRecipient(e->getRecipientId()))
            others += e->getAmount();
    }
    QCOMPARE(recipients.at(3)->getPaidSum(), others);
    for (int r = 0; r < 3; ++r) {
        double sum = 0.0;
        for (const ExpenseEntry *e : std::as_const(all.list))
            if (!e->isTotalRow() && e->getRecipientId() == recipients.at(r)->getId())
                sum += e->getAmount();
        QCOMPARE(recipients.at(r)->getPaidSum(), sum);
    }
    delete recipients.takeLast();
    delete recipients.takeLast();

    Owned<ExpenseEntry> drinks;
    dp->getExpensesOfSubType(drinks.list, Seed::FoodSubDrinks);
    QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_sub_typ_id = 2"));
    QVERIFY(q.next());
    QCOMPARE(drinks.list.size(), q.value(0).toInt() + 1);
    for (int i = 0; i + 2 < drinks.list.size(); ++i)
        QVERIFY(!(drinks.list.at(i)->getDate() < drinks.list.at(i + 1)->getDate()));
}

QTEST_MAIN(TestSummaries)
#include "tst_summaries.moc"
