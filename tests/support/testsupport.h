#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

// A private working folder with its own ./Data/finanzen.dat, opened as the
// default connection; the process works inside it while the workspace lives.
class TestWorkspace
{
public:
    explicit TestWorkspace(bool withFile = true); // withFile: create the file with the full schema
    ~TestWorkspace();

    QString path() const { return m_dir.path(); }
    QString dataPath() const { return path() + QStringLiteral("/Data"); }
    QString filePath() const { return dataPath() + QStringLiteral("/finanzen.dat"); }

    bool open(const QString &relativeFile = QStringLiteral("./Data/finanzen.dat"),
              const QString &connectOptions = QString());
    void close(); // releases the singletons and the connection

    void seedMasterData(); // small, realistic master data with the ids in Seed

    static QVariant scalar(const QString &sql);
    static int rowCount(const QString &table) { return scalar("SELECT COUNT(*) FROM " + table).toInt(); }
    static double balance(int id) { return scalar("SELECT betrag FROM konten WHERE id = " + QString::number(id)).toDouble(); }
    static bool exec(const QString &sql); // fails the current test when the statement fails

private:
    QTemporaryDir m_dir;
    QString m_previousPath;
};

// The seeded accounts 1 "Postkonto" (bank, 1000.00), 2 "Bargeld" (cash, 200.00), 3 "Sparkonto"
// (bank, 5000.00); instruments 1 "Postkonto" and 3 "Visa" linked to account 1, 2 "Bargeld" on its
// own account 2, 4 "Sparkonto" linked to 3; types 1 "Lebensmittel" (budget 6000, sub-types
// "Grundnahrung", "Getränke"), 2 "Wohnen" (18000); recipients "Migros" and "Müller's Laden" (type 1),
// "Vermieter AG" (type 2); income sources "Lohn" (60000) and "Rente" (12000).
namespace Seed {
enum : int {
    BankAccount = 1, CashAccount = 2, SavingsAccount = 3,
    BankInstrument = 1, CashInstrument = 2, CardInstrument = 3, SavingsInstrument = 4,
    FoodType = 1, HomeType = 2, FoodSubBasic = 1, FoodSubDrinks = 2,
    RecipientMigros = 1, RecipientMueller = 2, RecipientLandlord = 3,
    IncomeSalary = 1, IncomePension = 2
};
}

// While it lives, answers every message box that appears and remembers its
// title and text. Arm it before the action that opens the box.
class MessageBoxCatcher
{
public:
    // button: the QMessageBox::StandardButton to press, 0 for the box's default,
    // PressReturn for whatever the Return key does.
    enum { PressReturn = -1 };
    explicit MessageBoxCatcher(int button = 0);

    bool seen() const { return !m_titles.isEmpty(); }
    int count() const { return m_titles.size(); }
    QString title() const { return m_titles.value(0); } // of the first box
    QString text() const { return m_texts.value(0); }
    QStringList titles() const { return m_titles; }
    QStringList texts() const { return m_texts; }

    // Answers for the boxes in order: by button text ("Ja") first, then by standard button.
    void setAnswers(const QList<int> &buttons) { m_answers = buttons; }
    void setButtonTexts(const QStringList &texts) { m_buttonTexts = texts; }

private:
    void poll();
    QStringList m_titles;
    QStringList m_texts;
    QList<int> m_answers;
    QStringList m_buttonTexts;
    int m_defaultButton;
    QTimer m_timer;
};
