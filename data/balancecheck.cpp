#include "balancecheck.h"

#include "financecodes.h"

#include <QHash>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace {

qint64 cents(double amount)
{
    return static_cast<qint64>(std::llround(amount * 100.0));
}

// Sums per account id from a query whose rows are (account id, amount).
bool sumPerAccount(const QString &sql, QHash<int, qint64> &sums, QString &err)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        err = query.lastError().text();
        return false;
    }
    while (query.next())
        sums[query.value(0).toInt()] += cents(query.value(1).toDouble());
    return true;
}

} // namespace

bool BalanceCheck::bookingEffects(QHash<int, qint64> &effects, QString &err)
{
    QHash<int, qint64> incoming;
    QHash<int, qint64> outgoing;
    QHash<int, qint64> expenses;
    if (!sumPerAccount(QStringLiteral("SELECT konto_id_von, SUM(betrag) FROM konto_bewegungen "
                                      "WHERE op_flag = %1 GROUP BY konto_id_von").arg(OpFlag::MoneyIn),
                      incoming, err)
        || !sumPerAccount(QStringLiteral("SELECT konto_id_von, SUM(betrag) FROM konto_bewegungen "
                                         "WHERE op_flag <> %1 AND COALESCE(ausgabe_id, 0) = 0 "
                                         "GROUP BY konto_id_von").arg(OpFlag::MoneyIn),
                          outgoing, err)
        || !sumPerAccount(QStringLiteral("SELECT z.konto_id, SUM(a.betrag) FROM ausgaben a "
                                         "JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id "
                                         "GROUP BY z.konto_id"), expenses, err)) {
        return false;
    }
    effects = incoming;
    for (auto it = outgoing.cbegin(); it != outgoing.cend(); ++it)
        effects[it.key()] -= it.value();
    for (auto it = expenses.cbegin(); it != expenses.cend(); ++it)
        effects[it.key()] -= it.value();
    return true;
}

bool BalanceCheck::run(QString &err)
{
    m_differences.clear();
    m_checkedAccounts = 0;

    QHash<int, qint64> effects;
    if (!bookingEffects(effects, err))
        return false;

    QSqlQuery accounts;
    accounts.setForwardOnly(true);
    if (!accounts.exec(QStringLiteral("SELECT id, name, initial_betrag, betrag FROM konten ORDER BY id"))) {
        err = accounts.lastError().text();
        return false;
    }
    while (accounts.next()) {
        const int id = accounts.value(0).toInt();
        const qint64 expected = cents(accounts.value(2).toDouble()) + effects.value(id);
        const double stored = accounts.value(3).toDouble();
        ++m_checkedAccounts;
        if (cents(stored) != expected)
            m_differences.append({id, accounts.value(1).toString(), stored, expected / 100.0});
    }
    return true;
}

QString BalanceCheck::report() const
{
    if (m_differences.isEmpty())
        return QObject::tr("Alle %1 Konten stimmen: jeder Saldo entspricht dem Eröffnungsbetrag und den "
                           "Buchungen.").arg(m_checkedAccounts);
    QString text = QObject::tr("Bei %1 von %2 Konten weicht der gespeicherte Saldo von den Buchungen ab:")
                       .arg(m_differences.size()).arg(m_checkedAccounts);
    for (const BalanceDifference &d : m_differences) {
        text += QObject::tr("\n%1: gespeichert %2, aus den Buchungen %3")
                    .arg(d.accountName, QString::number(d.storedBalance, 'f', 2),
                         QString::number(d.expectedBalance, 'f', 2));
    }
    return text;
}
