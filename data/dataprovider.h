#pragma once

#include "financecodes.h"

#include <QCoreApplication>
#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QTime>

#include "postingresult.h"
#include "recordlist.h"

#include <memory>

class FinanceBase;
class Account;
class PaymentInstruction;
class Recipient;
class AccountEntry;
class ExpenseEntry;
class ExpenseTypeEntry;
class ExpenseEntryDetail;
class IncomeEntry;
class QSqlQuery;

// The one data-access object. It keeps every master-data and booking table
// in memory as lists of records, answers look-ups from them, runs the direct
// reads and counts, performs every write and the postings that keep balances
// and movements right, and builds the summary lists of the reports.
//
// Cache rule: after every write the caches equal the file. Writes patch the
// cached records in place where that is cheaper than a reload; a rolled-back
// transaction re-reads the caches from the file.
//
// Ownership: records in the caches belong to DataProvider. Look-ups hand out
// cache pointers; callers must not delete them. Accounts and payment
// instruments keep their objects across reloads (refreshed by id), so a
// dialog may hold such a pointer while it posts. Other cache pointers must
// not be kept across an operation that reloads that cache. Records read
// anew come as std::unique_ptr; lists come as RecordList, which owns the rows
// it made and borrows the cached ones.
//
// Every string value is bound to its statement, never pasted into it.
class DataProvider
{
    Q_DECLARE_TR_FUNCTIONS(DataProvider)

public:
    static DataProvider *instance();
    // Destroys the instance and its caches; the next instance() reloads.
    static void release();
    // Re-reads every cache from the file; used after a rollback.
    // Does nothing while no instance exists.
    static void reloadAfterRollback();
    // Re-reads every cache when a read of the file failed before (for
    // example while another program held it). Frees cached records, so it is
    // called only between user actions, never while a caller holds them.
    static void reloadIfStale();

    // ---- Loading ---------------------------------------------------------
    void loadAccounts();
    void loadAccountMovements();
    void loadExpenses();
    void loadExpenseDetails();
    void loadExpenseTypes();
    void loadPaymentInstruments();
    void loadIncomeSources();
    void loadRecipients();
    // Raw rows := "SELECT * FROM <table> ORDER BY name ".
    void loadTable(const QString &table);
    void loadExpenseSubTypes();
    void reloadRecipients();
    void reloadIncomeSources();
    // The raw rows filled by the last loader or loadTable(). The rows of
    // loadAccountMovements() and loadExpenses() are read when first asked
    // for: nearly every caller wants only the records, and a copy of every
    // booking row would double the memory of those caches.
    const QList<QSqlRecord> &rawRows() const;

    // ---- Look-ups in the caches (null / empty when nothing matches) -------
    Account *getAccount(int id);
    Account *getAccount(const QString &name);
    void getAccounts(QList<Account *> &out);
    // byId true: by instrument id; false: first instrument of that account id.
    PaymentInstruction *getPaymentInstrument(int id, bool byId = true);
    PaymentInstruction *getPaymentInstrument(const QString &name);
    // Instruments whose account exists; sets their bank-account flag for
    // accounts of type AccountType::Bank.
    void getPaymentInstruments(QList<PaymentInstruction *> &out);
    bool isAccountActive(int accountId);
    Recipient *getRecipient(int id);
    void getRecipients(QList<Recipient *> &out);
    void getExpenseDetails(int expenseId, QList<ExpenseEntryDetail *> &out);
    void getExpensesOfPaymentInstrument(int piId, QList<ExpenseEntry *> &out);
    void getAccountMovements(int accountId, QList<AccountEntry *> &out);
    void getAccountMovements(const QString &txId, QList<AccountEntry *> &out);

    // ---- Direct reads ----------------------------------------------------
    // Records read from the file, null when the id does not exist.
    std::unique_ptr<ExpenseEntry> getExpense(int id);
    std::unique_ptr<ExpenseTypeEntry> getExpenseType(int id);
    std::unique_ptr<IncomeEntry> getIncomeSource(int id);
    void refreshRecord(FinanceBase *rec);
    void getIncomeSourceRows(QList<QSqlRecord> &rows);
    RecordList<IncomeEntry> getIncomeSources();
    // Deposits of one source, newest first; sourceId 0: of every source, in file order.
    RecordList<IncomeEntry> getIncomeMovements(int sourceId);
    RecordList<ExpenseTypeEntry> getExpenseTypes();
    void getRecipientRows(QList<QSqlRecord> &rows);
    void getExpenseSubTypeRows(int typeId, QList<QSqlRecord> &rows);
    int getExpenseSubTypeId(int typeId, const QString &name);
    int getIdByName(const QString &table, const QString &name);
    int getFirstAccountIdOfType();
    double getExpenseDetailSum(int expenseId);
    int getExpenseCount();

    // ---- Deletion guards (true when rows refer to the id) -----------------
    bool hasExpensesOfPaymentInstrument(int id);
    bool hasExpensesOfRecipient(int id);
    bool hasExpensesOfType(int id);
    bool hasDetailsOfSubType(int id);
    bool hasDetailsOfExpense(int id);
    bool hasSubTypesOfType(int id);
    // The account's own instrument (InstrumentType::Account) does not count.
    bool hasPaymentInstrumentsOfAccount(int accountId);
    bool hasAccountMovements(int accountId);

    // ---- Single writes (error text into the record or err) ---------------
    bool insertAccount(Account *acc);
    bool deleteAccount(Account *acc);
    bool updateAccountBalance(int id, double amount, QString &err);
    bool updateAccountInitialAmount(int id, double amount, QString &err);
    bool insertPaymentInstrument(PaymentInstruction *pi);
    bool deletePaymentInstrument(PaymentInstruction *pi);
    bool insertExpense(ExpenseEntry *e, int &newId, int subTypeId, bool withDetail, QString &err);
    bool insertExpenseDetail(int expenseId, int subTypeId, double amount, QString &err);
    // Details first, then the expense.
    bool deleteExpense(ExpenseEntry *e, QString &err);
    bool insertAccountMovement(int kidv, int kidn, double amount, int opFlag,
                               const QString &remark, const QDate &date, int txTyp,
                               int stat, int expenseId, QString &err,
                               const QString &txId = QString(), int incomeSourceId = 0,
                               int piId = 0);
    bool deleteAccountMovement(int id, QString &err);
    bool deleteAccountMovements(const QString &txId, QString &err);
    // Deletes every movement of the expense.
    bool deleteExpenseMovements(int expenseId, QString &err);
    bool deleteIncomeSource(int id, QString &err);
    bool deleteRecipient(int id, QString &err);

    // ---- Postings --------------------------------------------------------
    // Each posting is one transaction: when it does not book, nothing is
    // changed, the caches equal the file and the result names the reason
    // with the title and text of the box to show (a failed write: the
    // driver's error text):
    //
    //  every posting    "Betrag ungültig!" for an amount of 0.00 or less.
    //  postExpense      "DB-Transaktion fehlgeschlagen!" (a write failed),
    //                   "Betrags-Überschreitung" (not enough money; text
    //                   "Betrag nicht verfügbar!"), "Zahlungsmittel fehlt"
    //                   (instrument or its account unknown).
    //  postDeposit      "DB-Transaktion fehlgeschlagen!"; "Konto fehlt".
    //  postTransfer     "DB-Transaktion fehlgeschlagen!", "Betrags-Überschreitung",
    //                   "Zahlungsmittel fehlt", "Interne Transaktion nicht
    //                   möglich" (both instruments draw on the same account).
    //  reverseMovement  "DB-Transaktion fehlgeschlagen!"; "Info" when the
    //                   movement no longer exists.
    //  reverseTransfer  "Fehler -> es ist kein Txn-Paar!" (text "?"),
    //                   "DB-Update-Konto fehlgeschlagen!" (a balance update),
    //                   "DB-Transaktion fehlgeschlagen!" (deleting the pair).
    //  reverseExpense   "Fehler beim löschen einer Ausgabe: " (deleting the
    //                   rows, or expense / instrument / account not found),
    //                   "DB-Update für Konto fehlgeschlagen!" (the balance),
    //                   "DB-Delete für KontoTxn fehlgeschlagen!" (the movements).
    //
    // Balances computed here are rounded to whole cents.

    // e: date, amount, type id+name, recipient id+name (0 for free text),
    // instrument id+name, remark. The instrument is found by its id. The
    // movement of a linked instrument is remarked "<type>: <remark>".
    // When booked, e's id is the new expense id.
    PostingResult postExpense(ExpenseEntry *e, int subTypeId, bool split);
    // remark: the complete movement remark.
    PostingResult postDeposit(int accountId, double amount, const QString &remark, const QDate &date,
                              int incomeSourceId);
    // remarkFrom / remarkTo: the complete remarks of the outgoing and the
    // incoming movement. Refused when both instruments use one account.
    PostingResult postTransfer(int fromInstrumentId, int toInstrumentId, double amount,
                               const QString &remarkFrom, const QString &remarkTo, const QDate &date);
    // Deletes one movement and takes it back out of its account's balance.
    PostingResult reverseMovement(int movementId);
    // Deletes both movements of a transfer and restores both balances.
    PostingResult reverseTransfer(const QString &txId);
    // Deletes an expense with its details, gives the amount back to the
    // account behind its instrument (found by the stored instrument id, by
    // the stored name only when that id no longer exists) and, for a bank
    // account, deletes the expense's movements.
    PostingResult reverseExpense(int expenseId);

    // ---- Money -------------------------------------------------------------
    static qint64 toCents(double amount);
    static double roundCents(double amount);
    // True when amount can be paid from balance (compared in whole cents).
    static bool isAvailable(double balance, double amount);

    // ---- Helpers -----------------------------------------------------------
    // Year, month, day, hour, minute, second, millisecond run together.
    static QString makeTxId(const QDate &date, const QTime &time);
    // The left part of text, at most width characters.
    static QString truncated(const QString &text, int width);

    // ---- Summary lists (each ends with a "Total:" line) --------------------
    // Expense lines are copies; typeId 0: every type.
    RecordList<ExpenseEntry> getExpensesOfType(int typeId);
    RecordList<ExpenseEntry> getExpensesOfSubType(int subTypeId);
    RecordList<ExpenseEntry> getExpensesOfRecipient(int recipientId);
    RecordList<ExpenseEntry> getExpenseTypeTotals(const QList<ExpenseEntry *> &expenses);
    RecordList<ExpenseEntryDetail> getExpenseSubTypeTotals(int typeId, const QList<ExpenseEntry *> &expenses);
    // Recipients are the cached records; "Andere" and "Total:" are the list's.
    RecordList<Recipient> getRecipientTotals();
    RecordList<IncomeEntry> getIncomeSourceTotals(const QList<IncomeEntry *> &incomeMovements);
    double sumAmounts(QList<ExpenseEntry *> &list);
    void computeAccountMovements(Account *acc, int piId);
    // Rows of accounts are the cached accounts; card rows and the total line
    // are the list's.
    RecordList<Account> getAccountOverview();
    RecordList<Account> getAccountOverview(PaymentInstruction *p);

private:
    DataProvider();
    ~DataProvider();
    DataProvider(const DataProvider &) = delete;
    DataProvider &operator=(const DataProvider &) = delete;

    // Cache maintenance.
    void addExpenseToCache(int id);
    void removeExpenseFromCache(int id, const QDate &date = QDate());
    void addDetailToCache(int id);
    void removeDetailsOfExpense(int expenseId);
    void addMovementToCache(int id);
    void removeMovementsFromCache(const QList<int> &ids);
    void ensureDetailIndex();
    void resyncCaches();

    // Posting steps shared by the postings.
    static PostingResult writeFailed(const QString &title, const QString &text);
    static PostingResult invalidAmount();
    QString unusedTxId();

    // Query helpers: a failing query counts as an empty result.
    static bool runQuery(QSqlQuery &query, const QString &sql);
    static bool runPrepared(QSqlQuery &query, QString &err);
    static void readRows(QSqlQuery &query, QList<QSqlRecord> &rows);
    static bool countIsPositive(const QString &sql);
    static int firstIdOf(QSqlQuery &query);
    static bool isTableName(const QString &table);
    // Empties the raw rows (every loader starts with this).
    void clearRawRows();

    static DataProvider *s_instance;
    // Set when a read of the file failed (for example while another program
    // held it locked); the caches are then re-read by reloadIfStale().
    static bool s_readFailed;
    bool m_stale = false;

    mutable QList<QSqlRecord> m_rows;
    // Statement whose rows rawRows() has yet to read; empty when m_rows is
    // complete.
    mutable QString m_pendingRowsSql;
    QList<Account *> m_accounts;
    QList<AccountEntry *> m_movements;
    QList<Recipient *> m_recipients;
    QList<ExpenseEntry *> m_expenses;
    QList<ExpenseTypeEntry *> m_expenseTypes;
    QList<IncomeEntry *> m_incomeSources;
    QList<ExpenseEntryDetail *> m_details;
    QList<PaymentInstruction *> m_instruments;

    // Account and instrument objects that left the cache; callers may still
    // hold them, so they live until the instance goes away.
    QList<FinanceBase *> m_retired;
    // Details by expense id, rebuilt when the detail cache changed.
    QHash<int, QList<ExpenseEntryDetail *>> m_detailIndex;
    bool m_detailIndexValid = false;
};
