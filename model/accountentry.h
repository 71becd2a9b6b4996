#pragma once

#include "financebase.h"
#include "financecodes.h"

class QSqlQuery;

// A row of `konto_bewegungen`: one account movement.
//
// Columns: startdate -> date, betrag -> amount, konto_id_von -> fromAccount,
// konto_id_nach -> toAccount, tx_typ -> txType, tx_id -> txId, stat ->
// state, op_flag -> opFlag, bemerkung -> remark, zahlungsmittel_id ->
// paymentInstrumentId, ausgabe_id -> expenseId. einnahme_quelle_id is read
// by IncomeEntry, not here.
class AccountEntry : public FinanceBase
{
public:
    AccountEntry();
    explicit AccountEntry(int id);
    explicit AccountEntry(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit AccountEntry(const RecordReader &row);
    AccountEntry(const AccountEntry &other);
    AccountEntry &operator=(const AccountEntry &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    AccountEntry &assign(const AccountEntry &other);
    bool isEqual(const FinanceBase &other) const override;

    // Reads the movement's own columns (not id/name); used when re-reading.
    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of a movement in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    int getFromAccount() const { return m_fromAccount; }
    void setFromAccount(int id) { m_fromAccount = id; }
    int getToAccount() const { return m_toAccount; }
    void setToAccount(int id) { m_toAccount = id; }
    int getTxType() const { return m_txType; }
    void setTxType(int type) { m_txType = type; }
    QString getTxId() const { return m_txId; }
    void setTxId(const QString &txId) { m_txId = txId; }
    int getState() const { return m_state; }
    void setState(int state) { m_state = state; }
    int getOpFlag() const { return m_opFlag; }
    void setOpFlag(int flag) { m_opFlag = flag; }
    double getAmount() const { return m_amount; }
    void setAmount(double amount) { m_amount = amount; }
    QString getRemark() const { return m_remark; }
    void setRemark(const QString &remark) { m_remark = remark; }
    int getPaymentInstrumentId() const { return m_paymentInstrumentId; }
    void setPaymentInstrumentId(int id) { m_paymentInstrumentId = id; }
    int getExpenseId() const { return m_expenseId; }
    void setExpenseId(int id) { m_expenseId = id; }

private:
    void init();

    int m_fromAccount;
    int m_toAccount;
    int m_txType;
    QString m_txId;
    int m_state;
    int m_opFlag;
    double m_amount;
    QString m_remark;
    int m_paymentInstrumentId;
    int m_expenseId;
};
