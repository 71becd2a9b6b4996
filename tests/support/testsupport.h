#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

// A private working folder with its own ./Data/finanzen.dat, opened as the
// program's default connection. The process works inside the folder while
// the workspace lives; the singletons are released when it goes away.
class TestWorkspace
{
public:
    // withFile: create and open ./Data/finanzen.dat with the full schema.
    explicit TestWorkspace(bool withFile = true);
    ~TestWorkspace();

    QString path() const;            // absolute path of the working folder
    QString dataPath() const;        // absolute path of its ./Data
    QString filePath() const;        // absolute path of ./Data/finanzen.dat

    // Opens the given file (relative to the working folder) as default
    // connection, with the driver's connect options when given.
    bool open(const QString &relativeFile = QStringLiteral("./Data/finanzen.dat"),
              const QString &connectOptions = QString());
    void close();                    // releases singletons, closes the connection

    // A small, realistic set of master data; ids are fixed (see the .cpp).
    void seedMasterData();

    // Direct reads of the file for assertions.
    static QVariant scalar(const QString &sql);
    static int rowCount(const QString &table);
    static double balance(int accountId);

    // Runs a statement and fails the current test when it does not succeed.
    static bool exec(const QString &sql);

private:
    QTemporaryDir m_dir;
    QString m_previousPath;
};

// Fixed ids of the seeded master data.
namespace Seed {
enum : int {
    BankAccount = 1,        // "Postkonto", konto_typ 12, balance 1000.00
    CashAccount = 2,        // own account of "Bargeld", konto_typ 13, balance 200.00
    SavingsAccount = 3,     // "Sparkonto", konto_typ 12, balance 5000.00
    BankInstrument = 1,     // "Postkonto", type 25, linked to account 1
    CashInstrument = 2,     // "Bargeld", type 21, own account 2
    CardInstrument = 3,     // "Visa", type 24, linked to account 1
    SavingsInstrument = 4,  // "Sparkonto", type 25, linked to account 3
    FoodType = 1,           // "Lebensmittel", budget 6000 with sub-types 1 "Grundnahrung", 2 "Getränke"
    HomeType = 2,           // "Wohnen", budget 18000, no sub-types
    FoodSubBasic = 1,
    FoodSubDrinks = 2,
    RecipientMigros = 1,    // "Migros", type 1
    RecipientMueller = 2,   // "Müller's Laden", type 1
    RecipientLandlord = 3,  // "Vermieter AG", type 2
    IncomeSalary = 1,       // "Lohn", volume 60000
    IncomePension = 2       // "Rente", volume 12000
};
}

// While it lives, closes every message box that appears, after remembering
// its title and text. Arm it before the action that opens the box.
class MessageBoxCatcher
{
public:
    // button: the standard button to press (QMessageBox::StandardButton),
    // 0 for the box's default/escape button.
    explicit MessageBoxCatcher(int button = 0);
    ~MessageBoxCatcher();

    bool seen() const { return m_count > 0; }
    QString title() const { return m_titles.value(0); }   // of the first box
    QString text() const { return m_texts.value(0); }
    QStringList titles() const { return m_titles; }        // of every box, in order
    QStringList texts() const { return m_texts; }
    int count() const { return m_count; }

    // Answer the boxes in order: first gets buttons[0], then buttons[1], ...
    void setAnswers(const QList<int> &buttons);
    // Answer the boxes in order by the text of the button to press ("Ja");
    // used before the numeric answers.
    void setButtonTexts(const QStringList &texts);

private:
    void poll();
    int m_count = 0;
    QStringList m_titles;
    QStringList m_texts;
    QList<int> m_answers;
    QStringList m_buttonTexts;
    int m_defaultButton;
    class QTimer *m_timer;
};
