#include "account.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

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
{
    init();
    readBaseFields(row);
    readFields(row);
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
    m_accountType = 12;
    m_state = 0;
    m_openingAmount = 0.0;
    m_balance = 0.0;
    m_linkedCount = 0;
    m_colour = QColor();
    m_incomingSum = 0.0;
    m_outgoingSum = 0.0;
}

void Account::readFields(const QSqlRecord &row)
{
    m_accountType = row.value(QStringLiteral("konto_typ")).toInt();
    m_state = row.value(QStringLiteral("stat")).toInt();
    m_accountNumber = row.value(QStringLiteral("konto_nummer")).toString();
    m_openingAmount = row.value(QStringLiteral("initial_betrag")).toDouble();
    m_balance = row.value(QStringLiteral("betrag")).toDouble();
    m_description = row.value(QStringLiteral("konto_beschreibung")).toString();
    m_date = row.value(QStringLiteral("startdate")).toDate();
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
