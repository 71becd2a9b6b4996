#include "archivefileinfo.h"
#include "testsupport.h"
#include "yearfileopener.h"

#include <QFile>
#include <QTest>
#include <QTextStream>

namespace {

void writeFile(const QString &path, const QByteArray &content = QByteArray("x"))
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestArchiveFileInfo : public QObject
{
    Q_OBJECT

private slots:
    void currentYearFileWithoutChoice();
    void choiceOfExistingArchive();
    void choiceIgnoredUnlessBareYearFileName_data();
    void choiceIgnoredUnlessBareYearFileName();
    void archivesAreListedBesideTheFileInUse();
    void onlyRealYearFilesCount();
    void choosingWritesOrRemovesTheChoiceFile();
    void unusableArchiveChoiceIsForgotten_data();
    void unusableArchiveChoiceIsForgotten();
};

void TestArchiveFileInfo::currentYearFileWithoutChoice()
{
    TestWorkspace ws;
    ArchiveFileInfo info;
    QCOMPARE(info.currentFileName(), QStringLiteral("./Data/finanzen.dat"));
    QVERIFY(!info.isArchiveInUse());
    QVERIFY(!info.hasArchiveFiles());
}

void TestArchiveFileInfo::choiceOfExistingArchive()
{
    TestWorkspace ws;
    writeFile(ws.dataPath() + "/finanzen_2014.dat");
    writeFile(ws.dataPath() + "/finance_file.txt", "finanzen_2014.dat");

    ArchiveFileInfo info;
    QVERIFY(info.hasArchiveFiles());
    QCOMPARE(info.currentFileName(), QStringLiteral("./Data/finanzen_2014.dat"));
    QVERIFY(info.isArchiveInUse());
}

void TestArchiveFileInfo::choiceIgnoredUnlessBareYearFileName_data()
{
    QTest::addColumn<QByteArray>("choice");
    QTest::newRow("missing archive") << QByteArray("finanzen_2013.dat");
    QTest::newRow("parent folder") << QByteArray("../finanzen_2014.dat");
    QTest::newRow("absolute path") << QByteArray("/tmp/finanzen_2014.dat");
    QTest::newRow("sub folder") << QByteArray("Data/finanzen_2014.dat");
    QTest::newRow("other suffix") << QByteArray("finanzen_2014.dat.bak");
    QTest::newRow("empty") << QByteArray("");
}

void TestArchiveFileInfo::choiceIgnoredUnlessBareYearFileName()
{
    QFETCH(QByteArray, choice);
    TestWorkspace ws;
    writeFile(ws.dataPath() + "/finanzen_2014.dat");
    writeFile(ws.dataPath() + "/finanzen_2014.dat.bak");
    writeFile(ws.path() + "/finanzen_2014.dat");
    writeFile(ws.dataPath() + "/finance_file.txt", choice);

    ArchiveFileInfo info;
    QCOMPARE(info.currentFileName(), QStringLiteral("./Data/finanzen.dat"));
    QVERIFY(!info.isArchiveInUse());
}

void TestArchiveFileInfo::archivesAreListedBesideTheFileInUse()
{
    TestWorkspace ws;
    writeFile(ws.dataPath() + "/finanzen_2013.dat");
    writeFile(ws.dataPath() + "/finanzen_2014.dat");

    QStringList whileCurrent;
    ArchiveFileInfo().otherFiles(whileCurrent);
    whileCurrent.sort();
    QCOMPARE(whileCurrent, (QStringList{"finanzen_2013.dat", "finanzen_2014.dat"}));

    writeFile(ws.dataPath() + "/finance_file.txt", "finanzen_2014.dat");
    QStringList whileArchived;
    ArchiveFileInfo().otherFiles(whileArchived);
    QCOMPARE(whileArchived, (QStringList{"finanzen.dat", "finanzen_2013.dat"}));
}

void TestArchiveFileInfo::onlyRealYearFilesCount()
{
    TestWorkspace ws;
    writeFile(ws.dataPath() + "/finanzen_20xx.dat");
    writeFile(ws.dataPath() + "/.finanzen_2014.dat.part");
    QVERIFY(!ArchiveFileInfo().hasArchiveFiles());
    QStringList files;
    ArchiveFileInfo().otherFiles(files);
    QVERIFY(files.isEmpty());
}

void TestArchiveFileInfo::choosingWritesOrRemovesTheChoiceFile()
{
    TestWorkspace ws;
    const QString choice = ws.dataPath() + "/finance_file.txt";

    ArchiveFileInfo().setCurrentFile("finanzen_2013.dat");
    QCOMPARE(readFile(choice), QByteArray("finanzen_2013.dat"));
    QCOMPARE(QFile::permissions(choice) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());

    ArchiveFileInfo().setCurrentFile("finanzen_2012.dat");
    QCOMPARE(readFile(choice), QByteArray("finanzen_2012.dat"));

    ArchiveFileInfo().setCurrentFile("finanzen_2012/../../x.dat");
    QCOMPARE(readFile(choice), QByteArray("finanzen_2012.dat"));

    ArchiveFileInfo().setCurrentFile("finanzen.dat");
    QVERIFY(!QFile::exists(choice));
}

void TestArchiveFileInfo::unusableArchiveChoiceIsForgotten_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("damaged") << QByteArray("Kontoauszug 2014");
}

void TestArchiveFileInfo::unusableArchiveChoiceIsForgotten()
{
    QFETCH(QByteArray, archive);
    TestWorkspace ws;
    ws.close();
    writeFile(ws.dataPath() + "/finanzen_2014.dat", archive);
    writeFile(ws.dataPath() + "/finance_file.txt", "finanzen_2014.dat");
    MessageBoxCatcher boxes;
    YearFileOpener opener;

    QVERIFY(opener.open());
    QCOMPARE(boxes.titles(), QStringList{"Jahresarchiv unbrauchbar"});
    QVERIFY(boxes.text().contains("finanzen_2014.dat") && boxes.text().contains("./Data/finance_file.txt"));
    QVERIFY(!QFile::exists(ws.dataPath() + "/finance_file.txt"));
    QCOMPARE(opener.fileName(), QStringLiteral("./Data/finanzen.dat"));
    QVERIFY(!opener.isArchiveInUse());
}

QTEST_MAIN(TestArchiveFileInfo)
#include "tst_archivefileinfo.moc"
