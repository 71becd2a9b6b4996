#include "database.h"

#include <QMessageBox>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>

bool openDatabase(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open()) {
        QMessageBox::warning(nullptr, QObject::tr("Database Error"), db.lastError().text(),
                             QMessageBox::Ok);
        return false;
    }
    return true;
}
