#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QSqlRecord>
#include <QString>

struct PostingResult;
class PaymentInstruction;
class QBoxLayout;
class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlRelationalTableModel;
class QTableView;
class QVBoxLayout;

// Asks with "Ja" and "Nein"; true only for "Ja". Return and Escape answer
// "Nein", so that nothing is deleted by accident.
bool confirmDeletion(QWidget *parent, const QString &title, const QString &text);

// A list of one table under its caption: a relational table model on the
// default connection and a read-only, single-row-selecting view on it.
// The header is shown only while the list has rows.
class MasterDataList
{
public:
    // columns: the fields shown, each with its header text; the others are hidden.
    MasterDataList(QWidget *parent, const QString &table, const QString &caption,
                   const QList<QPair<QString, QString>> &columns,
                   const QString &filter = QString());
    ~MasterDataList();

    MasterDataList(const MasterDataList &) = delete;
    MasterDataList &operator=(const MasterDataList &) = delete;

    // Sets the filter again and re-reads the table.
    void refilter(const QString &filter);
    // Re-reads the table with the current filter.
    void reselect();

    // The row the user selected last; -1 and an empty record when none.
    int currentRow() const;
    QSqlRecord currentRecord() const;
    bool hasCurrentRow() const { return currentRow() >= 0; }

    QVBoxLayout *layout() const { return m_layout; }
    QTableView *view() const { return m_view; }
    QSqlRelationalTableModel *model() const { return m_model; }

private:
    void updateHeader();

    QVBoxLayout *m_layout;
    QLabel *m_label;
    QTableView *m_view;
    QSqlRelationalTableModel *m_model;
};

// The frame that every master-data and booking dialog shares: a titled
// group box with an input grid, button boxes, lists, the close box and the
// message boxes. Subclasses fill the grid row by row in their constructors.
class MasterDataForm : public QDialog
{
    Q_OBJECT

public:
    ~MasterDataForm() override;

protected:
    // A master-data dialog closes from a box in its grid; a booking dialog
    // from an untitled group box below its input group, and its grid is
    // spaced a little wider.
    enum class Frame { MasterData, Booking };

    // groupTitle: title of the group box ("... erfassen / entfernen").
    MasterDataForm(const QString &groupTitle, QWidget *parent, Frame frame = Frame::MasterData);

    QGridLayout *grid() const { return m_grid; }

    // A label with field as its buddy in the given row; the field starts in
    // column 1 and spans columnSpan columns.
    void addRow(int row, const QString &label, QWidget *field, int columnSpan = 1);
    // A label with its input field as buddy in the given row; the field
    // spans columns 1-2 or sits in column 1 only.
    QLineEdit *addField(int row, const QString &label, bool spanBoth = true);
    // The same for an amount: the field every dialog reads amounts with.
    QLineEdit *addAmountField(int row, const QString &label, bool spanBoth = true);
    // An empty box for action buttons, spanning columns 0-2.
    QDialogButtonBox *addButtonBox(int row, int columnSpan = 3);
    QPushButton *addButton(QDialogButtonBox *box, const QString &text, bool enabled = true);
    // The close box with "Schliessen", which accepts the dialog.
    QPushButton *addCloseBox(int row, int columnSpan = 3);
    // Keeps a free row of the grid open.
    void addBlank(int row);
    // A list placed in the grid, spanning columns 0-2; owned by the dialog.
    MasterDataList *addList(int row, const QString &table, const QString &caption,
                            const QList<QPair<QString, QString>> &columns,
                            const QString &filter = QString(), int columnSpan = 3);
    void setStretchRow(int row, int minimumHeight, int stretch);

    // ---- Parts of the booking dialogs ----------------------------------------
    // The amount of a booking, "0.0" until the user types one.
    QLineEdit *addBookingAmount(int row, const QString &label);
    // Today, with the days a booking may carry: rangeDays either side of
    // today, within the year of the file.
    QDateEdit *newBookingDate(int rangeDays);
    // A list of bookings, newest first, with dates as "dd.MM.yyyy".
    MasterDataList *addBookingList(int row, const QString &table, const QString &caption,
                                   const QList<QPair<QString, QString>> &columns,
                                   const QString &objectName);
    // The instrument chosen in combo (its entries carry instrument ids);
    // null when none is chosen or its account is unknown.
    PaymentInstruction *chosenInstrument(const QComboBox *combo) const;
    // The row of list the user chose to delete: with none selected, says so
    // (missingTitle, missingText) and disables deleteButton; otherwise asks
    // "Eintrag %1 löschen?". -1 unless the answer was "Ja".
    int confirmedRow(const MasterDataList *list, QPushButton *deleteButton, const QString &missingTitle,
                     const QString &missingText);
    // Why a posting did not book: a refused input warns, anything else
    // (nothing found, a failed write) informs.
    void showPostingResult(const PostingResult &result);
    // Window title, icon, size limits and the field that gets the focus.
    void finishFrame(const QString &windowTitle, int maxHeight, int maxWidth, int minWidth,
                     QWidget *focus);

    // Message boxes with one OK button; the dialog stays open after them.
    void showInformation(const QString &title, const QString &text);
    void showWarning(const QString &title, const QString &text);
    // The refusal of a deletion because other rows still refer to the row.
    void showDataPresent(const QString &text);
    // Asks with "Ja" and "Nein"; true only for "Ja".
    bool confirm(const QString &title, const QString &text);

    // A name of blanks (or none) names nothing: refuses it with
    // "Name fehlt", disables saveButton and keeps the input. True when the
    // name can be stored.
    bool checkName(QLineEdit *field, QPushButton *saveButton);

    // Reads an amount field: valid when it is an amount with at most two
    // decimals and 0 < amount <= limit. Otherwise disables saveButton and
    // shows "Betrag ungültig!" with what is wrong.
    bool readAmount(const QLineEdit *field, double limit, QPushButton *saveButton, double &amount);
    // The same with limitText as what the box says about the limit.
    bool readAmount(const QLineEdit *field, double limit, const QString &limitText, QPushButton *saveButton,
                    double &amount);

private:
    void addCloseGroup();

    QBoxLayout *m_outer;
    QGroupBox *m_groupBox;
    QGridLayout *m_grid;
    QList<MasterDataList *> m_lists;
};
