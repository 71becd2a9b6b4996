#include "yearrollover.h"

#include "balancecheck.h"
#include "dataprovider.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A booking dated after the closed year; each use takes the last day once.
const QString Kept = QStringLiteral("substr(COALESCE(startdate, ''), 1, 10) > ?");

} // namespace

YearRollover::YearRollover(int closedYear, int newYear)
    : m_lastDay(QStringLiteral("%1-12-31").arg(closedYear, 4, 10, QLatin1Char('0')))
    , m_newYear(newYear)
{
}

bool YearRollover::run(QString &err)
{
    // Begun here rather than nested: a statement must never run outside it.
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction()) {
        err = db.lastError().text();
        return false;
    }
    const QString keptExpenses = QStringLiteral("(SELECT id FROM ausgaben WHERE %1)").arg(Kept);
    // An expense's movements and details go or stay with the expense.
    const bool done =
        countKept(err)
        && exec(QStringLiteral("DELETE FROM ausgaben_detail WHERE ausgaben_id NOT IN %1").arg(keptExpenses), err, 1)
        && exec(QStringLiteral("DELETE FROM konto_bewegungen WHERE CASE WHEN COALESCE(ausgabe_id, 0) > 0 "
                               "THEN ausgabe_id NOT IN %1 ELSE NOT (%2) END").arg(keptExpenses, Kept), err, 2)
        && exec(QStringLiteral("DELETE FROM ausgaben WHERE NOT (%1)").arg(Kept), err, 1)
        && exec(QStringLiteral("DELETE FROM einnahmen WHERE NOT (%1)").arg(Kept), err, 1)
        && openWithoutKeptBookings(err)
        && stampYear(err);
    const bool committed = done && db.commit();
    if (done && !committed)
        err = db.lastError().text();
    if (!committed)
        db.rollback();
    // Either way the caches must equal the file again.
    DataProvider::reloadAfterRollback();
    return committed;
}

bool YearRollover::exec(const QString &sql, QString &err, int bindCount)
{
    QSqlQuery query;
    query.prepare(sql);
    for (int i = 0; i < bindCount; ++i)
        query.addBindValue(m_lastDay);
    if (query.exec())
        return true;
    err = query.lastError().text();
    return false;
}

// Only kept bookings are left: each opening amount leaves out their
// effect, counted as "Salden prüfen" counts it, so that no balance moves.
bool YearRollover::openWithoutKeptBookings(QString &err)
{
    QHash<int, qint64> effects;
    if (!BalanceCheck::bookingEffects(effects, err))
        return false;
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE konten SET initial_betrag = ROUND(betrag - ?, 2) WHERE id = ?"));
    if (!exec(QStringLiteral("UPDATE konten SET initial_betrag = betrag"), err))
        return false;
    for (auto it = effects.cbegin(); it != effects.cend(); ++it) {
        query.addBindValue(it.value() / 100.0);
        query.addBindValue(it.key());
        if (!query.exec()) {
            err = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool YearRollover::countKept(QString &err)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT (SELECT COUNT(*) FROM ausgaben WHERE %1) + (SELECT COUNT(*) "
                                 "FROM konto_bewegungen WHERE COALESCE(ausgabe_id, 0) = 0 AND %1)").arg(Kept));
    query.addBindValue(m_lastDay);
    query.addBindValue(m_lastDay);
    if (!query.exec() || !query.next()) {
        err = query.lastError().text();
        return false;
    }
    m_kept = query.value(0).toInt();
    return true;
}

bool YearRollover::stampYear(QString &err)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE settings SET value = ?, version = ? "
                                 "WHERE category = ? AND name = ?"));
    query.addBindValue(m_newYear);
    query.addBindValue(QString::number(m_newYear));
    query.addBindValue(QStringLiteral("MY_ZOLVEX"));
    query.addBindValue(QStringLiteral("CURRENT_YEAR"));
    if (!query.exec()) {
        err = query.lastError().text();
        return false;
    }
    if (query.numRowsAffected() != 1) {
        err = tr("Die Jahreszahl der Finanzdatei fehlt.");
        return false;
    }
    return true;
}
