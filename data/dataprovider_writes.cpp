#include "dataprovider.h"

#include "account.h"
#include "accountentry.h"
#include "datachanges.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "paymentinstruction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTextBoundaryFinder>
#include <QVariant>

// Column widths: VARCHAR(30), VARCHAR(40) and VARCHAR(80) keep 28, 38 and
// 78 characters.
namespace {
constexpr int Width30 = 28;
constexpr int Width40 = 38;
constexpr int Width80 = 78;

// Texts go in cut to their column and never as NULL: an empty field of a
// dialog must not trip the NOT NULL columns.
void bindText(QSqlQuery &query, const QString &placeholder, const QString &text, int width)
{
    const QString cut = DataProvider::truncated(text, width);
    query.bindValue(placeholder, cut.isNull() ? QStringLiteral("") : cut);
}
}

QString DataProvider::truncated(const QString &text, int width)
{
    if (text.size() <= width)
        return text;
    if (width <= 0)
        return text.left(0);
    // Cut where a character ends: never between the halves of a surrogate
    // pair (an emoji), nor between a letter and its combining marks.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    characters.setPosition(width);
    if (!characters.isAtBoundary())
        characters.toPreviousBoundary();
    int cut = characters.position();
    if (cut < 0 || cut > width)
        cut = width;
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

QString DataProvider::makeTxId(const QDate &date, const QTime &time)
{
    return QString::number(date.year()) + QString::number(date.month()) + QString::number(date.day())
         + QString::number(time.hour()) + QString::number(time.minute()) + QString::number(time.second())
         + QString::number(time.msec());
}

// ---- Accounts ---------------------------------------------------------------

bool DataProvider::insertAccount(Account *acc)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO konten (konto_typ,stat,konto_nummer,konto_beschreibung,initial_betrag,"
                                 "betrag,name,startdate) VALUES (:kt,:stat,:kn,:kb,:ibet,:bet,:nam,:sdate) "));
    query.bindValue(QStringLiteral(":kt"), acc->getAccountType());
    query.bindValue(QStringLiteral(":stat"), acc->getState());
    bindText(query, QStringLiteral(":kn"), acc->getAccountNumber(), Width30);
    bindText(query, QStringLiteral(":kb"), acc->getDescription(), Width80);
    query.bindValue(QStringLiteral(":ibet"), roundCents(acc->getOpeningAmount()));
    query.bindValue(QStringLiteral(":bet"), roundCents(acc->getBalance()));
    bindText(query, QStringLiteral(":nam"), acc->getName(), Width40);
    query.bindValue(QStringLiteral(":sdate"), QDate::currentDate());
    QString err;
    if (!runPrepared(query, err)) {
        acc->setLastError(err);
        return false;
    }
    acc->setId(query.lastInsertId().toInt());
    loadAccounts();
    return true;
}

bool DataProvider::deleteAccount(Account *acc)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM konten WHERE id = %1").arg(acc->getId()))) {
        acc->setLastError(query.lastError().text());
        return false;
    }
    loadAccounts();
    return true;
}

bool DataProvider::updateAccountBalance(int id, double amount, QString &err)
{
    amount = roundCents(amount);
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE konten SET betrag = :bet WHERE id = %1").arg(id));
    query.bindValue(QStringLiteral(":bet"), amount);
    if (!runPrepared(query, err))
        return false;
    if (Account *a = getAccount(id))
        a->setBalance(amount);
    return true;
}

bool DataProvider::updateAccountInitialAmount(int id, double amount, QString &err)
{
    amount = roundCents(amount);
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE konten SET initial_betrag = :ibet WHERE id = %1").arg(id));
    query.bindValue(QStringLiteral(":ibet"), amount);
    if (!runPrepared(query, err))
        return false;
    if (Account *a = getAccount(id))
        a->setOpeningAmount(amount);
    return true;
}

// ---- Payment instruments ----------------------------------------------------

bool DataProvider::insertPaymentInstrument(PaymentInstruction *pi)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,"
                                 "karten_nummer,beschreibung,name) VALUES (:zmt,:kid,:kvb,:kn,:beschr,:nam) "));
    query.bindValue(QStringLiteral(":zmt"), pi->getInstrumentType());
    query.bindValue(QStringLiteral(":kid"), pi->getAccountId());
    // The link is stored from the bank-account flag the dialogs set.
    query.bindValue(QStringLiteral(":kvb"), pi->isBankAccount());
    bindText(query, QStringLiteral(":kn"), pi->getCardNumber(), Width30);
    bindText(query, QStringLiteral(":beschr"), pi->getDescription(), Width80);
    bindText(query, QStringLiteral(":nam"), pi->getName(), Width40);
    QString err;
    if (!runPrepared(query, err)) {
        pi->setLastError(err);
        return false;
    }
    pi->setId(query.lastInsertId().toInt());
    loadPaymentInstruments();
    return true;
}

bool DataProvider::deletePaymentInstrument(PaymentInstruction *pi)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM zahlungsmittel WHERE id = %1").arg(pi->getId()))) {
        pi->setLastError(query.lastError().text());
        return false;
    }
    loadPaymentInstruments();
    return true;
}

// ---- Expenses ---------------------------------------------------------------

bool DataProvider::insertExpense(ExpenseEntry *e, int &newId, int subTypeId, bool withDetail, QString &err)
{
    // The row, its detail and the posting's balance change are one amount.
    e->setAmount(roundCents(e->getAmount()));
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO ausgaben (ausgaben_typ,ausgaben_typ_id,betrag,beguenstigter,"
                                 "beguenstigter_id,zahlungsmittel,zahlungsmittel_id,bemerkung,startdate) "
                                 "VALUES (:agt,:agtid,:bet,:beg,:begid,:zmi,:zmiid,:bem,:sdate) "));
    bindText(query, QStringLiteral(":agt"), e->getExpenseTypeName(), Width80);
    query.bindValue(QStringLiteral(":agtid"), e->getExpenseTypeId());
    query.bindValue(QStringLiteral(":bet"), e->getAmount());
    bindText(query, QStringLiteral(":beg"), e->getRecipientName(), Width80);
    query.bindValue(QStringLiteral(":begid"), e->getRecipientId());
    bindText(query, QStringLiteral(":zmi"), e->getPaymentInstrumentName(), Width80);
    query.bindValue(QStringLiteral(":zmiid"), e->getPaymentInstrumentId());
    bindText(query, QStringLiteral(":bem"), e->getRemark(), Width80);
    query.bindValue(QStringLiteral(":sdate"), e->getDate());
    if (!runPrepared(query, err))
        return false;
    newId = query.lastInsertId().toInt();
    addExpenseToCache(newId);
    if (!withDetail)
        return true;
    return insertExpenseDetail(newId, subTypeId, e->getAmount(), err);
}

bool DataProvider::insertExpenseDetail(int expenseId, int subTypeId, double amount, QString &err)
{
    // A detail row of a deleted expense would be counted by no booking.
    if (!countIsPositive(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE id = %1").arg(expenseId))) {
        err = tr("Die Ausgabe ist nicht mehr vorhanden.");
        return false;
    }
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                                 "VALUES (:agid,:agst,:bet,:bem) "));
    query.bindValue(QStringLiteral(":agid"), expenseId);
    query.bindValue(QStringLiteral(":agst"), subTypeId);
    query.bindValue(QStringLiteral(":bet"), roundCents(amount));
    query.bindValue(QStringLiteral(":bem"), QStringLiteral("no remark!"));
    if (!runPrepared(query, err))
        return false;
    addDetailToCache(query.lastInsertId().toInt());
    return true;
}

bool DataProvider::deleteExpense(ExpenseEntry *e, QString &err)
{
    const int id = e->getId();
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM ausgaben_detail WHERE ausgaben_id = %1").arg(id))) {
        err = query.lastError().text();
        return false;
    }
    removeDetailsOfExpense(id);
    if (!query.exec(QStringLiteral("DELETE FROM ausgaben WHERE id = %1").arg(id))) {
        err = query.lastError().text();
        return false;
    }
    removeExpenseFromCache(id, e->getDate());
    return true;
}

// ---- Movements --------------------------------------------------------------

bool DataProvider::insertAccountMovement(int kidv, int kidn, double amount, int opFlag, const QString &remark,
                                         const QDate &date, int txTyp, int stat, int expenseId, QString &err,
                                         const QString &txId, int incomeSourceId, int piId)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,tx_typ, "
                                 "stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,einnahme_quelle_id) "
                                 "VALUES (:sdate,:bet,:kidv,:kidn,:txtype,:stat,:opf,:bem,:zmid,:expid,:txid,:isid) "));
    query.bindValue(QStringLiteral(":sdate"), date);
    query.bindValue(QStringLiteral(":bet"), roundCents(amount));
    query.bindValue(QStringLiteral(":kidv"), kidv);
    query.bindValue(QStringLiteral(":kidn"), kidn);
    query.bindValue(QStringLiteral(":txtype"), txTyp);
    query.bindValue(QStringLiteral(":stat"), stat);
    query.bindValue(QStringLiteral(":opf"), opFlag);
    bindText(query, QStringLiteral(":bem"), remark, Width80);
    query.bindValue(QStringLiteral(":zmid"), piId);
    query.bindValue(QStringLiteral(":expid"), expenseId);
    // An empty key is stored as empty text, never as NULL.
    query.bindValue(QStringLiteral(":txid"), txId.isNull() ? QStringLiteral("") : txId);
    query.bindValue(QStringLiteral(":isid"), incomeSourceId);
    if (!runPrepared(query, err))
        return false;
    addMovementToCache(query.lastInsertId().toInt());
    return true;
}

bool DataProvider::deleteAccountMovement(int id, QString &err)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM konto_bewegungen WHERE id = %1").arg(id))) {
        err = query.lastError().text();
        return false;
    }
    removeMovementsFromCache({id});
    return true;
}

bool DataProvider::deleteAccountMovements(const QString &txId, QString &err)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("DELETE FROM konto_bewegungen WHERE tx_id = :txid"));
    query.bindValue(QStringLiteral(":txid"), txId.isNull() ? QStringLiteral("") : txId);
    if (!runPrepared(query, err))
        return false;
    if (query.numRowsAffected() == 0)
        return true;
    QList<int> ids;
    for (AccountEntry *m : std::as_const(m_movements))
        if (m->getTxId() == txId)
            ids.append(m->getId());
    removeMovementsFromCache(ids);
    return true;
}

bool DataProvider::deleteExpenseMovements(int expenseId, QString &err)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM konto_bewegungen WHERE ausgabe_id = %1").arg(expenseId))) {
        err = query.lastError().text();
        return false;
    }
    if (query.numRowsAffected() == 0)
        return true;
    QList<int> ids;
    for (AccountEntry *cached : std::as_const(m_movements))
        if (cached->getExpenseId() == expenseId)
            ids.append(cached->getId());
    removeMovementsFromCache(ids);
    return true;
}

// ---- Income sources and recipients ------------------------------------------

bool DataProvider::deleteIncomeSource(int id, QString &err)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM einnahme_quelle WHERE id = %1").arg(id))) {
        err = query.lastError().text();
        return false;
    }
    loadIncomeSources();
    DataChanges::announce(DataArea::IncomeSources);
    return true;
}

bool DataProvider::deleteRecipient(int id, QString &err)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("DELETE FROM beguenstigte WHERE id = %1").arg(id))) {
        err = query.lastError().text();
        return false;
    }
    loadRecipients();
    DataChanges::announce(DataArea::Recipients);
    return true;
}
