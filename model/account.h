#pragma once

#include "financebase.h"
#include "financecodes.h"

#include <QColor>

class QSqlQuery;

// A row of `konten`: an account with its balance.
//
// Columns: konto_typ -> accountType, stat -> state, konto_nummer ->
// accountNumber, initial_betrag -> openingAmount, betrag -> balance,
// konto_beschreibung -> description, startdate -> date.
// Linked count, colour and the two sums are computed by the data layer.
class Account : public FinanceBase
{
public:
    Account();
    explicit Account(int id);
    explicit Account(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit Account(const RecordReader &row);
    Account(const Account &other);
    Account &operator=(const Account &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    Account &assign(const Account &other);
    bool isEqual(const FinanceBase &other) const override;

    // Reads the account's own columns (not id/name); used when re-reading.
    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of an account in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    // Display colour of the account at the given list position: six
    // colours in a cycle, the seventh account gets the first again.
    static QColor colourForIndex(int index);

    int getAccountType() const { return m_accountType; }
    void setAccountType(int type) { m_accountType = type; }
    int getState() const { return m_state; }
    void setState(int state) { m_state = state; }
    QString getAccountNumber() const { return m_accountNumber; }
    void setAccountNumber(const QString &number) { m_accountNumber = number; }
    double getOpeningAmount() const { return m_openingAmount; }
    void setOpeningAmount(double amount) { m_openingAmount = amount; }
    double getBalance() const { return m_balance; }
    void setBalance(double balance) { m_balance = balance; }

    // Number of payment instruments the accounts overview shows under it.
    int getLinkedCount() const { return m_linkedCount; }
    void setLinkedCount(int count) { m_linkedCount = count; }
    void incrementLinkedCount() { ++m_linkedCount; }
    void decrementLinkedCount() { --m_linkedCount; }

    QColor getColour() const { return m_colour; }
    void setColour(const QColor &colour) { m_colour = colour; }

    double getIncomingSum() const { return m_incomingSum; }
    void setIncomingSum(double sum) { m_incomingSum = sum; }
    void addIncomingSum(double amount) { m_incomingSum += amount; }
    double getOutgoingSum() const { return m_outgoingSum; }
    void setOutgoingSum(double sum) { m_outgoingSum = sum; }
    void addOutgoingSum(double amount) { m_outgoingSum += amount; }

private:
    void init();

    int m_accountType;
    int m_state;
    QString m_accountNumber;
    double m_openingAmount;
    double m_balance;
    int m_linkedCount;
    QColor m_colour;
    double m_incomingSum;
    double m_outgoingSum;
};
