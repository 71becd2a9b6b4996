#include "dbtransaction.h"

#include "dataprovider.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>

int DbTransaction::s_depth = 0;
bool DbTransaction::s_doomed = false;
QString DbTransaction::s_error;

DbTransaction::DbTransaction()
{
    if (s_depth == 0) {
        m_outermost = true;
        s_doomed = false;
        s_error.clear();
        QSqlDatabase db = QSqlDatabase::database();
        if (!db.transaction()) {
            s_doomed = true;
            s_error = db.lastError().text();
        }
    }
    ++s_depth;
}

DbTransaction::~DbTransaction()
{
    --s_depth;
    if (m_finished)
        return;
    if (m_outermost)
        rollback();
    else
        s_doomed = true;
}

bool DbTransaction::commit(QString &err)
{
    if (m_finished)
        return !s_doomed;
    m_finished = true;
    if (!m_outermost) {
        if (s_doomed) {
            err = s_error.isEmpty()
                ? QCoreApplication::translate("DbTransaction", "Die Transaktion wurde abgebrochen.")
                : s_error;
            return false;
        }
        return true;
    }
    if (s_doomed) {
        err = s_error.isEmpty()
            ? QCoreApplication::translate("DbTransaction", "Die Transaktion wurde abgebrochen.")
            : s_error;
        rollback();
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.commit()) {
        err = db.lastError().text();
        rollback();
        return false;
    }
    return true;
}

void DbTransaction::rollback()
{
    m_finished = true;
    QSqlDatabase db = QSqlDatabase::database();
    db.rollback();
    DataProvider::reloadAfterRollback();
}
