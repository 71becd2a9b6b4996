#include "testsupport.h"

#include "colorsetting.h"
#include "dataprovider.h"
#include "schema.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

TestWorkspace::TestWorkspace(bool withFile)
    : m_previousPath(QDir::currentPath())
{
    QDir(m_dir.path()).mkdir(QStringLiteral("Data"));
    QDir::setCurrent(m_dir.path());
    if (withFile) {
        open();
        createTables();
    }
}

TestWorkspace::~TestWorkspace()
{
    close();
    QDir::setCurrent(m_previousPath);
}

QString TestWorkspace::path() const { return m_dir.path(); }
QString TestWorkspace::dataPath() const { return m_dir.path() + QStringLiteral("/Data"); }
QString TestWorkspace::filePath() const { return dataPath() + QStringLiteral("/finanzen.dat"); }

bool TestWorkspace::open(const QString &relativeFile, const QString &connectOptions)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(relativeFile);
    db.setConnectOptions(connectOptions);
    return db.open();
}

void TestWorkspace::close()
{
    DataProvider::release();
    ColorSetting::release();
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)))
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestWorkspace::seedMasterData()
{
    const char *statements[] = {
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) "
        "VALUES ('2026-01-01','Postkonto',12,1,'CH12-3456',1000.0,1000.0,'Bank-Account')",
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) "
        "VALUES ('2026-01-01','Bargeld',13,1,'',200.0,200.0,'Bargeld')",
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) "
        "VALUES ('2026-01-01','Sparkonto',12,1,'CH98-7654',5000.0,5000.0,'Bank-Account')",
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) "
        "VALUES (25,1,1,'CH12-3456','Bank-Account','Postkonto')",
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) "
        "VALUES (21,2,0,'','?" "?','Bargeld')",
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) "
        "VALUES (24,1,1,'4111','?" "?','Visa')",
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) "
        "VALUES (25,3,1,'CH98-7654','Bank-Account','Sparkonto')",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Lebensmittel',6000.0)",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Wohnen',18000.0)",
        "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (1,'Grundnahrung')",
        "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (1,'Getränke')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (1,0.0,0.0,'Supermarkt','Migros')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (1,0.0,0.0,'Quartierladen','Müller''s Laden')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
        "VALUES (2,0.0,0.0,'Miete','Vermieter AG')",
        "INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung,mwst) "
        "VALUES (60000.0,1,1,'Lohn','Arbeitgeber',0.0)",
        "INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung,mwst) "
        "VALUES (12000.0,1,1,'Rente','AHV',0.0)",
    };
    for (const char *sql : statements)
        exec(QString::fromUtf8(sql));
}

QVariant TestWorkspace::scalar(const QString &sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

int TestWorkspace::rowCount(const QString &table)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

double TestWorkspace::balance(int accountId)
{
    return scalar(QStringLiteral("SELECT betrag FROM konten WHERE id = %1").arg(accountId)).toDouble();
}

bool TestWorkspace::exec(const QString &sql)
{
    QSqlQuery query;
    if (query.exec(sql))
        return true;
    QTest::qFail(qPrintable(QStringLiteral("SQL failed: %1: %2").arg(sql, query.lastError().text())),
                 __FILE__, __LINE__);
    return false;
}

MessageBoxCatcher::MessageBoxCatcher(int button)
    : m_defaultButton(button), m_timer(new QTimer)
{
    m_timer->setInterval(20);
    QObject::connect(m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    delete m_timer;
}

void MessageBoxCatcher::setAnswers(const QList<int> &buttons)
{
    m_answers = buttons;
}

void MessageBoxCatcher::setButtonTexts(const QStringList &texts)
{
    m_buttonTexts = texts;
}

void MessageBoxCatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_titles << box->windowTitle();
    m_texts << box->text();
    ++m_count;

    QAbstractButton *button = nullptr;
    if (!m_buttonTexts.isEmpty()) {
        const QString wantedText = m_buttonTexts.takeFirst();
        for (QAbstractButton *candidate : box->buttons()) {
            if (candidate->text().remove(QLatin1Char('&')) == wantedText)
                button = candidate;
        }
    }
    int wanted = (button || m_answers.isEmpty()) ? m_defaultButton : m_answers.takeFirst();
    if (!button && wanted != 0)
        button = box->button(static_cast<QMessageBox::StandardButton>(wanted));
    if (!button)
        button = box->defaultButton();
    if (!button)
        button = box->escapeButton();
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        button->click();
    else
        box->done(0);
}
