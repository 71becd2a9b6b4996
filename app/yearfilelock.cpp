#include "yearfilelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QSysInfo>

namespace {

QString realPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A file not created yet, possibly behind a link that leads nowhere yet.
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

} // namespace

QString YearFileLock::lockPathFor(const QString &path)
{
    return realPath(path) + QStringLiteral(".lock");
}

bool YearFileLock::acquire(const QString &path)
{
    const QString shownFile = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    m_lockPath = lockPathFor(path);
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A lock whose program is gone on this computer counts as abandoned.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError && takeOverAbandonedLock(shownFile)
        && m_lock->tryLock(0))
        return true;

    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    if (error == QLockFile::LockFailedError) {
        QMessageBox::warning(nullptr, QObject::tr("Finanzdatei in Gebrauch"),
                             QObject::tr("Die Finanzdatei %1 wird bereits von einem anderen laufenden Zolvex "
                                         "verwendet. Bitte zuerst jenes Programm beenden.").arg(shownFile),
                             QMessageBox::Ok);
    } else if (error != QLockFile::NoError) {
        QMessageBox::warning(nullptr, QObject::tr("Finanzdatei nicht gesperrt"),
                             QObject::tr("Die Sperrdatei %1 für die Finanzdatei %2 kann nicht angelegt werden. "
                                         "Ohne Sperre könnten zwei Programme dieselbe Datei ändern; Zolvex "
                                         "wird daher nicht gestartet.")
                                 .arg(QDir::toNativeSeparators(m_lockPath), shownFile),
                             QMessageBox::Ok);
    }
    return false;
}

// Qt already takes over a lock of a program that is gone on this computer.
// An empty or unreadable lock names no program at all and is taken over;
// the lock of another computer is taken over only when the user says so.
bool YearFileLock::takeOverAbandonedLock(const QString &shownFile)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application)) {
        if (host.isEmpty() || host == QSysInfo::machineHostName())
            return false;
        QMessageBox ask(QMessageBox::Question, QObject::tr("Finanzdatei gesperrt"),
                        QObject::tr("Die Finanzdatei %1 ist von einem Zolvex auf dem Rechner \"%2\" gesperrt "
                                    "(Prozess %3). Ob jenes Programm noch läuft, kann hier nicht geprüft werden.\n\n"
                                    "Nur wenn dort sicher kein Zolvex mit dieser Datei mehr läuft, darf die Sperre "
                                    "übernommen werden. Sperre übernehmen?")
                            .arg(shownFile, host).arg(pid),
                        QMessageBox::NoButton);
        QPushButton *yes = ask.addButton(QObject::tr("Ja"), QMessageBox::YesRole);
        QPushButton *no = ask.addButton(QObject::tr("Nein"), QMessageBox::NoRole);
        ask.setDefaultButton(no);
        ask.setEscapeButton(no);
        ask.exec();
        if (ask.clickedButton() != yes)
            return false;
    }
    // removeStaleLockFile() cannot open a lock without permissions.
    return m_lock->removeStaleLockFile() || QFile::remove(m_lockPath);
}
