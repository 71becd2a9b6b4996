#include "account.h"
#include "accountentry.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"
#include "testsupport.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

Q_DECLARE_METATYPE(QSharedPointer<FinanceBase>)

namespace {

QSqlRecord rowOf(const QString &sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return QSqlRecord();
    return query.record();
}

// Collects the debug lines written while it lives.
class DebugCapture
{
public:
    DebugCapture() { s_lines.clear(); m_previous = qInstallMessageHandler(handler); }
    ~DebugCapture() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type == QtDebugMsg)
            s_lines << text;
    }
    static QStringList s_lines;
    QtMessageHandler m_previous;
};
QStringList DebugCapture::s_lines;

// A movement of each kind: an expense on the card and an income on the bank
// account from source 2.
void insertBookings()
{
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben (startdate,betrag,beguenstigter,beguenstigter_id,zahlungsmittel,zahlungsmittel_id,"
        "bemerkung,ausgaben_typ,ausgaben_typ_id) "
        "VALUES ('2026-02-03',42.35,'M\u00fcller''s Laden',2,'Visa',3,'Wocheneinkauf','Lebensmittel',1)"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) VALUES (1,2,12.5,'Wein')"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
        "VALUES ('2026-02-03',42.35,1,7,21,31,0,'Wocheneinkauf',3,1,'TX-17',0)"));
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,bemerkung,"
        "zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
        "VALUES ('2026-02-25',1000.0,1,0,23,31,1,'Februar',0,0,'',2)"));
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void defaultsOfEveryClass_data();
    void defaultsOfEveryClass();
    void classSpecificDefaults();
    void specialConstructors();

    void accountFromRow();
    void paymentInstructionFromRow();
    void recipientFromRow();
    void accountEntryFromRow();
    void expenseEntryFromRow();
    void expenseTypeAndDetailFromRow();
    void incomeEntryFromSourceAndMovementRows();
    void missingColumnsGiveZeroValues();

    void paymentInstructionByName_data();
    void paymentInstructionByName();

    void assignmentLeavesTargetOwnFields();
    void assignCopiesOnlyOwnFields();
    void expenseAssignAlsoCopiesBaseFields();
    void assignAcrossClassesChangesNothing();
    void copyConstruction();
    void comparisonLooksOnlyAtIds();

    void dateFormat_data();
    void dateFormat();
    void colourCycle_data();
    void colourCycle();
    void polymorphismLines_data();
    void polymorphismLines();
};

void TestRecords::defaultsOfEveryClass_data()
{
    QTest::addColumn<QSharedPointer<FinanceBase>>("record");
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("code");
    QTest::newRow("Account") << QSharedPointer<FinanceBase>(new Account) << "Account" << 11;
    QTest::newRow("PaymentInstruction") << QSharedPointer<FinanceBase>(new PaymentInstruction)
                                        << "PaymentInstruction" << 13;
    QTest::newRow("Recipient") << QSharedPointer<FinanceBase>(new Recipient(0)) << "Recipient" << 14;
    QTest::newRow("AccountEntry") << QSharedPointer<FinanceBase>(new AccountEntry) << "AccountEntry" << 15;
    QTest::newRow("ExpenseEntry") << QSharedPointer<FinanceBase>(new ExpenseEntry) << "ExpenseEntry" << 16;
    QTest::newRow("ExpenseTypeEntry") << QSharedPointer<FinanceBase>(new ExpenseTypeEntry)
                                      << "ExpenseTypeEntry" << 17;
    QTest::newRow("ExpenseEntryDetail") << QSharedPointer<FinanceBase>(new ExpenseEntryDetail)
                                        << "ExpenseEntryDetail" << 18;
    QTest::newRow("IncomeEntry") << QSharedPointer<FinanceBase>(new IncomeEntry) << "IncomeEntry" << 19;
}

void TestRecords::defaultsOfEveryClass()
{
    QFETCH(QSharedPointer<FinanceBase>, record);
    QFETCH(QString, className);
    QFETCH(int, code);
    QCOMPARE(record->getClassName(), className);
    QCOMPARE(record->getTypeCode(), code);
    QVERIFY(record->isOfType(code));
    QVERIFY(!record->isOfType(20));
    QCOMPARE(record->getDefaultCode(), 0);
    QCOMPARE(record->getId(), 0);
    QVERIFY(record->getName().isEmpty());
    QVERIFY(record->getDescription().isEmpty());
    QVERIFY(record->getLastError().isEmpty());
    QVERIFY(record->getDate().isNull());
    QCOMPARE(record->getDateString(), QString());
    QVERIFY(!record->isTotalRow());
}

void TestRecords::classSpecificDefaults()
{
    const Account account;
    QCOMPARE(account.getAccountType(), 12);
    QCOMPARE(account.getState(), 0);
    QCOMPARE(account.getBalance(), 0.0);
    QCOMPARE(account.getLinkedCount(), 0);
    QVERIFY(!account.getColour().isValid());

    const PaymentInstruction instrument;
    QCOMPARE(instrument.getInstrumentType(), 23);
    QCOMPARE(instrument.getAccountType(), 19);
    QCOMPARE(instrument.getAccountId(), 0);
    QVERIFY(!instrument.isBankAccount());
    QVERIFY(!instrument.hasAccountLink());

    const AccountEntry movement;
    QCOMPARE(movement.getTxType(), 29);
    QCOMPARE(movement.getFromAccount(), 0);
    QCOMPARE(movement.getToAccount(), 0);
    QVERIFY(movement.getTxId().isEmpty());

    const ExpenseEntry expense;
    QVERIFY(!expense.hasBudget());
    QCOMPARE(expense.getBudget(), 0.0);

    const IncomeEntry income;
    QVERIFY(!income.isSource());
}

void TestRecords::specialConstructors()
{
    const Account account(5);
    QCOMPARE(account.getId(), 5);
    QCOMPARE(account.getAccountType(), 12);

    const ExpenseEntry summary(1234.5);
    QVERIFY(summary.hasBudget());
    QCOMPARE(summary.getBudget(), 1234.5);
    QCOMPARE(summary.getId(), 0);
    const ExpenseEntry byId(8);
    QCOMPARE(byId.getId(), 8);
    QVERIFY(!byId.hasBudget());

    const ExpenseTypeEntry budgetOnly(6000.0);
    QCOMPARE(budgetOnly.getBudget(), 6000.0);
    QCOMPARE(budgetOnly.getId(), 0);
    const ExpenseTypeEntry typeById(3);
    QCOMPARE(typeById.getId(), 3);
    QCOMPARE(typeById.getBudget(), 0.0);

    const IncomeEntry volume(60000.0);
    QVERIFY(volume.isSource());
    QCOMPARE(volume.getVolume(), 60000.0);
    QCOMPARE(volume.getId(), 0);
    const IncomeEntry incomeById(4);
    QCOMPARE(incomeById.getId(), 4);
    QVERIFY(!incomeById.isSource());

    Account counted;
    counted.incrementLinkedCount();
    counted.incrementLinkedCount();
    counted.decrementLinkedCount();
    QCOMPARE(counted.getLinkedCount(), 1);
    counted.addIncomingSum(10.25);
    counted.addIncomingSum(4.75);
    QCOMPARE(counted.getIncomingSum(), 15.0);
}

void TestRecords::accountFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const Account account(rowOf(QStringLiteral("SELECT * FROM konten WHERE id = 1")));
    QCOMPARE(account.getId(), 1);
    QCOMPARE(account.getName(), QStringLiteral("Postkonto"));
    QCOMPARE(account.getAccountType(), 12);
    QCOMPARE(account.getState(), 1);
    QCOMPARE(account.getAccountNumber(), QStringLiteral("CH12-3456"));
    QCOMPARE(account.getOpeningAmount(), 1000.0);
    QCOMPARE(account.getBalance(), 1000.0);
    QCOMPARE(account.getDescription(), QStringLiteral("Bank-Account"));
    QCOMPARE(account.getDate(), QDate(2026, 1, 1));
    QCOMPARE(account.getDateString(), QStringLiteral("01.01.2026"));
    QCOMPARE(account.getClassName(), QStringLiteral("Account"));
    QCOMPARE(account.getTypeCode(), 11);
    // Computed by the data layer, not read.
    QCOMPARE(account.getLinkedCount(), 0);
    QVERIFY(!account.getColour().isValid());
}

void TestRecords::paymentInstructionFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const PaymentInstruction card(rowOf(QStringLiteral("SELECT * FROM zahlungsmittel WHERE id = 3")));
    QCOMPARE(card.getId(), 3);
    QCOMPARE(card.getName(), QStringLiteral("Visa"));
    QCOMPARE(card.getInstrumentType(), 24);
    QCOMPARE(card.getAccountId(), 1);
    QVERIFY(card.hasAccountLink());
    QCOMPARE(card.getCardNumber(), QStringLiteral("4111"));
    // Not columns: set later by the data layer.
    QCOMPARE(card.getAccountType(), 19);
    QVERIFY(!card.isBankAccount());

    const PaymentInstruction cash(rowOf(QStringLiteral("SELECT * FROM zahlungsmittel WHERE id = 2")));
    QCOMPARE(cash.getInstrumentType(), 21);
    QVERIFY(!cash.hasAccountLink());
    QCOMPARE(cash.getAccountId(), 2);
}

void TestRecords::recipientFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    const Recipient recipient(rowOf(QStringLiteral("SELECT * FROM beguenstigte WHERE id = 2")));
    QCOMPARE(recipient.getId(), 2);
    QCOMPARE(recipient.getName(), QStringLiteral("M\u00fcller's Laden"));
    QCOMPARE(recipient.getPaidSum(), 0.0);
    // Only id and name are taken from the row.
    QVERIFY(recipient.getDescription().isEmpty());
}

void TestRecords::accountEntryFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    const AccountEntry movement(rowOf(QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = 1")));
    QCOMPARE(movement.getId(), 1);
    QCOMPARE(movement.getDate(), QDate(2026, 2, 3));
    QCOMPARE(movement.getDateString(), QStringLiteral("03.02.2026"));
    QCOMPARE(movement.getAmount(), 42.35);
    QCOMPARE(movement.getFromAccount(), 1);
    QCOMPARE(movement.getToAccount(), 7);
    QCOMPARE(movement.getTxType(), 21);
    QCOMPARE(movement.getTxId(), QStringLiteral("TX-17"));
    QCOMPARE(movement.getState(), 31);
    QCOMPARE(movement.getOpFlag(), 0);
    QCOMPARE(movement.getRemark(), QStringLiteral("Wocheneinkauf"));
    QCOMPARE(movement.getPaymentInstrumentId(), 3);
    QCOMPARE(movement.getExpenseId(), 1);
    QVERIFY(movement.getName().isEmpty());
}

void TestRecords::expenseEntryFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    const ExpenseEntry expense(rowOf(QStringLiteral("SELECT * FROM ausgaben WHERE id = 1")));
    QCOMPARE(expense.getId(), 1);
    QCOMPARE(expense.getDate(), QDate(2026, 2, 3));
    QCOMPARE(expense.getAmount(), 42.35);
    QCOMPARE(expense.getRecipientName(), QStringLiteral("M\u00fcller's Laden"));
    QCOMPARE(expense.getRecipientId(), 2);
    QCOMPARE(expense.getPaymentInstrumentName(), QStringLiteral("Visa"));
    QCOMPARE(expense.getPaymentInstrumentId(), 3);
    QCOMPARE(expense.getRemark(), QStringLiteral("Wocheneinkauf"));
    QCOMPARE(expense.getExpenseTypeName(), QStringLiteral("Lebensmittel"));
    QCOMPARE(expense.getExpenseTypeId(), 1);
    QVERIFY(!expense.hasBudget());
}

void TestRecords::expenseTypeAndDetailFromRow()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    const ExpenseTypeEntry type(rowOf(QStringLiteral("SELECT * FROM ausgaben_typen WHERE id = 2")));
    QCOMPARE(type.getId(), 2);
    QCOMPARE(type.getName(), QStringLiteral("Wohnen"));
    QCOMPARE(type.getBudget(), 18000.0);

    const ExpenseEntryDetail detail(rowOf(QStringLiteral("SELECT * FROM ausgaben_detail WHERE id = 1")));
    QCOMPARE(detail.getId(), 1);
    QCOMPARE(detail.getExpenseId(), 1);
    QCOMPARE(detail.getSubTypeId(), 2);
    QCOMPARE(detail.getAmount(), 12.5);
    QCOMPARE(detail.getRemark(), QStringLiteral("Wein"));
    QCOMPARE(detail.getSecondAmount(), 0.0);
}

void TestRecords::incomeEntryFromSourceAndMovementRows()
{
    TestWorkspace ws;
    ws.seedMasterData();
    insertBookings();
    TestWorkspace::exec(QStringLiteral("UPDATE einnahme_quelle SET mwst = 7.7 WHERE id = 2"));

    const IncomeEntry source(rowOf(QStringLiteral("SELECT * FROM einnahme_quelle WHERE id = 2")), true);
    QVERIFY(source.isSource());
    QCOMPARE(source.getId(), 2);
    QCOMPARE(source.getName(), QStringLiteral("Rente"));
    QCOMPARE(source.getVolume(), 12000.0);
    QCOMPARE(source.getVat(), 7.7);
    QCOMPARE(source.getRemark(), QStringLiteral("AHV"));
    QCOMPARE(source.getAmount(), 0.0);
    QCOMPARE(source.getIncomeSourceId(), 0);
    QVERIFY(source.getDate().isNull());

    const IncomeEntry movement(rowOf(QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = 2")), false);
    QVERIFY(!movement.isSource());
    QCOMPARE(movement.getId(), 2);
    QCOMPARE(movement.getAmount(), 1000.0);
    QCOMPARE(movement.getIncomeSourceId(), 2);
    QCOMPARE(movement.getRemark(), QStringLiteral("Februar"));
    QCOMPARE(movement.getDateString(), QStringLiteral("25.02.2026"));
    QCOMPARE(movement.getVolume(), 0.0);
    QCOMPARE(movement.getVat(), 0.0);
}

void TestRecords::missingColumnsGiveZeroValues()
{
    TestWorkspace ws;
    ws.seedMasterData();
    // A row of another table: only the shared columns match.
    const QSqlRecord typeRow = rowOf(QStringLiteral("SELECT * FROM ausgaben_typen WHERE id = 1"));
    const Account account(typeRow);
    QCOMPARE(account.getId(), 1);
    QCOMPARE(account.getName(), QStringLiteral("Lebensmittel"));
    QCOMPARE(account.getAccountType(), 0);
    QCOMPARE(account.getBalance(), 0.0);
    QVERIFY(account.getAccountNumber().isEmpty());
    QVERIFY(account.getDate().isNull());

    const AccountEntry movement{QSqlRecord()};
    QCOMPARE(movement.getId(), 0);
    QCOMPARE(movement.getTxType(), 0);
    QCOMPARE(movement.getDateString(), QString());

    // NULL columns read as zero values too.
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO konten (name,konto_typ,stat,initial_betrag,betrag) VALUES ('Leer',12,1,0,0)"));
    const Account sparse(rowOf(QStringLiteral("SELECT * FROM konten WHERE name = 'Leer'")));
    QVERIFY(sparse.getDate().isNull());
    QCOMPARE(sparse.getDateString(), QString());
    QVERIFY(sparse.getAccountNumber().isEmpty());
}

void TestRecords::paymentInstructionByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("instrumentType");
    QTest::addColumn<int>("accountId");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<bool>("linked");
    QTest::newRow("linked card") << "Visa" << 3 << 24 << 1 << 12 << true;
    QTest::newRow("cash with own account") << "Bargeld" << 2 << 21 << 2 << 13 << false;
    QTest::newRow("apostrophe") << "Anna's Karte" << 5 << 22 << 3 << 12 << false;
    QTest::newRow("unknown name") << "Gibt es nicht" << 0 << 23 << 0 << 19 << false;
}

void TestRecords::paymentInstructionByName()
{
    QFETCH(QString, name);
    QFETCH(int, id);
    QFETCH(int, instrumentType);
    QFETCH(int, accountId);
    QFETCH(int, accountType);
    QFETCH(bool, linked);
    TestWorkspace ws;
    ws.seedMasterData();
    TestWorkspace::exec(QStringLiteral(
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) "
        "VALUES (22,3,0,'','','Anna''s Karte')"));

    const PaymentInstruction instrument(name);
    QCOMPARE(instrument.getName(), name);
    QCOMPARE(instrument.getId(), id);
    QCOMPARE(instrument.getInstrumentType(), instrumentType);
    QCOMPARE(instrument.getAccountId(), accountId);
    QCOMPARE(instrument.getAccountType(), accountType);
    QCOMPARE(instrument.hasAccountLink(), linked);
    QCOMPARE(instrument.getTypeCode(), 13);
}

void TestRecords::assignmentLeavesTargetOwnFields()
{
    Account source(7);
    source.setName(QStringLiteral("Postkonto"));
    source.setDate(QDate(2026, 4, 1));
    source.setDescription(QStringLiteral("Bank-Account"));
    source.setLastError(QStringLiteral("disk full"));
    source.setTotalRow(true);
    source.setBalance(99.5);

    ExpenseTypeEntry target(2);
    target.setDescription(QStringLiteral("mine"));
    target.setLastError(QStringLiteral("old error"));
    target.setBudget(300.0);

    // Through the base: copies class name, id, date, code and name only.
    static_cast<FinanceBase &>(target) = source;
    QCOMPARE(target.getId(), 7);
    QCOMPARE(target.getName(), QStringLiteral("Postkonto"));
    QCOMPARE(target.getDate(), QDate(2026, 4, 1));
    QCOMPARE(target.getClassName(), QStringLiteral("Account"));
    QCOMPARE(target.getTypeCode(), 11);
    QCOMPARE(target.getDescription(), QStringLiteral("mine"));
    QCOMPARE(target.getLastError(), QStringLiteral("old error"));
    QVERIFY(!target.isTotalRow());
    QCOMPARE(target.getBudget(), 300.0);

    // Between records of one class the own fields come along, the three
    // object-bound fields still do not.
    Account other;
    other.setDescription(QStringLiteral("keep"));
    other = source;
    QCOMPARE(other.getId(), 7);
    QCOMPARE(other.getBalance(), 99.5);
    QCOMPARE(other.getDescription(), QStringLiteral("keep"));
    QVERIFY(other.getLastError().isEmpty());
    QVERIFY(!other.isTotalRow());

    ExpenseEntry expenseSource(3);
    expenseSource.setDescription(QStringLiteral("theirs"));
    expenseSource.setAmount(5.0);
    ExpenseEntry expenseTarget;
    expenseTarget.setDescription(QStringLiteral("ours"));
    expenseTarget = expenseSource;
    QCOMPARE(expenseTarget.getAmount(), 5.0);
    QCOMPARE(expenseTarget.getDescription(), QStringLiteral("ours"));
}

void TestRecords::assignCopiesOnlyOwnFields()
{
    AccountEntry source(4);
    source.setName(QStringLiteral("src"));
    source.setFromAccount(1);
    source.setToAccount(2);
    source.setTxType(22);
    source.setTxId(QStringLiteral("TX-9"));
    source.setState(31);
    source.setOpFlag(1);
    source.setAmount(12.34);
    source.setRemark(QStringLiteral("Umbuchung"));
    source.setPaymentInstrumentId(6);
    source.setExpenseId(8);

    AccountEntry target(9);
    target.assign(source);
    QCOMPARE(target.getId(), 9);
    QVERIFY(target.getName().isEmpty());
    // Each field from its own counterpart.
    QCOMPARE(target.getFromAccount(), 1);
    QCOMPARE(target.getToAccount(), 2);
    QCOMPARE(target.getTxType(), 22);
    QCOMPARE(target.getTxId(), QStringLiteral("TX-9"));
    QCOMPARE(target.getState(), 31);
    QCOMPARE(target.getOpFlag(), 1);
    QCOMPARE(target.getAmount(), 12.34);
    QCOMPARE(target.getRemark(), QStringLiteral("Umbuchung"));
    QCOMPARE(target.getPaymentInstrumentId(), 6);
    QCOMPARE(target.getExpenseId(), 8);

    Account account(1);
    account.setAccountType(13);
    account.setState(1);
    account.setAccountNumber(QStringLiteral("CH12"));
    account.setOpeningAmount(10.0);
    account.setBalance(20.0);
    account.setIncomingSum(30.0);
    account.setOutgoingSum(40.0);
    account.setLinkedCount(3);
    Account accountCopy(2);
    static_cast<FinanceBase &>(accountCopy).assign(account);
    QCOMPARE(accountCopy.getId(), 2);
    QCOMPARE(accountCopy.getAccountType(), 13);
    QCOMPARE(accountCopy.getState(), 1);
    QCOMPARE(accountCopy.getAccountNumber(), QStringLiteral("CH12"));
    QCOMPARE(accountCopy.getOpeningAmount(), 10.0);
    QCOMPARE(accountCopy.getBalance(), 20.0);
    QCOMPARE(accountCopy.getIncomingSum(), 30.0);
    QCOMPARE(accountCopy.getOutgoingSum(), 40.0);

    PaymentInstruction instrument(3);
    instrument.setAccountId(5);
    instrument.setBankAccount(true);
    instrument.setAccountLink(true);
    instrument.setCardNumber(QStringLiteral("4111"));
    PaymentInstruction instrumentCopy;
    instrumentCopy.assign(instrument);
    QCOMPARE(instrumentCopy.getId(), 0);
    QCOMPARE(instrumentCopy.getAccountId(), 5);
    QVERIFY(instrumentCopy.isBankAccount());
    QVERIFY(instrumentCopy.hasAccountLink());
    QCOMPARE(instrumentCopy.getCardNumber(), QStringLiteral("4111"));

    IncomeEntry income(2);
    income.setAmount(1.0);
    income.setIncomeSourceId(2);
    income.setVolume(3.0);
    income.setVat(7.5);
    income.setSource(true);
    IncomeEntry incomeCopy;
    incomeCopy.assign(income);
    QCOMPARE(incomeCopy.getId(), 0);
    QCOMPARE(incomeCopy.getAmount(), 1.0);
    QCOMPARE(incomeCopy.getIncomeSourceId(), 2);
    QCOMPARE(incomeCopy.getVolume(), 3.0);
    QCOMPARE(incomeCopy.getVat(), 7.5);
    QVERIFY(incomeCopy.isSource());
}

void TestRecords::expenseAssignAlsoCopiesBaseFields()
{
    ExpenseEntry source(12);
    source.setName(QStringLiteral("Lebensmittel"));
    source.setDate(QDate(2026, 5, 6));
    source.setDescription(QStringLiteral("Beschreibung"));
    source.setLastError(QStringLiteral("err"));
    source.setAmount(42.0);
    source.setRecipientId(1);
    source.setExpenseTypeName(QStringLiteral("Lebensmittel"));

    ExpenseEntry target;
    target.assign(source);
    QCOMPARE(target.getId(), 12);
    QCOMPARE(target.getName(), QStringLiteral("Lebensmittel"));
    QCOMPARE(target.getDate(), QDate(2026, 5, 6));
    QCOMPARE(target.getDescription(), QStringLiteral("Beschreibung"));
    QVERIFY(target.getLastError().isEmpty());
    QCOMPARE(target.getAmount(), 42.0);
    QCOMPARE(target.getRecipientId(), 1);
    QCOMPARE(target.getExpenseTypeName(), QStringLiteral("Lebensmittel"));
    QCOMPARE(target.getTypeCode(), 16);
}

void TestRecords::assignAcrossClassesChangesNothing()
{
    Account account(1);
    account.setBalance(50.0);
    ExpenseTypeEntry type(2);
    type.setBudget(600.0);

    FinanceBase &asBase = type;
    asBase.assign(account);
    QCOMPARE(type.getBudget(), 600.0);
    QCOMPARE(type.getId(), 2);
    QCOMPARE(type.getTypeCode(), 17);
}

void TestRecords::copyConstruction()
{
    Account account(4);
    account.setName(QStringLiteral("Sparkonto"));
    account.setDate(QDate(2026, 1, 2));
    account.setBalance(5000.0);
    account.setColour(Account::colourForIndex(2));
    account.setLinkedCount(2);
    account.setDescription(QStringLiteral("Bank-Account"));
    account.setLastError(QStringLiteral("err"));
    account.setTotalRow(true);

    const Account copy(account);
    QCOMPARE(copy.getId(), 4);
    QCOMPARE(copy.getName(), QStringLiteral("Sparkonto"));
    QCOMPARE(copy.getDate(), QDate(2026, 1, 2));
    QCOMPARE(copy.getBalance(), 5000.0);
    QCOMPARE(copy.getColour(), Account::colourForIndex(2));
    QCOMPARE(copy.getLinkedCount(), 2);
    QCOMPARE(copy.getClassName(), QStringLiteral("Account"));
    QCOMPARE(copy.getTypeCode(), 11);
    QVERIFY(copy.getDescription().isEmpty());
    QVERIFY(copy.getLastError().isEmpty());
    QVERIFY(!copy.isTotalRow());

    PaymentInstruction instrument(3);
    instrument.setInstrumentType(24);
    instrument.setAccountType(12);
    instrument.setAccountId(1);
    const PaymentInstruction instrumentCopy(instrument);
    QCOMPARE(instrumentCopy.getId(), 3);
    QCOMPARE(instrumentCopy.getInstrumentType(), 24);
    QCOMPARE(instrumentCopy.getAccountType(), 12);
    QCOMPARE(instrumentCopy.getAccountId(), 1);
}

void TestRecords::comparisonLooksOnlyAtIds()
{
    Account account(3);
    account.setName(QStringLiteral("Postkonto"));
    Recipient recipient(3);
    recipient.setName(QStringLiteral("Migros"));
    IncomeEntry income(4);

    QVERIFY(account == recipient);
    QVERIFY(static_cast<const FinanceBase &>(recipient) == account);
    QVERIFY(!(account == income));
    QVERIFY(account != income);
    QVERIFY(account.isEqual(recipient));

    Account sameId(3);
    sameId.setBalance(-1.0);
    QVERIFY(account == sameId);
    QVERIFY(account.isEqual(sameId));
    Account otherId(30);
    QVERIFY(!account.isEqual(otherId));

    // Unsaved records all share id 0.
    QVERIFY(ExpenseEntry() == ExpenseEntryDetail());
}

void TestRecords::dateFormat_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded day and month") << QDate(2026, 3, 7) << "07.03.2026";
    QTest::newRow("two-digit day and month") << QDate(2025, 12, 31) << "31.12.2025";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << "29.02.2024";
    QTest::newRow("null") << QDate() << "";
    QTest::newRow("invalid") << QDate(2026, 2, 30) << "";
}

void TestRecords::dateFormat()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    AccountEntry movement;
    movement.setDate(date);
    QCOMPARE(movement.getDateString(), text);

    // The same date stored through the driver and read back.
    if (date.isValid()) {
        TestWorkspace ws;
        QSqlQuery insert;
        insert.prepare(QStringLiteral(
            "INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ,stat,op_flag,"
            "zahlungsmittel_id) VALUES (:dat,1.0,1,0,22,31,0,0)"));
        insert.bindValue(QStringLiteral(":dat"), date);
        QVERIFY(insert.exec());
        const AccountEntry stored(rowOf(QStringLiteral("SELECT * FROM konto_bewegungen")));
        QCOMPARE(stored.getDate(), date);
        QCOMPARE(stored.getDateString(), text);
    }
}

void TestRecords::colourCycle_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("1st") << 0 << QColor(255, 255, 128);
    QTest::newRow("2nd") << 1 << QColor(128, 255, 128);
    QTest::newRow("3rd") << 2 << QColor(128, 255, 255);
    QTest::newRow("4th") << 3 << QColor(192, 192, 255);
    QTest::newRow("5th") << 4 << QColor(255, 192, 255);
    QTest::newRow("6th") << 5 << QColor(255, 128, 128);
    QTest::newRow("7th starts again") << 6 << QColor(255, 255, 128);
    QTest::newRow("8th") << 7 << QColor(128, 255, 128);
    QTest::newRow("13th") << 12 << QColor(255, 255, 128);
}

void TestRecords::colourCycle()
{
    QFETCH(int, index);
    QFETCH(QColor, colour);
    const QColor actual = Account::colourForIndex(index);
    QCOMPARE(actual, colour);
    QCOMPARE(actual.alpha(), 255);
}

void TestRecords::polymorphismLines_data()
{
    QTest::addColumn<QSharedPointer<FinanceBase>>("record");
    QTest::addColumn<QString>("line");
    QTest::newRow("Account") << QSharedPointer<FinanceBase>(new Account)
                             << " Show Polymorphism -> Account:  \"Account\"";
    QTest::newRow("PaymentInstruction") << QSharedPointer<FinanceBase>(new PaymentInstruction)
                                        << " Show Polymorphism -> PaymentInstruction:  \"PaymentInstruction\"";
    QTest::newRow("AccountEntry") << QSharedPointer<FinanceBase>(new AccountEntry)
                                  << " Show Polymorphism -> AccountEntry:  \"AccountEntry\"";
    QTest::newRow("ExpenseTypeEntry") << QSharedPointer<FinanceBase>(new ExpenseTypeEntry)
                                      << " Show Polymorphism -> ExpenseTypeEntry:  \"ExpenseTypeEntry\"";
    QTest::newRow("ExpenseEntryDetail") << QSharedPointer<FinanceBase>(new ExpenseEntryDetail)
                                        << " Show Polymorphism -> ExpenseEntryDetail:  \"ExpenseEntryDetail\"";
    QTest::newRow("IncomeEntry") << QSharedPointer<FinanceBase>(new IncomeEntry)
                                 << " Show Polymorphism -> IncomeEntry:  \"IncomeEntry\"";
    QTest::newRow("ExpenseEntry is silent") << QSharedPointer<FinanceBase>(new ExpenseEntry) << QString();
    QTest::newRow("Recipient is silent") << QSharedPointer<FinanceBase>(new Recipient) << QString();
}

void TestRecords::polymorphismLines()
{
    QFETCH(QSharedPointer<FinanceBase>, record);
    QFETCH(QString, line);
    QStringList lines;
    {
        DebugCapture capture;
        record->showPolymorphism();
        lines = capture.lines();
    }
    if (line.isEmpty())
        QVERIFY2(lines.isEmpty(), qPrintable(lines.join(QLatin1Char('\n'))));
    else
        QCOMPARE(lines, QStringList{line});
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
