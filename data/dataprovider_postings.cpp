#include "dataprovider.h"

#include "account.h"
#include "accountentry.h"
#include "datachanges.h"
#include "dbtransaction.h"
#include "expenseentry.h"
#include "paymentinstruction.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <memory>

// Every posting that went through ends here: the views showing bookings
// and balances learn of it.
static PostingResult booked()
{
    DataChanges::announce(DataArea::Bookings);
    return PostingResult::booked();
}

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

PostingResult DataProvider::writeFailed(const QString &title, const QString &text)
{
    return PostingResult::refused(PostingResult::WriteFailed, title, text);
}

// A zero or negative amount would book the wrong way round.
PostingResult DataProvider::invalidAmount()
{
    return PostingResult::refused(PostingResult::InvalidAmount, tr("Betrag ungültig!"),
                                  tr("Der Betrag muss grösser als 0.00 sein!"));
}

static PostingResult missingInstrumentAccount()
{
    return PostingResult::refused(PostingResult::MissingAccount,
                                  DataProvider::tr("Zahlungsmittel fehlt"),
                                  DataProvider::tr("Zum gewählten Zahlungsmittel wurde kein Konto gefunden!"));
}

static PostingResult notAvailable()
{
    return PostingResult::refused(PostingResult::NotAvailable, DataProvider::tr("Betrags-Überschreitung"),
                                  DataProvider::tr("Betrag nicht verfügbar!"));
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

PostingResult DataProvider::postExpense(ExpenseEntry *e, int subTypeId, bool split)
{
    const QString dbTitle = tr("DB-Transaktion fehlgeschlagen!");
    const PaymentInstruction *p = getPaymentInstrument(e->getPaymentInstrumentId(), true);
    const Account *a = p ? getAccount(p->getAccountId()) : nullptr;
    if (!p || !a)
        return missingInstrumentAccount();
    // Stored and posted as the same whole cents.
    const double amount = roundCents(e->getAmount());
    e->setAmount(amount);
    if (toCents(amount) <= 0)
        return invalidAmount();
    if (!isAvailable(a->getBalance(), amount))
        return notAvailable();

    const int accountId = a->getId();
    const double newBalance = roundCents(a->getBalance() - amount);
    const bool linked = p->hasAccountLink();
    const int piId = p->getId();

    DbTransaction tx;
    QString err;
    int newId = 0;
    if (!insertExpense(e, newId, subTypeId, !split, err) || !updateAccountBalance(accountId, newBalance, err))
        return writeFailed(dbTitle, err);
    if (linked) {
        const QString remark = e->getExpenseTypeName() + QStringLiteral(": ") + e->getRemark();
        if (!insertAccountMovement(accountId, getFirstAccountIdOfType(), amount, OpFlag::MoneyOut, remark, e->getDate(),
                                   MovementType::Expense, MovementState::Booked, newId, err, QString(), 0, piId))
            return writeFailed(dbTitle, err);
    }
    if (!tx.commit(err))
        return writeFailed(dbTitle, err);
    e->setId(newId);
    return booked();
}

// ---- Deposit ----------------------------------------------------------------

PostingResult DataProvider::postDeposit(int accountId, double amount, const QString &remark, const QDate &date,
                                        int incomeSourceId)
{
    const Account *a = getAccount(accountId);
    if (!a)
        return PostingResult::refused(PostingResult::MissingAccount, tr("Konto fehlt"),
                                      tr("Das Konto für die Einzahlung wurde nicht gefunden!"));
    amount = roundCents(amount);
    if (toCents(amount) <= 0)
        return invalidAmount();
    const double newBalance = roundCents(a->getBalance() + amount);

    DbTransaction tx;
    QString err;
    if (!insertAccountMovement(accountId, getFirstAccountIdOfType(), amount, OpFlag::MoneyIn, remark, date, MovementType::Income,
                               MovementState::Booked, 0, err, QString(), incomeSourceId, 0)
        || !updateAccountBalance(accountId, newBalance, err) || !tx.commit(err))
        return writeFailed(tr("DB-Transaktion fehlgeschlagen!"), err);
    return booked();
}

// ---- Internal transfer ------------------------------------------------------

PostingResult DataProvider::postTransfer(int fromInstrumentId, int toInstrumentId, double amount,
                                         const QString &remarkFrom, const QString &remarkTo, const QDate &date)
{
    const PaymentInstruction *from = getPaymentInstrument(fromInstrumentId, true);
    const PaymentInstruction *to = getPaymentInstrument(toInstrumentId, true);
    const Account *source = from ? getAccount(from->getAccountId()) : nullptr;
    const Account *target = to ? getAccount(to->getAccountId()) : nullptr;
    if (!source || !target)
        return missingInstrumentAccount();
    // Both sides would book on one balance; the money would not move.
    if (source->getId() == target->getId())
        return PostingResult::refused(PostingResult::SameAccount, tr("Interne Transaktion nicht möglich"),
                                      tr("Quelle und Ziel gehören zum selben Konto!"));
    // Both rows and both balances move by the same whole cents.
    amount = roundCents(amount);
    if (toCents(amount) <= 0)
        return invalidAmount();
    if (!isAvailable(source->getBalance(), amount))
        return notAvailable();

    const int sourceId = source->getId();
    const int targetId = target->getId();
    const double sourceBalance = roundCents(source->getBalance() - amount);
    const double targetBalance = roundCents(target->getBalance() + amount);

    DbTransaction tx;
    QString err;
    const QString txId = unusedTxId();
    if (!insertAccountMovement(sourceId, targetId, amount, OpFlag::MoneyOut, remarkFrom, date, MovementType::Transfer,
                               MovementState::Booked, 0, err, txId, 0, 0)
        || !updateAccountBalance(sourceId, sourceBalance, err)
        || !insertAccountMovement(targetId, sourceId, amount, OpFlag::MoneyIn, remarkTo, date, MovementType::Transfer,
                                  MovementState::Booked, 0, err, txId, 0, 0)
        || !updateAccountBalance(targetId, targetBalance, err) || !tx.commit(err))
        return writeFailed(tr("DB-Transaktion fehlgeschlagen!"), err);
    return booked();
}

// ---- Reversals --------------------------------------------------------------

PostingResult DataProvider::reverseMovement(int movementId)
{
    AccountEntry movement(movementId);
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = %1 ").arg(movementId))
        || !query.next())
        return PostingResult::refused(PostingResult::NotFound, tr("Info"),
                                      tr("Der Eintrag konnte nicht gefunden werden!"));
    movement.readFields(query.record());
    query.finish();

    DbTransaction tx;
    QString err;
    bool written = deleteAccountMovement(movementId, err);
    if (const Account *a = getAccount(movement.getFromAccount()); written && a) {
        const double amount = roundCents(movement.getAmount());
        const double newBalance = movement.getOpFlag() == OpFlag::MoneyIn ? roundCents(a->getBalance() - amount)
                                                                  : roundCents(a->getBalance() + amount);
        written = updateAccountBalance(a->getId(), newBalance, err);
    }
    if (!written || !tx.commit(err))
        return writeFailed(tr("DB-Transaktion fehlgeschlagen!"), err);
    return booked();
}

PostingResult DataProvider::reverseTransfer(const QString &txId)
{
    QList<AccountEntry *> pair;
    // Expenses and deposits carry the empty key; they never form a pair.
    if (!txId.isEmpty())
        getAccountMovements(txId, pair);
    if (pair.size() != 2)
        return PostingResult::refused(PostingResult::NotAPair, tr("Fehler -> es ist kein Txn-Paar!"),
                                      QStringLiteral("?"));

    struct Side { int accountId; double amount; int opFlag; };
    const Side sides[2] = {
        {pair.at(0)->getFromAccount(), roundCents(pair.at(0)->getAmount()), pair.at(0)->getOpFlag()},
        {pair.at(1)->getFromAccount(), roundCents(pair.at(1)->getAmount()), pair.at(1)->getOpFlag()},
    };

    DbTransaction tx;
    QString err;
    for (const Side &side : sides) {
        const Account *a = getAccount(side.accountId);
        if (!a)
            continue;
        const double newBalance = side.opFlag == OpFlag::MoneyIn ? roundCents(a->getBalance() - side.amount)
                                                         : roundCents(a->getBalance() + side.amount);
        if (!updateAccountBalance(side.accountId, newBalance, err))
            return writeFailed(tr("DB-Update-Konto fehlgeschlagen!"), err);
    }
    if (!deleteAccountMovements(txId, err) || !tx.commit(err))
        return writeFailed(tr("DB-Transaktion fehlgeschlagen!"), err);
    return booked();
}

PostingResult DataProvider::reverseExpense(int expenseId)
{
    const QString deleteTitle = tr("Fehler beim löschen einer Ausgabe: ");
    const std::unique_ptr<ExpenseEntry> e = getExpense(expenseId);
    if (!e)
        return PostingResult::refused(PostingResult::NotFound, deleteTitle,
                                      tr("Der Ausgaben-Eintrag konnte nicht gefunden!"));

    // The stored id is reliable; the stored name only counts when the
    // instrument of that id is gone (instruments can be renamed).
    const PaymentInstruction *p = getPaymentInstrument(e->getPaymentInstrumentId(), true);
    if (!p)
        p = getPaymentInstrument(e->getPaymentInstrumentName());
    const Account *a = p ? getAccount(p->getAccountId()) : nullptr;
    if (!a)
        return PostingResult::refused(PostingResult::NotFound, deleteTitle,
                                      tr("Das Zahlungsmittel oder Konto der Ausgabe wurde nicht gefunden!"));
    const int accountId = a->getId();
    const bool bankAccount = a->getAccountType() == AccountType::Bank;
    const double newBalance = roundCents(a->getBalance() + roundCents(e->getAmount()));

    DbTransaction tx;
    QString err;
    if (!deleteExpense(e.get(), err))
        return writeFailed(deleteTitle, err);
    if (!updateAccountBalance(accountId, newBalance, err))
        return writeFailed(tr("DB-Update für Konto fehlgeschlagen!"), err);
    if (bankAccount && accountId > 0 && !deleteExpenseMovements(expenseId, err))
        return writeFailed(tr("DB-Delete für KontoTxn fehlgeschlagen!"), err);
    if (!tx.commit(err))
        return writeFailed(tr("DB-Transaktion fehlgeschlagen!"), err);
    return booked();
}
