#include "testsupport.h"

#include "colorsetting.h"
#include "dataprovider.h"
#include "schema.h"

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

TestWorkspace::TestWorkspace(bool withFile)
    : m_previousPath(QDir::currentPath())
{
    QDir(m_dir.path()).mkdir(QStringLiteral("Data"));
    QDir::setCurrent(m_dir.path());
    if (withFile && open())
        createTables();
}

TestWorkspace::~TestWorkspace()
{
    close();
    QDir::setCurrent(m_previousPath);
}

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
    QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestWorkspace::seedMasterData()
{
    const char *statements[] = {
        "INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,konto_beschreibung) VALUES "
        "('2026-01-01','Postkonto',12,1,'CH12-3456',1000.0,1000.0,'Bank-Account'),"
        "('2026-01-01','Bargeld',13,1,'',200.0,200.0,'Bargeld'),"
        "('2026-01-01','Sparkonto',12,1,'CH98-7654',5000.0,5000.0,'Bank-Account')",
        "INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,karten_nummer,beschreibung,name) VALUES "
        "(25,1,1,'CH12-3456','Bank-Account','Postkonto'), (21,2,0,'','?" "?','Bargeld'),"
        "(24,1,1,'4111','?" "?','Visa'), (25,3,1,'CH98-7654','Bank-Account','Sparkonto')",
        "INSERT INTO ausgaben_typen (name,budget) VALUES ('Lebensmittel',6000.0), ('Wohnen',18000.0)",
        "INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (1,'Grundnahrung'), (1,'Getränke')",
        "INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) VALUES "
        "(1,0.0,0.0,'Supermarkt','Migros'), (1,0.0,0.0,'Quartierladen','Müller''s Laden'),"
        "(2,0.0,0.0,'Miete','Vermieter AG')",
        "INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung,mwst) VALUES "
        "(60000.0,1,1,'Lohn','Arbeitgeber',0.0), (12000.0,1,1,'Rente','AHV',0.0)",
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

bool TestWorkspace::exec(const QString &sql)
{
    QSqlQuery query;
    const bool ok = query.exec(sql);
    if (!ok)
        QTest::qFail(qPrintable(sql + QStringLiteral(": ") + query.lastError().text()), __FILE__, __LINE__);
    return ok;
}

MessageBoxCatcher::MessageBoxCatcher(int button)
    : m_defaultButton(button)
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(20);
}

void MessageBoxCatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_titles << box->windowTitle();
    m_texts << box->text();

    QAbstractButton *button = nullptr;
    const QString wantedText = m_buttonTexts.isEmpty() ? QString() : m_buttonTexts.takeFirst();
    for (QAbstractButton *candidate : box->buttons()) {
        if (!wantedText.isEmpty() && candidate->text().remove(QLatin1Char('&')) == wantedText)
            button = candidate;
    }
    const int wanted = (button || m_answers.isEmpty()) ? m_defaultButton : m_answers.takeFirst();
    if (!button && wanted == PressReturn)
        return QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    if (!button && wanted != 0)
        button = box->button(static_cast<QMessageBox::StandardButton>(wanted));
    if (!button)
        button = box->defaultButton() ? box->defaultButton() : box->escapeButton();
    if (button)
        button->click();
    else
        box->done(0);
}
