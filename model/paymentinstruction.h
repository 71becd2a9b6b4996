#pragma once

#include "financebase.h"
#include "financecodes.h"

class QSqlQuery;

// A row of `zahlungsmittel`: cash, voucher, card or an account's own
// instrument.
//
// Columns: zahlungsmittel_typ -> instrumentType, konto_id -> accountId,
// hat_konto_verbindung -> accountLink, karten_nummer -> cardNumber.
// accountType is the konto_typ of the account, filled by the data layer's
// refreshRecord(); bankAccount is set by the data layer and the dialogs
// (true when the account is a bank account, konto_typ 12).
class PaymentInstruction : public FinanceBase
{
public:
    PaymentInstruction();
    explicit PaymentInstruction(int id);
    explicit PaymentInstruction(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit PaymentInstruction(const RecordReader &row);
    PaymentInstruction(const PaymentInstruction &other);
    PaymentInstruction &operator=(const PaymentInstruction &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    PaymentInstruction &assign(const PaymentInstruction &other);
    bool isEqual(const FinanceBase &other) const override;

    // Reads zahlungsmittel_typ, konto_id, hat_konto_verbindung, karten_nummer
    // (not id/name); used by the data layer when re-reading a record.
    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of an instrument in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    int getInstrumentType() const { return m_instrumentType; }
    void setInstrumentType(int type) { m_instrumentType = type; }
    int getAccountType() const { return m_accountType; }
    void setAccountType(int type) { m_accountType = type; }
    int getAccountId() const { return m_accountId; }
    void setAccountId(int id) { m_accountId = id; }
    bool isBankAccount() const { return m_bankAccount; }
    void setBankAccount(bool bank) { m_bankAccount = bank; }
    bool hasAccountLink() const { return m_accountLink; }
    void setAccountLink(bool linked) { m_accountLink = linked; }
    QString getCardNumber() const { return m_cardNumber; }
    void setCardNumber(const QString &number) { m_cardNumber = number; }

private:
    void init();

    int m_instrumentType;
    int m_accountType;
    int m_accountId;
    bool m_bankAccount;
    bool m_accountLink;
    QString m_cardNumber;
};
