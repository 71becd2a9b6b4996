#pragma once

// Drives the master-data dialogs the way a user does: finds fields by their
// labels, buttons by their captions and lists by their captions, types,
// clicks and reads what the lists show.

#include <QAbstractItemModel>
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QWidget>

namespace FormDriver {

// The input field whose label reads label.
inline QLineEdit *field(QWidget *dialog, const QString &label)
{
    for (QLabel *caption : dialog->findChildren<QLabel *>()) {
        if (caption->text() == label)
            return qobject_cast<QLineEdit *>(caption->buddy());
    }
    return nullptr;
}

// The list under the caption.
inline QTableView *list(QWidget *dialog, const QString &caption)
{
    for (QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->text() == caption)
            return qobject_cast<QTableView *>(label->buddy());
    }
    return nullptr;
}

template <typename Button = QPushButton>
Button *button(QWidget *dialog, const QString &text)
{
    for (Button *candidate : dialog->findChildren<Button *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Replaces the field's text by typing, as a user does (textEdited fires).
inline void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Every character as typed text, umlauts included.
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline void click(QAbstractButton *target)
{
    // Radio buttons react on their indicator and caption only, not on the
    // empty rest of a wide grid cell.
    const bool pushButton = qobject_cast<QPushButton *>(target) != nullptr;
    const QPoint at = pushButton ? target->rect().center() : QPoint(8, target->height() / 2);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
}

// The shown column headed "Name", else the first shown column.
inline int nameColumn(QTableView *view)
{
    int first = -1;
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        if (view->isColumnHidden(column))
            continue;
        if (view->model()->headerData(column, Qt::Horizontal).toString() == QLatin1String("Name"))
            return column;
        if (first < 0)
            first = column;
    }
    return qMax(first, 0);
}

// The texts of the list's name column, top to bottom.
inline QStringList rows(QTableView *view)
{
    QStringList texts;
    const int column = nameColumn(view);
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, column).data().toString();
    return texts;
}

// Clicks the row whose name column reads text; false when absent.
inline bool clickRow(QTableView *view, const QString &text)
{
    const int row = rows(view).indexOf(text);
    if (row < 0)
        return false;
    const QModelIndex index = view->model()->index(row, nameColumn(view));
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(index).center());
    return view->currentIndex().row() == row;
}

} // namespace FormDriver
