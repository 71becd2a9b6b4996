#include "database.h"

#include <QMessageBox>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>

bool openDatabase(const QString &path, bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    // A busy file is waited for a moment before a statement fails.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        QMessageBox::warning(nullptr, QObject::tr("Database Error"), db.lastError().text(),
                             QMessageBox::Ok);
        return false;
    }
    return true;
}

void closeDatabase()
{
    const QString name = QLatin1String(QSqlDatabase::defaultConnection);
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
}
