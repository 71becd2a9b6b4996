#include "account.h"
#include "dataprovider.h"
#include "dbtransaction.h"
#include "expenseentry.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QtTest>

#include <cmath>

namespace {

const QString seeded = QStringLiteral("1000.00 200.00 5000.00");

// Balances of the accounts 1..3 from the file or the caches; '~' marks a
// balance that is not a whole number of cents.
QString balances(bool cached = false)
{
    QStringList out;
    for (int id = 1; id <= 3; ++id) {
        const Account *a = cached ? DataProvider::instance()->getAccount(id) : nullptr;
        const double b = cached ? (a ? a->getBalance() : -1.0) : TestWorkspace::balance(id);
        out << QString::number(b, 'f', 2) + (std::llround(b * 100) / 100.0 == b ? "" : "~");
    }
    return out.join(' ');
}

QString rows(const QString &sql)
{
    QSqlQuery q(sql);
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out.join(QStringLiteral("; "));
}

// Expenses as "amount instrument [subtype detail-amount]".
QString expenseRows()
{
    return rows(QStringLiteral("SELECT a.betrag||' '||a.zahlungsmittel_id||ifnull(' '||d.ausgaben_sub_typ_id||' '||"
                               "d.betrag,'') FROM ausgaben a LEFT JOIN ausgaben_detail d ON d.ausgaben_id = a.id "
                               "ORDER BY a.id"));
}

// Movements as "from>to type/op amount a<expense> z<instrument> q<income source>".
QString movementRows()
{
    return rows(QStringLiteral("SELECT konto_id_von||'>'||konto_id_nach||' '||tx_typ||'/'||op_flag||' '||betrag||"
                               "' a'||ausgabe_id||' z'||zahlungsmittel_id||' q'||einnahme_quelle_id "
                               "FROM konto_bewegungen ORDER BY id"));
}

QString fileState() { return balances() + " | " + expenseRows() + " | " + movementRows(); }

// An expense pays with instrument `from` (sub-type `to`, split when 0); a
// deposit goes to account `from` from income source `to`; a transfer goes
// from instrument `from` to instrument `to`.
PostingResult post(const QString &kind, int from, int to, double amount)
{
    DataProvider *dp = DataProvider::instance();
    if (kind == "deposit")
        return dp->postDeposit(from, amount, QStringLiteral("Lohn - März"), QDate(2026, 3, 25), to);
    if (kind == "transfer")
        return dp->postTransfer(from, to, amount, QStringLiteral("An"), QStringLiteral("Von"), QDate(2026, 4, 2));
    const QStringList names = {"", "Postkonto", "Bargeld", "Visa", "Sparkonto"};
    ExpenseEntry e;
    e.setDate(QDate(2026, 3, 14));
    e.setAmount(amount);
    e.setExpenseTypeId(Seed::FoodType);
    e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
    e.setRecipientId(Seed::RecipientMigros);
    e.setRecipientName(QStringLiteral("Migros"));
    e.setPaymentInstrumentId(from);
    e.setPaymentInstrumentName(names.value(from));
    e.setRemark(QStringLiteral("Einkauf"));
    return dp->postExpense(&e, to, to == 0);
}

} // namespace

class TestPostings : public QObject
{
    Q_OBJECT

private slots:
    void postingMovesMoneyToTheCent_data();
    void postingMovesMoneyToTheCent();
    void centsDoNotDrift();
    void reversalGivesTheMoneyBack_data();
    void reversalGivesTheMoneyBack();
    void onlyATransferPairIsReversedAsOne();
    void reversedExpenseFindsItsInstrumentByIdThenByName();
    void failedPostingLeavesFileAndCachesAsBefore_data();
    void failedPostingLeavesFileAndCachesAsBefore();
    void postingInsideARolledBackTransactionIsUndone();
};

void TestPostings::postingMovesMoneyToTheCent_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("balancesAfter");
    QTest::addColumn<QString>("expenses");
    QTest::addColumn<QString>("movements");
    const QString none;
    const QString bankOut = QStringLiteral("879.75 200.00 5000.00");
    QTest::newRow("cash expense: own account, no movement")
        << "expense" << 2 << 2 << 45.5 << none << "1000.00 154.50 5000.00" << "45.5 2 2 45.5" << none;
    QTest::newRow("bank expense") << "expense" << 1 << 1 << 120.25 << none << bankOut << "120.25 1 1 120.25"
                                  << "1>0 21/0 120.25 a1 z1 q0";
    QTest::newRow("linked card expense") << "expense" << 3 << 1 << 120.25 << none << bankOut << "120.25 3 1 120.25"
                                         << "1>0 21/0 120.25 a1 z3 q0";
    QTest::newRow("split expense: no detail") << "expense" << 1 << 0 << 120.25 << none << bankOut << "120.25 1"
                                              << "1>0 21/0 120.25 a1 z1 q0";
    QTest::newRow("expense of the whole balance")
        << "expense" << 2 << 1 << 200.0 << none << "1000.00 0.00 5000.00" << "200.0 2 1 200.0" << none;
    QTest::newRow("expense below a cent") << "expense" << 2 << 1 << 0.005 << none << "1000.00 199.99 5000.00"
                                          << "0.01 2 1 0.01" << none;
    QTest::newRow("deposit") << "deposit" << 3 << 1 << 2500.5 << none << "1000.00 200.00 7500.50" << none
                             << "3>0 23/1 2500.5 a0 z0 q1";
    QTest::newRow("transfer") << "transfer" << 1 << 4 << 100.0 << none << "900.00 200.00 5100.00" << none
                              << "1>3 22/0 100.0 a0 z0 q0; 3>1 22/1 100.0 a0 z0 q0";
    QTest::newRow("transfer below a cent") << "transfer" << 1 << 4 << 10.005 << none << "989.99 200.00 5010.01"
                                           << none << "1>3 22/0 10.01 a0 z0 q0; 3>1 22/1 10.01 a0 z0 q0";
    QTest::newRow("transfer of the whole balance") << "transfer" << 2 << 1 << 200.0 << none
                                                   << "1200.00 0.00 5000.00" << none
                                                   << "2>1 22/0 200.0 a0 z0 q0; 1>2 22/1 200.0 a0 z0 q0";
    const QString invalid = QStringLiteral("Betrag ungültig!");
    const QString tooMuch = QStringLiteral("Betrags-Überschreitung");
    QTest::newRow("unknown instrument") << "expense" << 99 << 0 << 10.0 << "Zahlungsmittel fehlt" << seeded << none
                                        << none;
    QTest::newRow("expense of 0.00") << "expense" << 2 << 0 << 0.004 << invalid << seeded << none << none;
    QTest::newRow("negative deposit") << "deposit" << 2 << 0 << -5.0 << invalid << seeded << none << none;
    QTest::newRow("negative transfer") << "transfer" << 2 << 1 << -5.0 << invalid << seeded << none << none;
    QTest::newRow("expense a cent too much") << "expense" << 2 << 1 << 200.01 << tooMuch << seeded << none << none;
    QTest::newRow("transfer a cent too much") << "transfer" << 2 << 1 << 200.01 << tooMuch << seeded << none << none;
    QTest::newRow("transfer within one account")
        << "transfer" << 1 << 3 << 50.0 << "Interne Transaktion nicht möglich" << seeded << none << none;
}

void TestPostings::postingMovesMoneyToTheCent()
{
    QFETCH(QString, kind);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, amount);
    QFETCH(QString, refusal);
    QFETCH(QString, balancesAfter);
    TestWorkspace ws;
    ws.seedMasterData();
    QCOMPARE(post(kind, from, to, amount).title, refusal);
    QCOMPARE(balances(), balancesAfter);
    QCOMPARE(balances(true), balancesAfter);
    QTEST(expenseRows(), "expenses");
    QTEST(movementRows(), "movements");
}

void TestPostings::centsDoNotDrift()
{
    QVERIFY(DataProvider::isAvailable(0.1 + 0.2, 0.30));
    QVERIFY(DataProvider::isAvailable(0.30, 0.1 + 0.2));
    QVERIFY(!DataProvider::isAvailable(0.30, 0.31));
    TestWorkspace ws;
    ws.seedMasterData();
    for (int i = 0; i < 3; ++i)
        QVERIFY(post("expense", Seed::CashInstrument, 1, 0.1).ok());
    QCOMPARE(balances(), QStringLiteral("1000.00 199.70 5000.00"));
    QVERIFY(post("deposit", Seed::CashAccount, 1, 0.2).ok());
    QCOMPARE(balances(), QStringLiteral("1000.00 199.90 5000.00"));
}

void TestPostings::reversalGivesTheMoneyBack_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("again");
    const QString expenseGone = QStringLiteral("Fehler beim löschen einer Ausgabe: ");
    QTest::newRow("cash expense") << "expense" << 2 << 1 << expenseGone;
    QTest::newRow("bank expense") << "expense" << 1 << 1 << expenseGone;
    QTest::newRow("linked card split expense") << "expense" << 3 << 0 << expenseGone;
    QTest::newRow("deposit") << "deposit" << 2 << 1 << "Info";
    QTest::newRow("transfer") << "transfer" << 1 << 4 << "Fehler -> es ist kein Txn-Paar!";
}

void TestPostings::reversalGivesTheMoneyBack()
{
    QFETCH(QString, kind);
    QFETCH(int, from);
    QFETCH(int, to);
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QVERIFY(post(kind, from, to, 5.0).ok());
    const QString kept = fileState();
    QVERIFY(post(kind, from, to, 1.005).ok());
    const QVariant last = ws.scalar(kind == "expense" ? "SELECT MAX(id) FROM ausgaben"
                                    : kind == "deposit" ? "SELECT MAX(id) FROM konto_bewegungen"
                                                        : "SELECT tx_id FROM konto_bewegungen ORDER BY id DESC");
    const auto reverse = [&] {
        return kind == "expense" ? dp->reverseExpense(last.toInt())
             : kind == "deposit" ? dp->reverseMovement(last.toInt()) : dp->reverseTransfer(last.toString());
    };
    QVERIFY(reverse().ok());
    QCOMPARE(fileState(), kept);
    QCOMPARE(balances(true), balances());
    QTEST(reverse().title, "again");
    QCOMPARE(fileState(), kept);
}

void TestPostings::onlyATransferPairIsReversedAsOne()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    // Deposits and bank expenses carry the empty key.
    QVERIFY(post("deposit", Seed::BankAccount, 1, 10.0).ok());
    QVERIFY(post("expense", Seed::BankInstrument, 1, 10.0).ok());
    QVERIFY(post("transfer", Seed::BankInstrument, Seed::SavingsInstrument, 10.0).ok());
    const QString txId = ws.scalar("SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22").toString();
    ws.exec("DELETE FROM konto_bewegungen WHERE id = (SELECT MAX(id) FROM konto_bewegungen)");
    dp->loadAccountMovements();
    const QString before = fileState();
    for (const QString &key : {QString(""), txId})
        QCOMPARE(dp->reverseTransfer(key).title, QStringLiteral("Fehler -> es ist kein Txn-Paar!"));
    QCOMPARE(fileState(), before);
}

void TestPostings::reversedExpenseFindsItsInstrumentByIdThenByName()
{
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QVERIFY(post("expense", Seed::CardInstrument, 0, 40.0).ok());
    QVERIFY(post("expense", Seed::CashInstrument, 0, 15.0).ok());
    // Visa renamed and its old name given to Sparkonto; Bargeld's id gone.
    ws.exec("UPDATE zahlungsmittel SET name = 'Mastercard' WHERE id = 3");
    ws.exec("UPDATE zahlungsmittel SET name = 'Visa' WHERE id = 4");
    ws.exec("UPDATE zahlungsmittel SET id = 9 WHERE id = 2");
    dp->loadPaymentInstruments();
    QVERIFY(dp->reverseExpense(1).ok());
    QVERIFY(dp->reverseExpense(2).ok());
    QCOMPARE(balances(), seeded);
}

void TestPostings::failedPostingLeavesFileAndCachesAsBefore_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("posting");
    QTest::addColumn<QString>("title");
    const QString onBalance = QStringLiteral("BEFORE UPDATE ON konten");
    const QString onSecondBalance = onBalance + " WHEN NEW.id = 3";
    const QString onMovementInsert = QStringLiteral("BEFORE INSERT ON konto_bewegungen");
    const QString onMovementDelete = QStringLiteral("BEFORE DELETE ON konto_bewegungen");
    const QString db = QStringLiteral("DB-Transaktion fehlgeschlagen!");
    QTest::newRow("expense: balance") << onBalance << "expense" << db;
    QTest::newRow("expense: movement") << onMovementInsert << "expense" << db;
    QTest::newRow("deposit: balance") << onBalance << "deposit" << db;
    QTest::newRow("transfer: second balance") << onSecondBalance << "transfer" << db;
    QTest::newRow("transfer reversal: second balance") << onSecondBalance << "reverse transfer"
                                                       << "DB-Update-Konto fehlgeschlagen!";
    QTest::newRow("transfer reversal: delete") << onMovementDelete << "reverse transfer" << db;
    QTest::newRow("expense reversal: balance") << onBalance << "reverse expense"
                                               << "DB-Update für Konto fehlgeschlagen!";
    QTest::newRow("expense reversal: movement") << onMovementDelete << "reverse expense"
                                                << "DB-Delete für KontoTxn fehlgeschlagen!";
    QTest::newRow("deposit reversal: balance") << onBalance << "reverse deposit" << db;
}

void TestPostings::failedPostingLeavesFileAndCachesAsBefore()
{
    QFETCH(QString, trigger);
    QFETCH(QString, posting);
    TestWorkspace ws;
    ws.seedMasterData();
    DataProvider *dp = DataProvider::instance();
    QVERIFY(post("expense", Seed::BankInstrument, 1, 70.0).ok());
    QVERIFY(post("transfer", Seed::BankInstrument, Seed::SavingsInstrument, 25.0).ok());
    QVERIFY(post("deposit", Seed::SavingsAccount, 2, 12.0).ok());
    ws.exec("CREATE TRIGGER boom " + trigger + " BEGIN SELECT RAISE(ABORT,'boom'); END");
    const QString before = fileState();
    const Account *held = dp->getAccount(Seed::BankAccount);

    PostingResult r;
    if (posting == "reverse expense")
        r = dp->reverseExpense(1);
    else if (posting == "reverse transfer")
        r = dp->reverseTransfer(ws.scalar("SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22").toString());
    else if (posting == "reverse deposit")
        r = dp->reverseMovement(ws.scalar("SELECT id FROM konto_bewegungen WHERE tx_typ = 23").toInt());
    else
        r = post(posting, 1, posting == "transfer" ? Seed::SavingsInstrument : 1, 10.0);
    QTEST(r.title, "title");
    QVERIFY2(r.text.contains("boom"), qPrintable(r.text));
    QCOMPARE(fileState(), before);
    QCOMPARE(balances(true), balances());
    // A dialog holding the account still sees the same, current record.
    QCOMPARE(dp->getAccount(Seed::BankAccount), held);
    QCOMPARE(DbTransaction::depth(), 0);
}

void TestPostings::postingInsideARolledBackTransactionIsUndone()
{
    TestWorkspace ws;
    ws.seedMasterData();
    {
        DbTransaction outer;
        QVERIFY(post("expense", Seed::BankInstrument, 1, 10.0).ok());
        QCOMPARE(balances(true), QStringLiteral("990.00 200.00 5000.00"));
    }
    QCOMPARE(fileState(), seeded + " |  | ");
    QCOMPARE(balances(true), seeded);
}

QTEST_MAIN(TestPostings)
#include "tst_postings.moc"
