#include "account.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column {
    AccountTypeColumn = FinanceBase::FirstOwnColumn, StateColumn, AccountNumberColumn, OpeningAmountColumn,
    BalanceColumn, DescriptionColumn, DateColumn
};

const QString columnNames[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("konto_typ"), QStringLiteral("stat"),
    QStringLiteral("konto_nummer"), QStringLiteral("initial_betrag"), QStringLiteral("betrag"),
    QStringLiteral("konto_beschreibung"), QStringLiteral("startdate"),
};

} // namespace

Account::Account()
{
    init();
}

Account::Account(int id)
{
    init();
    m_id = id;
}

Account::Account(const QSqlRecord &row)
    : Account(RecordReader(row, columnNames))
{
}

Account::Account(const RecordReader &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

RecordReader Account::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
}

Account::Account(const Account &other)
    : FinanceBase(other)
{
    init();
    assign(other);
    m_linkedCount = other.m_linkedCount;
    m_colour = other.m_colour;
}

Account &Account::operator=(const Account &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void Account::init()
{
    m_className = QStringLiteral("Account");
    m_typeCode = AccountCode;
    m_accountType = AccountType::Bank;
    m_state = AccountState::Inactive;
    m_openingAmount = 0.0;
    m_balance = 0.0;
    m_linkedCount = 0;
    m_colour = QColor();
    m_incomingSum = 0.0;
    m_outgoingSum = 0.0;
}

void Account::readFields(const QSqlRecord &row)
{
    readFields(RecordReader(row, columnNames));
}

void Account::readFields(const RecordReader &row)
{
    m_accountType = row.toInt(AccountTypeColumn);
    m_state = row.toInt(StateColumn);
    m_accountNumber = row.toString(AccountNumberColumn);
    m_openingAmount = row.toDouble(OpeningAmountColumn);
    m_balance = row.toDouble(BalanceColumn);
    setDescription(row.toString(DescriptionColumn));
    m_date = row.toDate(DateColumn);
}

void Account::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> Account: " << getClassName();
}

FinanceBase &Account::assign(const FinanceBase &other)
{
    if (const auto *account = dynamic_cast<const Account *>(&other))
        assign(*account);
    return *this;
}

Account &Account::assign(const Account &other)
{
    m_accountType = other.m_accountType;
    m_state = other.m_state;
    m_accountNumber = other.m_accountNumber;
    m_openingAmount = other.m_openingAmount;
    m_balance = other.m_balance;
    m_incomingSum = other.m_incomingSum;
    m_outgoingSum = other.m_outgoingSum;
    return *this;
}

bool Account::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}

QColor Account::colourForIndex(int index)
{
    static const int cycle[6][3] = {
        {255, 255, 128}, {128, 255, 128}, {128, 255, 255},
        {192, 192, 255}, {255, 192, 255}, {255, 128, 128},
    };
    int slot = index % 6;
    if (slot < 0)
        slot += 6;
    return QColor(cycle[slot][0], cycle[slot][1], cycle[slot][2], 255);
}
