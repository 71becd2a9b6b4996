#include "dataprovider.h"

#include "dbtransaction.h"

#include "account.h"
#include "accountentry.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"
#include "recordreader.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <memory>
#include <utility>

DataProvider *DataProvider::s_instance = nullptr;
bool DataProvider::s_readFailed = false;

namespace {

template <typename T>
void deleteAll(QList<T *> &list)
{
    qDeleteAll(list);
    list.clear();
}

// A cached list sorted by date, newest first, with ties in id order (the
// order of "ORDER BY startdate DESC"): a new row (highest id) goes after
// every row of its date and before the older ones.
template <typename T>
void insertNewestFirst(QList<T *> &list, T *record)
{
    const QDate date = record->getDate();
    auto pos = std::partition_point(list.begin(), list.end(),
                                    [&date](const T *r) { return !(r->getDate() < date); });
    list.insert(pos, record);
}

} // namespace

// ---- Instance -------------------------------------------------------------

DataProvider *DataProvider::instance()
{
    if (!s_instance)
        s_instance = new DataProvider;
    return s_instance;
}

void DataProvider::reloadIfStale()
{
    if (s_instance && s_instance->m_stale && DbTransaction::depth() == 0)
        s_instance->resyncCaches();
}

void DataProvider::release()
{
    delete s_instance;
    s_instance = nullptr;
}

void DataProvider::reloadAfterRollback()
{
    if (s_instance)
        s_instance->resyncCaches();
}

DataProvider::DataProvider()
{
    s_readFailed = false;
    loadAccounts();
    loadAccountMovements();
    loadExpenses();
    loadExpenseDetails();
    loadExpenseTypes();
    loadPaymentInstruments();
    loadIncomeSources();
    loadRecipients();
    m_stale = s_readFailed;
}

DataProvider::~DataProvider()
{
    deleteAll(m_accounts);
    deleteAll(m_movements);
    deleteAll(m_recipients);
    deleteAll(m_expenses);
    deleteAll(m_expenseTypes);
    deleteAll(m_incomeSources);
    deleteAll(m_details);
    deleteAll(m_instruments);
    deleteAll(m_retired);
}

// ---- Query helpers ----------------------------------------------------------

bool DataProvider::runQuery(QSqlQuery &query, const QString &sql)
{
    query.setForwardOnly(true);
    const bool ok = query.exec(sql);
    if (!ok)
        s_readFailed = true;
    return ok;
}

bool DataProvider::runPrepared(QSqlQuery &query, QString &err)
{
    if (query.exec())
        return true;
    err = query.lastError().text();
    return false;
}

void DataProvider::readRows(QSqlQuery &query, QList<QSqlRecord> &rows)
{
    while (query.next())
        rows.append(query.record());
}

bool DataProvider::countIsPositive(const QString &sql)
{
    QSqlQuery query;
    if (!runQuery(query, sql) || !query.next())
        return false;
    return query.value(0).toInt() > 0;
}

int DataProvider::firstIdOf(QSqlQuery &query)
{
    if (!query.next())
        return 0;
    return query.value(QStringLiteral("id")).toInt();
}

// Table names cannot be bound; only plain identifiers are let through.
bool DataProvider::isTableName(const QString &table)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(table).hasMatch();
}

// ---- Loading ----------------------------------------------------------------

void DataProvider::clearRawRows()
{
    m_rows.clear();
    m_pendingRowsSql.clear();
}

const QList<QSqlRecord> &DataProvider::rawRows() const
{
    if (!m_pendingRowsSql.isEmpty()) {
        const QString sql = std::exchange(m_pendingRowsSql, QString());
        QSqlQuery query;
        if (runQuery(query, sql))
            readRows(query, m_rows);
    }
    return m_rows;
}

// Accounts and instruments keep their objects across reloads (matched by
// id), because dialogs hold them while they post. Objects whose row is gone
// are retired, not deleted.
void DataProvider::loadAccounts()
{
    clearRawRows();
    QHash<int, Account *> previous;
    for (Account *a : std::as_const(m_accounts))
        previous.insert(a->getId(), a);
    m_accounts.clear();

    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM %1 ORDER BY name ").arg(QStringLiteral("konten")))) {
        const RecordReader row = Account::reader(query);
        while (query.next()) {
            Account *account = previous.take(row.toInt(FinanceBase::IdColumn));
            if (account) {
                account->readBaseFields(row);
                account->readFields(row);
                account->setLinkedCount(0);
                account->setIncomingSum(0.0);
                account->setOutgoingSum(0.0);
                account->setLastError(QString());
                account->setTotalRow(false);
            } else {
                account = new Account(row);
            }
            account->setColour(Account::colourForIndex(m_accounts.size()));
            m_accounts.append(account);
        }
    }
    for (Account *gone : std::as_const(previous))
        m_retired.append(gone);
}

void DataProvider::loadPaymentInstruments()
{
    clearRawRows();
    QHash<int, PaymentInstruction *> previous;
    for (PaymentInstruction *p : std::as_const(m_instruments))
        previous.insert(p->getId(), p);
    m_instruments.clear();

    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM %1 ORDER BY name ").arg(QStringLiteral("zahlungsmittel")))) {
        const RecordReader row = PaymentInstruction::reader(query);
        while (query.next()) {
            PaymentInstruction *instrument = previous.take(row.toInt(FinanceBase::IdColumn));
            if (instrument) {
                const PaymentInstruction fresh(row);
                instrument->readBaseFields(row);
                instrument->readFields(row);
                instrument->setAccountType(fresh.getAccountType());
                instrument->setBankAccount(fresh.isBankAccount());
                instrument->setLastError(QString());
                instrument->setTotalRow(false);
            } else {
                instrument = new PaymentInstruction(row);
            }
            m_instruments.append(instrument);
        }
    }
    for (PaymentInstruction *gone : std::as_const(previous))
        m_retired.append(gone);
}

void DataProvider::loadAccountMovements()
{
    clearRawRows();
    deleteAll(m_movements);
    const QString sql = QStringLiteral("SELECT * FROM konto_bewegungen ORDER BY startdate DESC ");
    QSqlQuery query;
    if (!runQuery(query, sql))
        return;
    const RecordReader row = AccountEntry::reader(query);
    while (query.next())
        m_movements.append(new AccountEntry(row));
    m_pendingRowsSql = sql;
}

void DataProvider::loadExpenses()
{
    clearRawRows();
    deleteAll(m_expenses);
    const QString sql = QStringLiteral("SELECT * FROM ausgaben ORDER BY startdate DESC ");
    QSqlQuery query;
    if (!runQuery(query, sql))
        return;
    const RecordReader row = ExpenseEntry::reader(query);
    while (query.next())
        m_expenses.append(new ExpenseEntry(row));
    m_pendingRowsSql = sql;
}

void DataProvider::loadExpenseDetails()
{
    clearRawRows();
    deleteAll(m_details);
    m_detailIndex.clear();
    m_detailIndexValid = false;
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben_detail ")))
        return;
    const RecordReader row = ExpenseEntryDetail::reader(query);
    while (query.next())
        m_details.append(new ExpenseEntryDetail(row));
}

void DataProvider::loadExpenseTypes()
{
    clearRawRows();
    deleteAll(m_expenseTypes);
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben_typen ORDER BY name")))
        return;
    while (query.next()) {
        const QSqlRecord row = query.record();
        m_expenseTypes.append(new ExpenseTypeEntry(row));
        m_rows.append(row);
    }
}

void DataProvider::loadIncomeSources()
{
    clearRawRows();
    deleteAll(m_incomeSources);
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM einnahme_quelle ORDER BY name")))
        return;
    const RecordReader row = IncomeEntry::reader(query, true);
    while (query.next())
        m_incomeSources.append(new IncomeEntry(row, true));
}

void DataProvider::loadRecipients()
{
    clearRawRows();
    deleteAll(m_recipients);
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM beguenstigte ORDER BY name")))
        return;
    const RecordReader row = Recipient::reader(query);
    while (query.next())
        m_recipients.append(new Recipient(row));
}

void DataProvider::loadTable(const QString &table)
{
    clearRawRows();
    if (!isTableName(table))
        return;
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM %1 ORDER BY name ").arg(table)))
        readRows(query, m_rows);
}

void DataProvider::loadExpenseSubTypes()
{
    loadTable(QStringLiteral("ausgaben_sub_typen"));
}

// The rows stay readable after the typed list is rebuilt.
void DataProvider::reloadRecipients()
{
    loadRecipients();
    loadTable(QStringLiteral("beguenstigte"));
}

void DataProvider::reloadIncomeSources()
{
    loadIncomeSources();
    loadTable(QStringLiteral("einnahme_quelle"));
}

// ---- Look-ups ---------------------------------------------------------------

Account *DataProvider::getAccount(int id)
{
    for (Account *a : std::as_const(m_accounts))
        if (a->getId() == id)
            return a;
    return nullptr;
}

Account *DataProvider::getAccount(const QString &name)
{
    for (Account *a : std::as_const(m_accounts))
        if (a->getName() == name)
            return a;
    return nullptr;
}

void DataProvider::getAccounts(QList<Account *> &out)
{
    out = m_accounts;
}

PaymentInstruction *DataProvider::getPaymentInstrument(int id, bool byId)
{
    for (PaymentInstruction *p : std::as_const(m_instruments))
        if ((byId ? p->getId() : p->getAccountId()) == id)
            return p;
    return nullptr;
}

PaymentInstruction *DataProvider::getPaymentInstrument(const QString &name)
{
    for (PaymentInstruction *p : std::as_const(m_instruments))
        if (p->getName() == name)
            return p;
    return nullptr;
}

void DataProvider::getPaymentInstruments(QList<PaymentInstruction *> &out)
{
    out.clear();
    for (PaymentInstruction *p : std::as_const(m_instruments)) {
        const Account *a = getAccount(p->getAccountId());
        if (!a)
            continue;
        if (a->getAccountType() == AccountType::Bank)
            p->setBankAccount(true);
        out.append(p);
    }
}

bool DataProvider::isAccountActive(int accountId)
{
    const Account *a = getAccount(accountId);
    return !(a && a->getState() == AccountState::Inactive);
}

Recipient *DataProvider::getRecipient(int id)
{
    for (Recipient *r : std::as_const(m_recipients))
        if (r->getId() == id)
            return r;
    return nullptr;
}

void DataProvider::getRecipients(QList<Recipient *> &out)
{
    out = m_recipients;
}

void DataProvider::getExpenseDetails(int expenseId, QList<ExpenseEntryDetail *> &out)
{
    out.clear();
    if (m_details.isEmpty())
        loadExpenseDetails();
    ensureDetailIndex();
    out = m_detailIndex.value(expenseId);
}

void DataProvider::getExpensesOfPaymentInstrument(int piId, QList<ExpenseEntry *> &out)
{
    out.clear();
    if (m_expenses.isEmpty())
        loadExpenses();
    for (ExpenseEntry *e : std::as_const(m_expenses))
        if (e->getPaymentInstrumentId() == piId)
            out.append(e);
}

void DataProvider::getAccountMovements(int accountId, QList<AccountEntry *> &out)
{
    out.clear();
    if (m_movements.isEmpty())
        loadAccountMovements();
    for (AccountEntry *m : std::as_const(m_movements))
        if (m->getFromAccount() == accountId)
            out.append(m);
}

void DataProvider::getAccountMovements(const QString &txId, QList<AccountEntry *> &out)
{
    out.clear();
    if (m_movements.isEmpty())
        loadAccountMovements();
    for (AccountEntry *m : std::as_const(m_movements))
        if (m->getTxId() == txId)
            out.append(m);
}

// ---- Direct reads -----------------------------------------------------------

std::unique_ptr<ExpenseEntry> DataProvider::getExpense(int id)
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben WHERE id = %1 ").arg(id)) || !query.next())
        return nullptr;
    return std::make_unique<ExpenseEntry>(query.record());
}

std::unique_ptr<ExpenseTypeEntry> DataProvider::getExpenseType(int id)
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben_typen WHERE id = %1 ").arg(id)) || !query.next())
        return nullptr;
    return std::make_unique<ExpenseTypeEntry>(query.record());
}

void DataProvider::refreshRecord(FinanceBase *rec)
{
    if (!rec)
        return;
    auto readSingle = [](const QString &sql, QSqlRecord &row) {
        QSqlQuery query;
        QList<QSqlRecord> rows;
        if (runQuery(query, sql))
            readRows(query, rows);
        if (rows.size() != 1)
            return false;
        row = rows.first();
        return true;
    };
    QSqlRecord row;
    if (rec->isOfType(FinanceBase::AccountCode)) {
        auto *account = static_cast<Account *>(rec);
        if (readSingle(QStringLiteral("SELECT * FROM konten WHERE id = %1 ").arg(rec->getId()), row)) {
            account->readBaseFields(row);
            account->readFields(row);
        }
    } else if (rec->isOfType(FinanceBase::AccountEntryCode)) {
        auto *movement = static_cast<AccountEntry *>(rec);
        if (readSingle(QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = %1 ").arg(rec->getId()), row)) {
            movement->readBaseFields(row);
            movement->readFields(row);
        }
    } else if (rec->isOfType(FinanceBase::PaymentInstructionCode)) {
        auto *instrument = static_cast<PaymentInstruction *>(rec);
        if (readSingle(QStringLiteral("SELECT * FROM zahlungsmittel WHERE id = %1 ").arg(rec->getId()), row)) {
            instrument->readBaseFields(row);
            instrument->readFields(row);
            QSqlRecord accountRow;
            if (readSingle(QStringLiteral("SELECT * FROM konten WHERE id = %1 ").arg(instrument->getAccountId()),
                           accountRow))
                instrument->setAccountType(accountRow.value(QStringLiteral("konto_typ")).toInt());
        }
    }
}

std::unique_ptr<IncomeEntry> DataProvider::getIncomeSource(int id)
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM einnahme_quelle WHERE id = %1 ").arg(id)) || !query.next())
        return nullptr;
    return std::make_unique<IncomeEntry>(query.record(), true);
}

void DataProvider::getIncomeSourceRows(QList<QSqlRecord> &rows)
{
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM einnahme_quelle ORDER BY name ")))
        readRows(query, rows);
}

RecordList<IncomeEntry> DataProvider::getIncomeSources()
{
    QList<QSqlRecord> rows;
    getIncomeSourceRows(rows);
    RecordList<IncomeEntry> out;
    for (const QSqlRecord &row : std::as_const(rows))
        out.appendOwned(std::make_unique<IncomeEntry>(row, true));
    return out;
}

RecordList<IncomeEntry> DataProvider::getIncomeMovements(int sourceId)
{
    const QString sql = sourceId > 0
        ? QStringLiteral("SELECT * FROM konto_bewegungen WHERE tx_typ = %1 AND einnahme_quelle_id = %2 "
                         "ORDER BY startdate DESC ").arg(MovementType::Income).arg(sourceId)
        : QStringLiteral("SELECT * FROM konto_bewegungen WHERE tx_typ = %1 AND einnahme_quelle_id > 0 ")
              .arg(MovementType::Income);
    RecordList<IncomeEntry> out;
    QSqlQuery query;
    if (!runQuery(query, sql))
        return out;
    const RecordReader row = IncomeEntry::reader(query, false);
    while (query.next())
        out.appendOwned(std::make_unique<IncomeEntry>(row, false));
    return out;
}

RecordList<ExpenseTypeEntry> DataProvider::getExpenseTypes()
{
    RecordList<ExpenseTypeEntry> out;
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben_typen ORDER BY name")))
        return out;
    const RecordReader row = ExpenseTypeEntry::reader(query);
    while (query.next())
        out.appendOwned(std::make_unique<ExpenseTypeEntry>(row));
    return out;
}

void DataProvider::getRecipientRows(QList<QSqlRecord> &rows)
{
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM beguenstigte ORDER BY name ")))
        readRows(query, rows);
}

void DataProvider::getExpenseSubTypeRows(int typeId, QList<QSqlRecord> &rows)
{
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1 ORDER BY name")
                            .arg(typeId)))
        readRows(query, rows);
}

int DataProvider::getExpenseSubTypeId(int typeId, const QString &name)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1 AND name = :nam ")
                      .arg(typeId));
    query.bindValue(QStringLiteral(":nam"), name);
    if (!query.exec())
        return 0;
    return firstIdOf(query);
}

int DataProvider::getIdByName(const QString &table, const QString &name)
{
    if (!isTableName(table))
        return 0;
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM %1 WHERE name = :nam ").arg(table));
    query.bindValue(QStringLiteral(":nam"), name);
    if (!query.exec())
        return 0;
    return firstIdOf(query);
}

int DataProvider::getFirstAccountIdOfType()
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM konten WHERE konto_typ = %1 ").arg(AccountType::Counter)))
        return 0;
    return firstIdOf(query);
}

double DataProvider::getExpenseDetailSum(int expenseId)
{
    QSqlQuery query;
    double sum = 0.0;
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM ausgaben_detail WHERE ausgaben_id = ?"));
    query.addBindValue(expenseId);
    if (!query.exec()) {
        s_readFailed = true;
        return sum;
    }
    while (query.next())
        sum += query.value(QStringLiteral("betrag")).toDouble();
    return sum;
}

int DataProvider::getExpenseCount()
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT COUNT(*) FROM ausgaben ")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

// ---- Deletion guards --------------------------------------------------------

bool DataProvider::hasExpensesOfPaymentInstrument(int id)
{
    return countIsPositive(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE zahlungsmittel_id = %1").arg(id));
}

bool DataProvider::hasExpensesOfRecipient(int id)
{
    return countIsPositive(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE beguenstigter_id = %1").arg(id));
}

bool DataProvider::hasExpensesOfType(int id)
{
    return countIsPositive(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE ausgaben_typ_id = %1").arg(id));
}

bool DataProvider::hasDetailsOfSubType(int id)
{
    return countIsPositive(
        QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_sub_typ_id = %1").arg(id));
}

bool DataProvider::hasDetailsOfExpense(int id)
{
    return countIsPositive(QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_id = %1").arg(id));
}

bool DataProvider::hasSubTypesOfType(int id)
{
    return countIsPositive(
        QStringLiteral("SELECT COUNT(*) FROM ausgaben_sub_typen WHERE ausgaben_typ_id = %1").arg(id));
}

bool DataProvider::hasPaymentInstrumentsOfAccount(int accountId)
{
    return countIsPositive(QStringLiteral("SELECT COUNT(*) FROM zahlungsmittel WHERE konto_id = %1 AND "
                                          "zahlungsmittel_typ <> %2").arg(accountId).arg(InstrumentType::Account));
}

bool DataProvider::hasAccountMovements(int accountId)
{
    if (countIsPositive(QStringLiteral("SELECT COUNT(*) FROM konto_bewegungen WHERE konto_id_von = %1").arg(accountId)))
        return true;
    return countIsPositive(
        QStringLiteral("SELECT COUNT(*) FROM konto_bewegungen WHERE konto_id_nach = %1").arg(accountId));
}

// ---- Cache maintenance ------------------------------------------------------

void DataProvider::addExpenseToCache(int id)
{
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM ausgaben WHERE id = %1 ").arg(id)) && query.next())
        insertNewestFirst(m_expenses, new ExpenseEntry(query.record()));
    else
        loadExpenses();
}

// The date, when known, narrows the search to the rows of that day.
void DataProvider::removeExpenseFromCache(int id, const QDate &date)
{
    auto first = m_expenses.begin();
    auto last = m_expenses.end();
    if (date.isValid()) {
        first = std::partition_point(m_expenses.begin(), m_expenses.end(),
                                     [&date](const ExpenseEntry *e) { return date < e->getDate(); });
        last = std::partition_point(first, m_expenses.end(),
                                    [&date](const ExpenseEntry *e) { return !(e->getDate() < date); });
    }
    auto it = std::find_if(first, last, [id](const ExpenseEntry *e) { return e->getId() == id; });
    if (it == last)
        it = std::find_if(m_expenses.begin(), m_expenses.end(), [id](const ExpenseEntry *e) { return e->getId() == id; });
    if (it == m_expenses.end())
        return;
    delete *it;
    m_expenses.erase(it);
}

void DataProvider::addDetailToCache(int id)
{
    QSqlQuery query;
    if (!runQuery(query, QStringLiteral("SELECT * FROM ausgaben_detail WHERE id = %1 ").arg(id)) || !query.next()) {
        loadExpenseDetails();
        return;
    }
    auto *detail = new ExpenseEntryDetail(query.record());
    m_details.append(detail);
    if (m_detailIndexValid)
        m_detailIndex[detail->getExpenseId()].append(detail);
}

// The detail cache is in table order, i.e. by id; the index says which
// details belong to the expense.
void DataProvider::removeDetailsOfExpense(int expenseId)
{
    ensureDetailIndex();
    const QList<ExpenseEntryDetail *> gone = m_detailIndex.take(expenseId);
    for (ExpenseEntryDetail *d : gone) {
        auto it = std::lower_bound(m_details.begin(), m_details.end(), d->getId(),
                                   [](const ExpenseEntryDetail *x, int id) { return x->getId() < id; });
        if (it == m_details.end() || *it != d)
            it = std::find(m_details.begin(), m_details.end(), d);
        if (it != m_details.end())
            m_details.erase(it);
        delete d;
    }
}

void DataProvider::addMovementToCache(int id)
{
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM konto_bewegungen WHERE id = %1 ").arg(id)) && query.next())
        insertNewestFirst(m_movements, new AccountEntry(query.record()));
    else
        loadAccountMovements();
}

void DataProvider::removeMovementsFromCache(const QList<int> &ids)
{
    if (ids.isEmpty())
        return;
    const QSet<int> gone(ids.begin(), ids.end());
    auto end = std::remove_if(m_movements.begin(), m_movements.end(), [&gone](AccountEntry *m) {
        if (!gone.contains(m->getId()))
            return false;
        delete m;
        return true;
    });
    m_movements.erase(end, m_movements.end());
}

void DataProvider::ensureDetailIndex()
{
    if (m_detailIndexValid)
        return;
    m_detailIndex.clear();
    for (ExpenseEntryDetail *d : std::as_const(m_details))
        m_detailIndex[d->getExpenseId()].append(d);
    m_detailIndexValid = true;
}

void DataProvider::resyncCaches()
{
    s_readFailed = false;
    loadAccounts();
    loadPaymentInstruments();
    loadAccountMovements();
    loadExpenses();
    loadExpenseDetails();
    loadExpenseTypes();
    loadIncomeSources();
    loadRecipients();
    // A cache read while the file was unreadable would stay empty; try again
    // at the next user action rather than show an empty year.
    m_stale = s_readFailed;
}
