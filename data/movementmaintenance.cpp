#include "movementmaintenance.h"

#include "dataprovider.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

bool MovementMaintenance::updateReferences(int movementId, const References &refs, QString &err)
{
    QSqlQuery query(QSqlDatabase::database());
    query.prepare(QStringLiteral("UPDATE konto_bewegungen SET zahlungsmittel_id = :zmid, ausgabe_id = :aid,"
                                 "tx_id = :txid,tx_typ = :txtyp,einnahme_quelle_id = :icsrc WHERE id = %1")
                      .arg(movementId));
    query.bindValue(QStringLiteral(":zmid"), refs.paymentInstrumentId);
    query.bindValue(QStringLiteral(":aid"), refs.expenseId);
    // tx_id is a VARCHAR(40) column.
    query.bindValue(QStringLiteral(":txid"), DataProvider::truncated(refs.txId, 38));
    query.bindValue(QStringLiteral(":txtyp"), refs.txType);
    query.bindValue(QStringLiteral(":icsrc"), refs.incomeSourceId);
    if (!query.exec()) {
        err = query.lastError().text();
        return false;
    }
    // The cached movements must show the corrected references too.
    DataProvider::instance()->loadAccountMovements();
    return true;
}
