#pragma once

// Drives the dialogs the way a user does: fields and lists are found by
// their labels, buttons by their captions; text is typed key by key.

#include <QtTest>
#include <QtWidgets>

namespace FormDriver {

template <typename Widget>
Widget *buddyOf(QWidget *dialog, const QString &label)
{
    for (QLabel *caption : dialog->findChildren<QLabel *>()) {
        if (caption->text() == label)
            return qobject_cast<Widget *>(caption->buddy());
    }
    return nullptr;
}

inline QLineEdit *field(QWidget *dialog, const QString &label) { return buddyOf<QLineEdit>(dialog, label); }
inline QTableView *list(QWidget *dialog, const QString &caption) { return buddyOf<QTableView>(dialog, caption); }

template <typename Button = QPushButton>
Button *button(QWidget *dialog, const QString &text)
{
    for (Button *candidate : dialog->findChildren<Button *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// Replaces the field's text by typing (textEdited fires), umlauts included.
inline void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Radio buttons and check boxes react on their indicator, not on the empty
// rest of a wide grid cell.
inline void click(QAbstractButton *target)
{
    const bool push = qobject_cast<QPushButton *>(target) != nullptr;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier,
                      push ? target->rect().center() : QPoint(8, target->height() / 2));
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
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << view->model()->index(row, nameColumn(view)).data().toString();
    return texts;
}

// Clicks the row whose name reads text; false when there is none.
inline bool clickRow(QTableView *view, const QString &text)
{
    const int row = rows(view).indexOf(text);
    if (row < 0)
        return false;
    const QModelIndex index = view->model()->index(row, nameColumn(view));
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
    return view->currentIndex().row() == row;
}

} // namespace FormDriver
