#pragma once

#include <QString>

class Account;
class PaymentInstruction;

// The writes of the master-data dialogs that DataProvider has no operation
// for, and the changes that span several rows. Every value is bound; a
// change of several rows is one transaction, so it happens entirely or not
// at all. Each operation reloads the caches it touched and returns false
// with the driver's error text (or a German refusal) in err on failure.
class MasterDataWriter
{
public:
    // ---- Bank accounts ------------------------------------------------------
    // Stores a new bank account together with its own payment instrument
    // (type 25, same name and number). On success the account's id is set.
    static bool createBankAccount(Account *account, QString &err);
    // Changes name and number of an account, and its opening amount and
    // balance when withAmount is set; the account's own payment instrument
    // follows the new name. instrumentFailed tells which step failed.
    static bool updateBankAccount(int accountId, const QString &name, const QString &number,
                                  bool withAmount, double amount, QString &err,
                                  bool *instrumentFailed = nullptr);
    static bool setAccountState(int accountId, int state, QString &err);
    // Deletes an account and its own payment instrument (may be null).
    static bool deleteBankAccount(Account *account, PaymentInstruction *own, QString &err);
    // The type-25 instrument of a bank account (a cache pointer), or null.
    static PaymentInstruction *ownInstrumentOf(int accountId);

    // ---- Payment instruments ---------------------------------------------
    // Stores an instrument; ownAccount, when given, is stored first as its
    // own account and the instrument then points to it.
    static bool createPaymentInstrument(PaymentInstruction *instrument, Account *ownAccount,
                                        QString &err);
    static bool updatePaymentInstrument(int instrumentId, const QString &name,
                                        const QString &number, QString &err);
    // Deletes the instrument, and its account too unless that is a bank
    // account (konto_typ 12) shared with others.
    static bool deletePaymentInstrument(PaymentInstruction *instrument, Account *account,
                                        QString &err);

    // ---- Expense types and sub-types -----------------------------------------
    static bool insertExpenseType(const QString &name, double budget, QString &err);
    static bool updateExpenseType(int typeId, const QString &name, double budget, QString &err);
    static bool deleteExpenseType(int typeId, QString &err);
    static bool insertExpenseSubType(int typeId, const QString &name, QString &err);
    static bool updateExpenseSubType(int subTypeId, const QString &name, QString &err);
    static bool deleteExpenseSubType(int subTypeId, QString &err);
    // Amount of the expense not yet split over sub-types; never below 0.
    static double remainingShare(int expenseId, double amount);
    // Adds one share of a split expense; a share larger than what remains
    // is refused with a German message.
    static bool addExpenseShare(int expenseId, int subTypeId, double share, double amount,
                                QString &err);

    // ---- Recipients and income sources ---------------------------------------
    static bool insertRecipient(const QString &name, QString &err);
    static bool updateRecipient(int recipientId, const QString &name, QString &err);
    static bool insertIncomeSource(const QString &name, double volume, QString &err);
    static bool updateIncomeSource(int sourceId, const QString &name, double volume,
                                   QString &err);
};
