#include "masterdatawriter.h"

#include "account.h"
#include "datachanges.h"
#include "dataprovider.h"
#include "dbtransaction.h"
#include "paymentinstruction.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

using Bindings = QList<QPair<QString, QVariant>>;

// Widths of the text columns: VARCHAR(40) and VARCHAR(30).
const int NameWidth = 38;
const int NumberWidth = 28;

QString cutName(const QString &text)
{
    return DataProvider::truncated(text, NameWidth);
}

QString cutNumber(const QString &text)
{
    return DataProvider::truncated(text, NumberWidth);
}

// Runs one statement on the default connection with its values bound.
bool run(const QString &sql, const Bindings &bindings, QString &err)
{
    QSqlQuery query;
    if (!query.prepare(sql)) {
        err = query.lastError().text();
        return false;
    }
    for (const auto &binding : bindings)
        query.bindValue(binding.first, binding.second);
    if (!query.exec()) {
        err = query.lastError().text();
        return false;
    }
    return true;
}

// A write that went through is announced, so that the views showing the
// area redraw.
bool announced(bool ok, DataArea area)
{
    if (ok)
        DataChanges::announce(area);
    return ok;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("MasterDataWriter", text);
}

} // namespace

// ---- Bank accounts ----------------------------------------------------------

bool MasterDataWriter::createBankAccount(Account *account, QString &err)
{
    DataProvider *data = DataProvider::instance();
    DbTransaction transaction;
    if (!data->insertAccount(account)) {
        err = account->getLastError();
        return false;
    }

    // The instrument that bookings use for this account.
    PaymentInstruction own;
    own.setName(account->getName());
    own.setAccountId(account->getId());
    own.setAccountLink(true);
    own.setBankAccount(true);
    own.setInstrumentType(InstrumentType::Account);
    own.setCardNumber(account->getAccountNumber());
    own.setDescription(QStringLiteral("Bank-Account"));
    if (!data->insertPaymentInstrument(&own)) {
        err = own.getLastError();
        account->setLastError(err);
        account->setId(0);
        return false;
    }
    if (!transaction.commit(err)) {
        account->setLastError(err);
        account->setId(0);
        return false;
    }
    return announced(true, DataArea::PaymentInstruments);
}

PaymentInstruction *MasterDataWriter::ownInstrumentOf(int accountId)
{
    QList<PaymentInstruction *> instruments;
    DataProvider::instance()->getPaymentInstruments(instruments);
    for (PaymentInstruction *instrument : instruments) {
        if (instrument->getAccountId() == accountId
            && instrument->getInstrumentType() == InstrumentType::Account)
            return instrument;
    }
    return nullptr;
}

bool MasterDataWriter::updateBankAccount(int accountId, const QString &name, const QString &number,
                                         bool withAmount, double amount, QString &err,
                                         bool *instrumentFailed)
{
    if (instrumentFailed)
        *instrumentFailed = false;
    DataProvider *data = DataProvider::instance();
    DbTransaction transaction;

    bool ok;
    if (withAmount) {
        ok = run(QStringLiteral("UPDATE konten SET konto_nummer = :kn, name = :nam, "
                                "initial_betrag = :ibet, betrag = :bet WHERE id = %1").arg(accountId),
                 { { QStringLiteral(":kn"), cutNumber(number) },
                   { QStringLiteral(":nam"), cutName(name) },
                   { QStringLiteral(":ibet"), DataProvider::roundCents(amount) },
                   { QStringLiteral(":bet"), DataProvider::roundCents(amount) } },
                 err);
    } else {
        ok = run(QStringLiteral("UPDATE konten SET konto_nummer = :kn, name = :nam WHERE id = %1")
                     .arg(accountId),
                 { { QStringLiteral(":kn"), cutNumber(number) },
                   { QStringLiteral(":nam"), cutName(name) } },
                 err);
    }
    if (!ok)
        return false;

    // The account's own instrument carries the account's name.
    PaymentInstruction *own = ownInstrumentOf(accountId);
    const bool rename = own && own->getName() != cutName(name);
    if (rename) {
        if (!run(QStringLiteral("UPDATE zahlungsmittel SET name = :nam WHERE id = %1").arg(own->getId()),
                 { { QStringLiteral(":nam"), cutName(name) } }, err)) {
            if (instrumentFailed)
                *instrumentFailed = true;
            return false;
        }
    }
    if (!transaction.commit(err))
        return false;
    if (rename)
        data->loadPaymentInstruments();
    data->loadAccounts();
    return announced(true, DataArea::PaymentInstruments);
}

bool MasterDataWriter::setAccountState(int accountId, int state, QString &err)
{
    if (!run(QStringLiteral("UPDATE konten SET stat = :status WHERE id = %1").arg(accountId),
             { { QStringLiteral(":status"), state } }, err))
        return false;
    DataProvider::instance()->loadAccounts();
    return announced(true, DataArea::PaymentInstruments);
}

bool MasterDataWriter::deleteBankAccount(Account *account, PaymentInstruction *own, QString &err)
{
    DataProvider *data = DataProvider::instance();
    DbTransaction transaction;
    if (own && !data->deletePaymentInstrument(own)) {
        err = own->getLastError();
        return false;
    }
    if (!data->deleteAccount(account)) {
        err = account->getLastError();
        return false;
    }
    return announced(transaction.commit(err), DataArea::PaymentInstruments);
}

// ---- Payment instruments ----------------------------------------------------

bool MasterDataWriter::createPaymentInstrument(PaymentInstruction *instrument, Account *ownAccount,
                                               QString &err)
{
    DataProvider *data = DataProvider::instance();
    DbTransaction transaction;
    if (ownAccount) {
        if (!data->insertAccount(ownAccount)) {
            err = ownAccount->getLastError();
            return false;
        }
        instrument->setAccountId(ownAccount->getId());
    }
    if (!data->insertPaymentInstrument(instrument)) {
        err = instrument->getLastError();
        return false;
    }
    if (!transaction.commit(err)) {
        instrument->setId(0);
        if (ownAccount)
            ownAccount->setId(0);
        return false;
    }
    return announced(true, DataArea::PaymentInstruments);
}

bool MasterDataWriter::updatePaymentInstrument(int instrumentId, const QString &name,
                                               const QString &number, QString &err)
{
    if (!run(QStringLiteral("UPDATE zahlungsmittel SET karten_nummer = :kn, name = :nam WHERE id = %1")
                 .arg(instrumentId),
             { { QStringLiteral(":kn"), cutNumber(number) },
               { QStringLiteral(":nam"), cutName(name) } },
             err))
        return false;
    DataProvider::instance()->loadPaymentInstruments();
    return announced(true, DataArea::PaymentInstruments);
}

bool MasterDataWriter::deletePaymentInstrument(PaymentInstruction *instrument, Account *account,
                                               QString &err)
{
    DataProvider *data = DataProvider::instance();
    DbTransaction transaction;
    if (!data->deletePaymentInstrument(instrument)) {
        err = instrument->getLastError();
        return false;
    }
    // A bank account stays; the own account of cash, voucher or prepaid
    // card goes with its instrument.
    if (account && account->getAccountType() != AccountType::Bank
        && !data->deleteAccount(account)) {
        err = account->getLastError();
        return false;
    }
    return announced(transaction.commit(err), DataArea::PaymentInstruments);
}

// ---- Expense types and sub-types -------------------------------------------

bool MasterDataWriter::insertExpenseType(const QString &name, double budget, QString &err)
{
    if (!run(QStringLiteral("INSERT INTO ausgaben_typen (name,budget) VALUES (:nam,:budg) "),
             { { QStringLiteral(":nam"), cutName(name) },
               { QStringLiteral(":budg"), DataProvider::roundCents(budget) } },
             err))
        return false;
    DataProvider::instance()->loadExpenseTypes();
    return announced(true, DataArea::ExpenseTypes);
}

bool MasterDataWriter::updateExpenseType(int typeId, const QString &name, double budget, QString &err)
{
    if (!run(QStringLiteral("UPDATE ausgaben_typen SET name = :nam,budget = :bud WHERE id = %1").arg(typeId),
             { { QStringLiteral(":nam"), cutName(name) },
               { QStringLiteral(":bud"), DataProvider::roundCents(budget) } },
             err))
        return false;
    DataProvider::instance()->loadExpenseTypes();
    return announced(true, DataArea::ExpenseTypes);
}

bool MasterDataWriter::deleteExpenseType(int typeId, QString &err)
{
    if (!run(QStringLiteral("DELETE FROM ausgaben_typen WHERE id = %1").arg(typeId), {}, err))
        return false;
    DataProvider::instance()->loadExpenseTypes();
    return announced(true, DataArea::ExpenseTypes);
}

bool MasterDataWriter::insertExpenseSubType(int typeId, const QString &name, QString &err)
{
    if (!run(QStringLiteral("INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (:astid,:nam) "),
             { { QStringLiteral(":astid"), typeId }, { QStringLiteral(":nam"), cutName(name) } }, err))
        return false;
    DataProvider::instance()->loadExpenseSubTypes();
    return announced(true, DataArea::ExpenseSubTypes);
}

bool MasterDataWriter::updateExpenseSubType(int subTypeId, const QString &name, QString &err)
{
    if (!run(QStringLiteral("UPDATE ausgaben_sub_typen SET name = :nam WHERE id = %1").arg(subTypeId),
             { { QStringLiteral(":nam"), cutName(name) } }, err))
        return false;
    DataProvider::instance()->loadExpenseSubTypes();
    return announced(true, DataArea::ExpenseSubTypes);
}

bool MasterDataWriter::deleteExpenseSubType(int subTypeId, QString &err)
{
    if (!run(QStringLiteral("DELETE FROM ausgaben_sub_typen WHERE id = %1").arg(subTypeId), {}, err))
        return false;
    DataProvider::instance()->loadExpenseSubTypes();
    return announced(true, DataArea::ExpenseSubTypes);
}

double MasterDataWriter::remainingShare(int expenseId, double amount)
{
    const qint64 cents = DataProvider::toCents(amount)
        - DataProvider::toCents(DataProvider::instance()->getExpenseDetailSum(expenseId));
    return cents > 0 ? cents / 100.0 : 0.0;
}

bool MasterDataWriter::addExpenseShare(int expenseId, int subTypeId, double share, double amount,
                                       QString &err)
{
    if (subTypeId <= 0) {
        err = tr("Bitte zuerst einen Unterbereich auswählen.");
        return false;
    }
    const double remaining = remainingShare(expenseId, amount);
    if (DataProvider::toCents(share) <= 0
        || DataProvider::toCents(share) > DataProvider::toCents(remaining)) {
        err = tr("Der Betragsanteil muss grösser als 0 und darf nicht grösser als der "
                 "verbleibende Betrag (%1) sein.")
                  .arg(QString::number(remaining, 'f', 2));
        return false;
    }
    return announced(DataProvider::instance()->insertExpenseDetail(expenseId, subTypeId, share, err),
                     DataArea::Bookings);
}

// ---- Recipients and income sources -------------------------------------------

bool MasterDataWriter::insertRecipient(const QString &name, QString &err)
{
    if (!run(QStringLiteral("INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,"
                            "beschreibung,name) VALUES (:atid,:bk,:bb,:beschr,:nam) "),
             { { QStringLiteral(":atid"), 1 },
               { QStringLiteral(":bk"), 0.0 },
               { QStringLiteral(":bb"), 0.0 },
               { QStringLiteral(":beschr"), QStringLiteral("<Beschreibung>") },
               { QStringLiteral(":nam"), cutName(name) } },
             err))
        return false;
    DataProvider::instance()->reloadRecipients();
    return announced(true, DataArea::Recipients);
}

bool MasterDataWriter::updateRecipient(int recipientId, const QString &name, QString &err)
{
    if (!run(QStringLiteral("UPDATE beguenstigte SET name = :nam WHERE id = %1").arg(recipientId),
             { { QStringLiteral(":nam"), cutName(name) } }, err))
        return false;
    DataProvider::instance()->reloadRecipients();
    return announced(true, DataArea::Recipients);
}

bool MasterDataWriter::insertIncomeSource(const QString &name, double volume, QString &err)
{
    if (!run(QStringLiteral("INSERT INTO einnahme_quelle (betrags_volumen,name,mwst) "
                            "VALUES (:betvol,:nam,:mwtax) "),
             { { QStringLiteral(":betvol"), DataProvider::roundCents(volume) },
               { QStringLiteral(":nam"), cutName(name) },
               { QStringLiteral(":mwtax"), 0.0 } },
             err))
        return false;
    DataProvider::instance()->reloadIncomeSources();
    return announced(true, DataArea::IncomeSources);
}

bool MasterDataWriter::updateIncomeSource(int sourceId, const QString &name, double volume,
                                          QString &err)
{
    if (!run(QStringLiteral("UPDATE einnahme_quelle SET name = :nam,betrags_volumen = :betvol "
                            "WHERE id = %1").arg(sourceId),
             { { QStringLiteral(":nam"), cutName(name) },
               { QStringLiteral(":betvol"), DataProvider::roundCents(volume) } },
             err))
        return false;
    DataProvider::instance()->reloadIncomeSources();
    return announced(true, DataArea::IncomeSources);
}
