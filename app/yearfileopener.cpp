#include "yearfileopener.h"

#include "database.h"
#include "fileprivacy.h"
#include "schema.h"
#include "verifiedcopy.h"
#include "yeardataactions.h"
#include "yearfilecheck.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

bool askYesNo(const QString &title, const QString &text)
{
    QMessageBox ask(QMessageBox::Question, title, text, QMessageBox::NoButton);
    QPushButton *yes = ask.addButton(QObject::tr("Ja"), QMessageBox::YesRole);
    QPushButton *no = ask.addButton(QObject::tr("Nein"), QMessageBox::NoRole);
    ask.setDefaultButton(no);
    ask.setEscapeButton(no);
    ask.exec();
    return ask.clickedButton() == yes;
}

} // namespace

YearFileOpener::YearFileOpener()
{
    makeNewFilesPrivate();
}

bool YearFileOpener::open()
{
    m_fileName = m_archive.currentFileName();
    Result result = openFile();
    if (result == Result::Unusable && isArchiveInUse() && forgetUnusableArchive(m_problem))
        result = openFile();
    if (result == Result::Unusable)
        refuse(QObject::tr("Finanzdatei unbrauchbar"), m_problem);
    if (result == Result::Opened && isReadOnly())
        QMessageBox::information(nullptr, m_readOnlyTitle, m_readOnlyReason, QMessageBox::Ok);
    // Before anything can be written, the state as found is kept.
    if (result == Result::Opened && !isReadOnly() && !isArchiveInUse())
        YearDataActions::writeStartBackup();
    return result == Result::Opened;
}

YearFileOpener::Result YearFileOpener::openFile()
{
    m_readOnlyReason.clear();
    if (!m_lock.acquire(m_fileName))
        return Result::End;
    bool writeProtected = false;
    m_problem = YearFileCheck::inspectBeforeOpen(m_fileName, writeProtected);
    if (!m_problem.isEmpty())
        return Result::Unusable;
    if (writeProtected) {
        m_readOnlyTitle = QObject::tr("Finanzdatei schreibgeschützt");
        m_readOnlyReason = QObject::tr("Die Finanzdatei %1 ist schreibgeschützt. Sie wird nur zum Ansehen "
                                       "geöffnet; Buchungen sind nicht möglich.").arg(shown(m_fileName));
    }

    // Opening an SQLite file creates it, so ask first.
    if (QFile::exists(m_fileName))
        return openExisting();
    if (!openDatabase(m_fileName))
        return Result::End;
    qDebug() << "new Db-file! ";
    restrictToOwner(m_fileName);
    YearFileCheck::applySafetySettings();
    createTables();
    return Result::Opened;
}

YearFileOpener::Result YearFileOpener::openExisting()
{
    if (!openDatabase(m_fileName, isReadOnly()))
        return Result::End;
    if (YearFileCheck::isVersion13File()) {
        const Result upgraded = offerUpgrade();
        if (upgraded != Result::Opened) {
            closeDatabase();
            return upgraded;
        }
    }
    m_problem = YearFileCheck::verifyOpenedFile(m_fileName);
    if (!m_problem.isEmpty()) {
        closeDatabase();
        return Result::Unusable;
    }
    // A newer program's file is never rewritten in this program's format.
    if (!isReadOnly() && YearFileCheck::isNewerVersion()) {
        m_readOnlyTitle = QObject::tr("Finanzdatei einer neueren Version");
        m_readOnlyReason = QObject::tr("Die Finanzdatei %1 wurde von einer neueren Zolvex-Version geschrieben. "
                                       "Sie wird nur zum Ansehen geöffnet und nicht verändert; zum Buchen bitte "
                                       "die neuere Version verwenden.").arg(shown(m_fileName));
        closeDatabase();
        if (!openDatabase(m_fileName, true))
            return Result::End;
    }
    if (!isReadOnly())
        YearFileCheck::applySafetySettings();
    return Result::Opened;
}

YearFileOpener::Result YearFileOpener::offerUpgrade()
{
    const QString file = shown(m_fileName);
    if (isReadOnly()) {
        refuse(QObject::tr("Finanzdatei einer älteren Version"),
               QObject::tr("Die Finanzdatei %1 stammt von der älteren Version 1.3 und müsste aktualisiert "
                           "werden, ist aber schreibgeschützt. Sie wird nicht verwendet.").arg(file));
        return Result::End;
    }
    if (!askYesNo(QObject::tr("Finanzdatei einer älteren Version"),
                  QObject::tr("Die Finanzdatei %1 stammt von der älteren Version 1.3 und kann erst nach einer "
                              "Aktualisierung auf die Version 1.4 verwendet werden. Vorher wird eine geprüfte "
                              "Kopie der Datei daneben abgelegt.\n\nSoll die Datei jetzt aktualisiert werden?")
                      .arg(file)))
        return Result::End;

    QString err;
    // The backups belong to the current year's file, never to an archive.
    if (!isArchiveInUse())
        YearDataActions::writeStartBackup();
    const QString copy = VerifiedCopy::write(m_fileName, QStringLiteral("1.4"), err);
    if (copy.isEmpty()) {
        refuse(QObject::tr("Aktualisierung abgebrochen"),
               QObject::tr("Die Finanzdatei %1 wurde nicht verändert.\n\n%2").arg(file, err));
        return Result::End;
    }
    if (!migrateDb13To14(err)) {
        refuse(QObject::tr("Aktualisierung abgebrochen"),
               QObject::tr("Die Finanzdatei %1 konnte nicht aktualisiert werden und ist unverändert; die Kopie "
                           "%2 bleibt erhalten.\n\n%3").arg(file, QDir::toNativeSeparators(copy), err));
        return Result::End;
    }
    QMessageBox::information(nullptr, QObject::tr("Finanzdatei aktualisiert"),
                             QObject::tr("Die Finanzdatei %1 ist nun auf der Version 1.4. Die alte Datei liegt "
                                         "geprüft unter %2.").arg(file, QDir::toNativeSeparators(copy)),
                             QMessageBox::Ok);
    return Result::Opened;
}

// An archive chosen for this start that cannot be used must not keep the
// program from starting: the choice is forgotten and the current year's
// file opened instead.
bool YearFileOpener::forgetUnusableArchive(const QString &problem)
{
    m_lock.release();
    QMessageBox::warning(nullptr, QObject::tr("Jahresarchiv unbrauchbar"),
                         QObject::tr("Das Jahresarchiv %1, in %2 für diesen Start gewählt, ist leer oder "
                                     "beschädigt:\n%3\n\nDie Wahl wird vergessen; es wird die Finanzdatei des "
                                     "laufenden Jahres geöffnet.")
                             .arg(shown(m_fileName), QDir::toNativeSeparators(ArchiveFileInfo::choiceFile()), problem),
                         QMessageBox::Ok);
    if (!QFile::remove(ArchiveFileInfo::choiceFile())) {
        m_problem = QObject::tr("Die Auswahldatei %1 kann nicht entfernt werden.")
                        .arg(shown(ArchiveFileInfo::choiceFile()));
        return false;
    }
    m_archive = ArchiveFileInfo();
    m_fileName = m_archive.currentFileName();
    return true;
}

void YearFileOpener::refuse(const QString &title, const QString &text) const
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
}
