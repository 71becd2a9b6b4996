#include "dataprovider.h"

#include "account.h"
#include "accountentry.h"
#include "dbtransaction.h"
#include "expenseentry.h"
#include "paymentinstruction.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <memory>

// ---- Money ------------------------------------------------------------------

qint64 DataProvider::toCents(double amount)
{
    return qint64(std::llround(amount * 100.0));
}

double DataProvider::roundCents(double amount)
{
    return double(toCents(amount)) / 100.0;
}

bool DataProvider::isAvailable(double balance, double amount)
{
    return toCents(amount) <= toCents(balance);
}

// ---- Shared steps -----------------------------------------------------------

bool DataProvider::failPosting(QString &err, QString *errTitle, const QString &title, const QString &text)
{
    err = text;
    if (errTitle)
        *errTitle = title;
    return false;
}

// A zero or negative amount would book the wrong way round.
bool DataProvider::refuseAmount(double amount, QString &err, QString *errTitle)
{
    if (toCents(amount) > 0)
        return false;
    failPosting(err, errTitle, tr("Betrag ungültig!"), tr("Der Betrag muss grösser als 0.00 sein!"));
    return true;
}

// The key has no separators, so two moments can give the same digits
// (1 Nov vs 11 Jan); step on by a millisecond until no movement uses it.
QString DataProvider::unusedTxId()
{
    QDateTime moment = QDateTime::currentDateTime();
    for (;;) {
        const QString txId = makeTxId(moment.date(), moment.time());
        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM konto_bewegungen WHERE tx_id = :txid"));
        query.bindValue(QStringLiteral(":txid"), txId);
        if (!query.exec() || !query.next() || query.value(0).toInt() == 0)
            return txId;
        moment = moment.addMSecs(1);
    }
}

// ---- Expense ----------------------------------------------------------------

bool DataProvider::postExpense(ExpenseEntry *e, int subTypeId, bool split, QString &err, QString *errTitle)
{
    const QString dbTitle = tr("DB-Transaktion fehlgeschlagen!");
    const PaymentInstruction *p = getPaymentInstrument(e->getPaymentInstrumentId(), true);
    const Account *a = p ? getAccount(p->getAccountId()) : nullptr;
    if (!p || !a)
        return failPosting(err, errTitle, tr("Zahlungsmittel fehlt"),
                           tr("Zum gewählten Zahlungsmittel wurde kein Konto gefunden!"));
    // Stored and posted as the same whole cents.
    const double amount = roundCents(e->getAmount());
    e->setAmount(amount);
    if (refuseAmount(amount, err, errTitle))
        return false;
    if (!isAvailable(a->getBalance(), amount))
        return failPosting(err, errTitle, tr("Betrags-Überschreitung"), tr("Betrag nicht verfügbar!"));

    const int accountId = a->getId();
    const double newBalance = roundCents(a->getBalance() - amount);
    const bool linked = p->hasAccountLink();
    const int piId = p->getId();

    DbTransaction tx;
    int newId = 0;
    if (!insertExpense(e, newId, subTypeId, !split))
        return failPosting(err, errTitle, dbTitle, e->getLastError());
    if (!updateAccountBalance(accountId, newBalance, err))
        return failPosting(err, errTitle, dbTitle, err);
    if (linked) {
        const QString remark = e->getExpenseTypeName() + QStringLiteral(": ") + e->getRemark();
        if (!insertAccountMovement(accountId, getFirstAccountIdOfType(), amount, MoneyOut, remark, e->getDate(),
                                   ExpenseMovement, MovementBooked, newId, err, QString(), 0, piId))
            return failPosting(err, errTitle, dbTitle, err);
    }
    if (!tx.commit(err))
        return failPosting(err, errTitle, dbTitle, err);
    e->setId(newId);
    return true;
}

// ---- Deposit ----------------------------------------------------------------

bool DataProvider::postDeposit(int accountId, double amount, const QString &remark, const QDate &date,
                               int incomeSourceId, QString &err, QString *errTitle)
{
    const QString dbTitle = tr("DB-Transaktion fehlgeschlagen!");
    const Account *a = getAccount(accountId);
    if (!a)
        return failPosting(err, errTitle, tr("Konto fehlt"), tr("Das Konto für die Einzahlung wurde nicht gefunden!"));
    amount = roundCents(amount);
    if (refuseAmount(amount, err, errTitle))
        return false;
    const double newBalance = roundCents(a->getBalance() + amount);

    DbTransaction tx;
    if (!insertAccountMovement(accountId, getFirstAccountIdOfType(), amount, MoneyIn, remark, date, IncomeMovement,
                               MovementBooked, 0, err, QString(), incomeSourceId, 0))
        return failPosting(err, errTitle, dbTitle, err);
    if (!updateAccountBalance(accountId, newBalance, err))
        return failPosting(err, errTitle, dbTitle, err);
    if (!tx.commit(err))
        return failPosting(err, errTitle, dbTitle, err);
    return true;
}

// ---- Internal transfer ------------------------------------------------------

bool DataProvider::postTransfer(int fromInstrumentId, int toInstrumentId, double amount, const QString &remarkFrom,
                                const QString &remarkTo, const QDate &date, QString &err, QString *errTitle)
{
    const QString dbTitle = tr("DB-Transaktion fehlgeschlagen!");
    const PaymentInstruction *from = getPaymentInstrument(fromInstrumentId, true);
    const PaymentInstruction *to = getPaymentInstrument(toInstrumentId, true);
    const Account *source = from ? getAccount(from->getAccountId()) : nullptr;
    const Account *target = to ? getAccount(to->getAccountId()) : nullptr;
    if (!source || !target)
        return failPosting(err, errTitle, tr("Zahlungsmittel fehlt"),
                           tr("Zum gewählten Zahlungsmittel wurde kein Konto gefunden!"));
    // Both sides would book on one balance; the money would not move.
    if (source->getId() == target->getId())
        return failPosting(err, errTitle, tr("Interne Transaktion nicht möglich"),
                           tr("Quelle und Ziel gehören zum selben Konto!"));
    // Both rows and both balances move by the same whole cents.
    amount = roundCents(amount);
    if (refuseAmount(amount, err, errTitle))
        return false;
    if (!isAvailable(source->getBalance(), amount))
        return failPosting(err, errTitle, tr("Betrags-Überschreitung"), tr("Betrag nicht verfügbar!"));

    const int sourceId = source->getId();
    const int targetId = target->getId();
    const double sourceBalance = roundCents(source->getBalance() - amount);
    const double targetBalance = roundCents(target->getBalance() + amount);

    DbTransaction tx;
    const QString txId = unusedTxId();
    if (!insertAccountMovement(sourceId, targetId, amount, MoneyOut, remarkFrom, date, TransferMovement,
                               MovementBooked, 0, err, txId, 0, 0))
        return failPosting(err, errTitle, dbTitle, err);
    if (!updateAccountBalance(sourceId, sourceBalance, err))
        return failPosting(err, errTitle, dbTitle, err);
    if (!insertAccountMovement(targetId, sourceId, amount, MoneyIn, remarkTo, date, TransferMovement,
                               MovementBooked, 0, err, txId, 0, 0))
        return failPosting(err, errTitle, dbTitle, err);
    if (!updateAccountBalance(targetId, targetBalance, err))
        return failPosting(err, errTitle, dbTitle, err);
    if (!tx.commit(err))
        return failPosting(err, errTitle, dbTitle, err);
    return true;
}

// ---- Reversals --------------------------------------------------------------

bool DataProvider::reverseMovement(int movementId, QString &err, QString *errTitle)
{
    const QString dbTitle = tr("DB-Transaktion fehlgeschlagen!");
    AccountEntry movement(movementId);
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = %1 ").arg(movementId))
        || !query.next())
        return failPosting(err, errTitle, tr("Info"), tr("Der Eintrag konnte nicht gefunden werden!"));
    movement.readFields(query.record());
    query.finish();

    DbTransaction tx;
    if (!deleteAccountMovement(movementId, err))
        return failPosting(err, errTitle, dbTitle, err);
    if (const Account *a = getAccount(movement.getFromAccount())) {
        const double amount = roundCents(movement.getAmount());
        const double newBalance = movement.getOpFlag() == MoneyIn ? roundCents(a->getBalance() - amount)
                                                                  : roundCents(a->getBalance() + amount);
        if (!updateAccountBalance(a->getId(), newBalance, err))
            return failPosting(err, errTitle, dbTitle, err);
    }
    if (!tx.commit(err))
        return failPosting(err, errTitle, dbTitle, err);
    return true;
}

bool DataProvider::reverseTransfer(const QString &txId, QString &err, QString *errTitle)
{
    const QString pairTitle = tr("Fehler -> es ist kein Txn-Paar!");
    QList<AccountEntry *> pair;
    // Expenses and deposits carry the empty key; they never form a pair.
    if (!txId.isEmpty())
        getAccountMovements(txId, pair);
    if (pair.size() != 2)
        return failPosting(err, errTitle, pairTitle, pairTitle);

    struct Side { int accountId; double amount; int opFlag; };
    const Side sides[2] = {
        {pair.at(0)->getFromAccount(), roundCents(pair.at(0)->getAmount()), pair.at(0)->getOpFlag()},
        {pair.at(1)->getFromAccount(), roundCents(pair.at(1)->getAmount()), pair.at(1)->getOpFlag()},
    };

    DbTransaction tx;
    for (const Side &side : sides) {
        const Account *a = getAccount(side.accountId);
        if (!a)
            continue;
        const double newBalance = side.opFlag == MoneyIn ? roundCents(a->getBalance() - side.amount)
                                                         : roundCents(a->getBalance() + side.amount);
        if (!updateAccountBalance(side.accountId, newBalance, err))
            return failPosting(err, errTitle, tr("DB-Update-Konto fehlgeschlagen!"), err);
    }
    if (!deleteAccountMovements(txId, err))
        return failPosting(err, errTitle, tr("DB-Transaktion fehlgeschlagen!"), err);
    if (!tx.commit(err))
        return failPosting(err, errTitle, tr("DB-Transaktion fehlgeschlagen!"), err);
    return true;
}

bool DataProvider::reverseExpense(int expenseId, QString &err, QString *errTitle)
{
    const QString deleteTitle = tr("Fehler beim löschen einer Ausgabe: ");
    std::unique_ptr<FinanceBase> record(getRecord(expenseId, ExpenseEntryCode));
    auto *e = static_cast<ExpenseEntry *>(record.get());
    if (!e)
        return failPosting(err, errTitle, deleteTitle, tr("Der Ausgaben-Eintrag konnte nicht gefunden!"));

    // The stored id is reliable; the stored name only counts when the
    // instrument of that id is gone (instruments can be renamed).
    const PaymentInstruction *p = getPaymentInstrument(e->getPaymentInstrumentId(), true);
    if (!p)
        p = getPaymentInstrument(e->getPaymentInstrumentName());
    const Account *a = p ? getAccount(p->getAccountId()) : nullptr;
    if (!a)
        return failPosting(err, errTitle, deleteTitle,
                           tr("Das Zahlungsmittel oder Konto der Ausgabe wurde nicht gefunden!"));
    const int accountId = a->getId();
    const bool bankAccount = a->getAccountType() == BankAccount;
    const double newBalance = roundCents(a->getBalance() + roundCents(e->getAmount()));

    DbTransaction tx;
    if (!deleteExpense(e))
        return failPosting(err, errTitle, deleteTitle, e->getLastError());
    if (!updateAccountBalance(accountId, newBalance, err))
        return failPosting(err, errTitle, tr("DB-Update für Konto fehlgeschlagen!"), err);
    if (bankAccount && accountId > 0) {
        AccountEntry movements;
        movements.setExpenseId(expenseId);
        if (!deleteExpenseMovements(&movements))
            return failPosting(err, errTitle, tr("DB-Delete für KontoTxn fehlgeschlagen!"), movements.getLastError());
    }
    if (!tx.commit(err))
        return failPosting(err, errTitle, tr("DB-Transaktion fehlgeschlagen!"), err);
    return true;
}
