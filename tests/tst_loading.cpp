#include "account.h"
#include "accountentry.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"
#include "recordreader.h"
#include "testsupport.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// Opening a year file: every cache holds what the file holds, field by
// field, whatever the rows look like; the rows are read by column position,
// so the positions must come from the result, not from the table.
namespace {

void insertExpense(const QString &date, double amount, const QString &recipient, int recipientId,
                   const QString &instrument, int instrumentId, const QVariant &remark, const QString &type,
                   int typeId)
{
    QSqlQuery query;
    query.prepare(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES (:d,:b,:r,:ri,:z,:zi,:bem,:t,:ti)"));
    query.bindValue(QStringLiteral(":d"), date);
    query.bindValue(QStringLiteral(":b"), amount);
    query.bindValue(QStringLiteral(":r"), recipient);
    query.bindValue(QStringLiteral(":ri"), recipientId);
    query.bindValue(QStringLiteral(":z"), instrument);
    query.bindValue(QStringLiteral(":zi"), instrumentId);
    query.bindValue(QStringLiteral(":bem"), remark);
    query.bindValue(QStringLiteral(":t"), type);
    query.bindValue(QStringLiteral(":ti"), typeId);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}

// Three expenses on two days, a detail each, a movement of every kind.
void insertBookings()
{
    insertExpense(QStringLiteral("2026-03-05"), 42.35, QStringLiteral("Müller's Laden"), 2, QStringLiteral("Visa"),
                  3, QStringLiteral("Wocheneinkauf"), QStringLiteral("Lebensmittel"), 1);
    insertExpense(QStringLiteral("2026-01-10"), 1800.0, QStringLiteral("Vermieter AG"), 3,
                  QStringLiteral("Postkonto"), 1, QVariant(QMetaType(QMetaType::QString)),
                  QStringLiteral("Wohnen"), 2);
    insertExpense(QStringLiteral("2026-03-05"), 7.8, QStringLiteral("Müller's Laden"), 2, QStringLiteral("Bargeld"),
                  2, QString(""), QStringLiteral("Lebensmittel"), 1);
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) VALUES "
        "(1,2,12.5,'Wein'), (1,1,29.85,'no remark!'), (3,1,7.8,'no remark!')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES "
        "('2026-03-05',42.35,1,0,21,31,0,'Lebensmittel: Wocheneinkauf',3,1,'',0), "
        "('2026-02-25',5000.0,1,0,23,31,1,'Lohn Februar',0,0,'',1), "
        "('2026-04-01',300.0,1,3,22,31,0,'Sparen',1,0,'20260401120000000',0), "
        "('2026-04-01',300.0,3,1,22,31,1,'Sparen',4,0,'20260401120000000',0)"));
}

QStringList fieldsOf(const ExpenseEntry *e)
{
    return {QString::number(e->getId()), e->getDate().toString(Qt::ISODate), QString::number(e->getAmount()),
            e->getRecipientName(), QString::number(e->getRecipientId()), e->getPaymentInstrumentName(),
            QString::number(e->getPaymentInstrumentId()), e->getRemark(), e->getExpenseTypeName(),
            QString::number(e->getExpenseTypeId())};
}

QStringList fieldsOf(const AccountEntry *m)
{
    return {QString::number(m->getId()), m->getDate().toString(Qt::ISODate), QString::number(m->getAmount()),
            QString::number(m->getFromAccount()), QString::number(m->getToAccount()),
            QString::number(m->getTxType()), m->getTxId(), QString::number(m->getState()),
            QString::number(m->getOpFlag()), m->getRemark(), QString::number(m->getPaymentInstrumentId()),
            QString::number(m->getExpenseId())};
}

QStringList fieldsOf(const ExpenseEntryDetail *d)
{
    return {QString::number(d->getId()), QString::number(d->getExpenseId()), QString::number(d->getSubTypeId()),
            QString::number(d->getAmount()), d->getRemark()};
}

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void bookingCachesHoldEveryField();
    void masterDataCachesHoldEveryField();
    void readerTakesPositionsFromTheResult();
    void storedDateTexts_data();
    void storedDateTexts();
    void rawRowsOfTheBookingLoaders();
};

void TestLoading::bookingCachesHoldEveryField()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    DataProvider *dp = DataProvider::instance();

    // Newest first; rows of one day in id order (type 0: every expense).
    QList<ExpenseEntry *> expenses;
    dp->getExpensesOfType(expenses, 0);
    QList<QStringList> got;
    for (const ExpenseEntry *e : std::as_const(expenses))
        if (!e->isTotalRow())
            got << fieldsOf(e);
    qDeleteAll(expenses);
    const QList<QStringList> all = {
        {"1", "2026-03-05", "42.35", "Müller's Laden", "2", "Visa", "3", "Wocheneinkauf", "Lebensmittel", "1"},
        {"3", "2026-03-05", "7.8", "Müller's Laden", "2", "Bargeld", "2", "", "Lebensmittel", "1"},
        {"2", "2026-01-10", "1800", "Vermieter AG", "3", "Postkonto", "1", "", "Wohnen", "2"},
    };
    QCOMPARE(got, all);

    QList<ExpenseEntry *> byInstrument;
    dp->getExpensesOfPaymentInstrument(1, byInstrument);
    QCOMPARE(byInstrument.size(), 1);
    QCOMPARE(fieldsOf(byInstrument.first()),
             QStringList({"2", "2026-01-10", "1800", "Vermieter AG", "3", "Postkonto", "1", "", "Wohnen", "2"}));
    QVERIFY(byInstrument.first()->getRemark().isNull());

    QList<AccountEntry *> movements;
    dp->getAccountMovements(1, movements);
    got.clear();
    for (const AccountEntry *m : std::as_const(movements))
        got << fieldsOf(m);
    const QList<QStringList> bank = {
        {"3", "2026-04-01", "300", "1", "3", "22", "20260401120000000", "31", "0", "Sparen", "1", "0"},
        {"1", "2026-03-05", "42.35", "1", "0", "21", "", "31", "0", "Lebensmittel: Wocheneinkauf", "3", "1"},
        {"2", "2026-02-25", "5000", "1", "0", "23", "", "31", "1", "Lohn Februar", "0", "0"},
    };
    QCOMPARE(got, bank);
    dp->getAccountMovements(QStringLiteral("20260401120000000"), movements);
    QCOMPARE(movements.size(), 2);
    QCOMPARE(fieldsOf(movements.at(1)),
             QStringList({"4", "2026-04-01", "300", "3", "1", "22", "20260401120000000", "31", "1", "Sparen", "4",
                          "0"}));

    QList<ExpenseEntryDetail *> details;
    dp->getExpenseDetails(1, details);
    got.clear();
    for (const ExpenseEntryDetail *d : std::as_const(details))
        got << fieldsOf(d);
    QCOMPARE(got, QList<QStringList>({{"1", "1", "2", "12.5", "Wein"}, {"2", "1", "1", "29.85", "no remark!"}}));
    dp->getExpenseDetails(3, details);
    QCOMPARE(details.size(), 1);
    QCOMPARE(fieldsOf(details.first()), QStringList({"3", "3", "1", "7.8", "no remark!"}));

    // Income movements carry their source.
    QList<IncomeEntry *> incomes;
    dp->getIncomeMovements(1, incomes);
    QCOMPARE(incomes.size(), 1);
    QCOMPARE(incomes.first()->getId(), 2);
    QCOMPARE(incomes.first()->getAmount(), 5000.0);
    QCOMPARE(incomes.first()->getDate(), QDate(2026, 2, 25));
    QCOMPARE(incomes.first()->getRemark(), QStringLiteral("Lohn Februar"));
    QCOMPARE(incomes.first()->getIncomeSourceId(), 1);
    QVERIFY(!incomes.first()->isSource());
    qDeleteAll(incomes);
}

void TestLoading::masterDataCachesHoldEveryField()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();

    const Account *bank = dp->getAccount(Seed::BankAccount);
    QVERIFY(bank);
    QCOMPARE(bank->getName(), QStringLiteral("Postkonto"));
    QCOMPARE(bank->getAccountType(), 12);
    QCOMPARE(bank->getState(), 1);
    QCOMPARE(bank->getAccountNumber(), QStringLiteral("CH12-3456"));
    QCOMPARE(bank->getOpeningAmount(), 1000.0);
    QCOMPARE(bank->getBalance(), 1000.0);
    QCOMPARE(bank->getDescription(), QStringLiteral("Bank-Account"));
    QCOMPARE(bank->getDate(), QDate(2026, 1, 1));

    const PaymentInstruction *card = dp->getPaymentInstrument(Seed::CardInstrument);
    QVERIFY(card);
    QCOMPARE(card->getName(), QStringLiteral("Visa"));
    QCOMPARE(card->getInstrumentType(), 24);
    QCOMPARE(card->getAccountId(), Seed::BankAccount);
    QVERIFY(card->hasAccountLink());
    QCOMPARE(card->getCardNumber(), QStringLiteral("4111"));
    const PaymentInstruction *cash = dp->getPaymentInstrument(Seed::CashInstrument);
    QVERIFY(cash);
    QVERIFY(!cash->hasAccountLink());

    const Recipient *shop = dp->getRecipient(Seed::RecipientMueller);
    QVERIFY(shop);
    QCOMPARE(shop->getName(), QStringLiteral("Müller's Laden"));

    QList<IncomeEntry *> sources;
    dp->getIncomeSources(sources);
    QCOMPARE(sources.size(), 2);
    QCOMPARE(sources.first()->getName(), QStringLiteral("Lohn"));
    QCOMPARE(sources.first()->getVolume(), 60000.0);
    QCOMPARE(sources.first()->getRemark(), QStringLiteral("Arbeitgeber"));
    QVERIFY(sources.first()->isSource());
    qDeleteAll(sources);

    // A reload reads changed rows into the same account and instrument objects.
    TestWorkspace::exec(QStringLiteral("UPDATE konten SET betrag = 12.34, konto_nummer = 'neu' WHERE id = 1"));
    TestWorkspace::exec(QStringLiteral("UPDATE zahlungsmittel SET karten_nummer = '5500' WHERE id = 3"));
    dp->loadAccounts();
    dp->loadPaymentInstruments();
    QCOMPARE(dp->getAccount(Seed::BankAccount), bank);
    QCOMPARE(bank->getBalance(), 12.34);
    QCOMPARE(bank->getAccountNumber(), QStringLiteral("neu"));
    QCOMPARE(dp->getPaymentInstrument(Seed::CardInstrument), card);
    QCOMPARE(card->getCardNumber(), QStringLiteral("5500"));
}

void TestLoading::readerTakesPositionsFromTheResult()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();

    // Columns in another order than the table's, some missing, one extra.
    QSqlQuery query;
    query.setForwardOnly(true);
    QVERIFY(query.exec(QStringLiteral("SELECT ausgaben_typ_id, bemerkung, 17 AS extra, betrag, id, startdate, "
                                      "beguenstigter FROM ausgaben ORDER BY id")));
    const RecordReader reader = ExpenseEntry::reader(query);
    QList<QStringList> got;
    while (query.next()) {
        const ExpenseEntry e(reader);
        got << fieldsOf(&e);
    }
    const QList<QStringList> expected = {
        {"1", "2026-03-05", "42.35", "Müller's Laden", "0", "", "0", "Wocheneinkauf", "", "1"},
        {"2", "2026-01-10", "1800", "Vermieter AG", "0", "", "0", "", "", "2"},
        {"3", "2026-03-05", "7.8", "Müller's Laden", "0", "", "0", "", "", "1"},
    };
    QCOMPARE(got, expected);

    // Column names are matched as the record matches them (any case).
    QVERIFY(query.exec(QStringLiteral("SELECT BETRAG, Konto_Id_Von, ID FROM konto_bewegungen ORDER BY id DESC")));
    const RecordReader movementReader = AccountEntry::reader(query);
    QVERIFY(query.next());
    const AccountEntry m(movementReader);
    QCOMPARE(m.getId(), 4);
    QCOMPARE(m.getAmount(), 300.0);
    QCOMPARE(m.getFromAccount(), 3);
    QCOMPARE(m.getTxType(), 0);
    QVERIFY(m.getTxId().isEmpty());

    // A reader of one record gives what the query reader gives.
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM ausgaben_detail ORDER BY id")));
    const RecordReader detailReader = ExpenseEntryDetail::reader(query);
    while (query.next()) {
        const ExpenseEntryDetail positional(detailReader);
        const ExpenseEntryDetail byName(query.record());
        QCOMPARE(fieldsOf(&positional), fieldsOf(&byName));
    }
}

void TestLoading::storedDateTexts_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("plain") << QVariant(QStringLiteral("2026-02-03")) << QDate(2026, 2, 3);
    QTest::newRow("last of year") << QVariant(QStringLiteral("2026-12-31")) << QDate(2026, 12, 31);
    QTest::newRow("leap day") << QVariant(QStringLiteral("2028-02-29")) << QDate(2028, 2, 29);
    QTest::newRow("no such day") << QVariant(QStringLiteral("2026-02-30")) << QDate();
    QTest::newRow("month 13") << QVariant(QStringLiteral("2026-13-01")) << QDate();
    QTest::newRow("day 0") << QVariant(QStringLiteral("2026-02-00")) << QDate();
    QTest::newRow("year 0") << QVariant(QStringLiteral("0000-01-01")) << QDate();
    QTest::newRow("short parts") << QVariant(QStringLiteral("2026-2-3")) << QDate();
    QTest::newRow("letters") << QVariant(QStringLiteral("2026-0a-03")) << QDate();
    QTest::newRow("other separator") << QVariant(QStringLiteral("2026/02/03")) << QDate(2026, 2, 3);
    QTest::newRow("with time") << QVariant(QStringLiteral("2026-02-03T10:11:12")) << QDate(2026, 2, 3);
    QTest::newRow("digit after day") << QVariant(QStringLiteral("2026-02-031")) << QDate();
    QTest::newRow("German form") << QVariant(QStringLiteral("03.02.2026")) << QDate();
    QTest::newRow("empty") << QVariant(QStringLiteral("")) << QDate();
    QTest::newRow("null") << QVariant(QMetaType(QMetaType::QString)) << QDate();
    QTest::newRow("number") << QVariant(20260203) << QDate();
}

// Whatever form a date has in the file, the caches show what Qt's own
// conversion of the stored value shows.
void TestLoading::storedDateTexts()
{
    QFETCH(QVariant, stored);
    QFETCH(QDate, expected);
    TestWorkspace ws;
    ws.seedMasterData();
    QSqlQuery query;
    query.prepare(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) VALUES (:d,5.0,'Migros',1,'Bargeld',2,'',"
        "'Lebensmittel',1)"));
    query.bindValue(QStringLiteral(":d"), stored);
    QVERIFY(query.exec());
    query.prepare(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) VALUES (:d,5.0,2,0,21,31,0,'',2,1,'',0)"));
    query.bindValue(QStringLiteral(":d"), stored);
    QVERIFY(query.exec());
    QCOMPARE(TestWorkspace::scalar(QStringLiteral("SELECT startdate FROM ausgaben")).toDate(), expected);

    DataProvider *dp = DataProvider::instance();
    QList<ExpenseEntry *> expenses;
    dp->getExpensesOfPaymentInstrument(Seed::CashInstrument, expenses);
    QCOMPARE(expenses.size(), 1);
    QCOMPARE(expenses.first()->getDate(), expected);
    QList<AccountEntry *> movements;
    dp->getAccountMovements(Seed::CashAccount, movements);
    QCOMPARE(movements.size(), 1);
    QCOMPARE(movements.first()->getDate(), expected);
    QCOMPARE(dp->getAccount(Seed::CashAccount)->getDate(), QDate(2026, 1, 1));
}

void TestLoading::rawRowsOfTheBookingLoaders()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    DataProvider *dp = DataProvider::instance();

    auto idsOfRows = [dp] {
        QList<int> ids;
        for (const QSqlRecord &row : dp->rawRows())
            ids << row.value(QStringLiteral("id")).toInt();
        return ids;
    };

    // Newest first, as the expense cache.
    dp->loadExpenses();
    QCOMPARE(idsOfRows(), QList<int>({1, 3, 2}));
    QCOMPARE(dp->rawRows().first().count(), 10);
    QCOMPARE(dp->rawRows().first().value(QStringLiteral("beguenstigter")).toString(),
             QStringLiteral("Müller's Laden"));
    QCOMPARE(idsOfRows(), QList<int>({1, 3, 2}));

    dp->loadAccountMovements();
    QCOMPARE(idsOfRows(), QList<int>({3, 4, 1, 2}));
    QCOMPARE(dp->rawRows().at(1).value(QStringLiteral("tx_id")).toString(), QStringLiteral("20260401120000000"));

    // Every other loader empties them, also before they were looked at.
    dp->loadExpenses();
    dp->loadExpenseDetails();
    QVERIFY(dp->rawRows().isEmpty());
    dp->loadAccountMovements();
    dp->loadRecipients();
    QVERIFY(dp->rawRows().isEmpty());
    dp->loadAccountMovements();
    dp->loadExpenseSubTypes();
    QCOMPARE(dp->rawRows().size(), 2);
    dp->loadExpenseTypes();
    QCOMPARE(dp->rawRows().size(), 2);
    QCOMPARE(dp->rawRows().first().value(QStringLiteral("name")).toString(), QStringLiteral("Lebensmittel"));
}

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
