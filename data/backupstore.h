#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

// The verified copies of the current year file in ./Data/Sicherungen: writes
// a new one (temporary name, checked, then renamed; the newest 20 are kept),
// lists the intact ones with what they hold, and puts one back in place of
// the year file. Every file it creates is private to the owner.
class BackupStore
{
    Q_DECLARE_TR_FUNCTIONS(BackupStore)

public:
    // What a copy holds, so that the user can tell the copies apart.
    struct Copy
    {
        QString path;
        QDateTime written;
        qint64 expenses = 0;
        qint64 movements = 0;
        double balanceSum = 0.0;
    };

    static constexpr int Kept = 20;

    explicit BackupStore(const QString &folder = QStringLiteral("./Data/Sicherungen"));

    QString folder() const { return m_folder; }

    // Copies the file open on the default connection. Returns the copy's
    // path, or an empty text and err (German) saying why there is none.
    // The copy at keep, when given, survives the removal of old copies.
    QString write(QString &err, const QString &keep = QString());
    // The intact copies, newest first; damaged ones are never listed.
    QList<Copy> list() const;
    // Checks the copy again, first saves the open file as a copy of its own,
    // then closes the default connection and puts the copy in place of the
    // year file. After true the program must end.
    bool restore(const QString &copyPath, QString &err);

private:
    QString newCopyName() const;
    QStringList copyNames() const;
    void prune(const QString &keep) const;

    QString m_folder;
};
