#pragma once

#include <QDate>
#include <QStyledItemDelegate>

// The file keeps dates as "yyyy-MM-dd"; the booking lists show "dd.MM.yyyy".
class DateDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        if (date.isValid())
            return date.toString(QStringLiteral("dd.MM.yyyy"));
        return QStyledItemDelegate::displayText(value, locale);
    }
};
