#include "paymentinstrpaintable.h"

#include "paymentinstruction.h"
#include "imageitem.h"
#include "picturescene.h"

#include <QColor>
#include <QFont>

void PaymentInstrPaintable::paintButton(int, PictureScene *scene, const QFont &font, const QColor &colour)
{
    if (!scene || !m_record)
        return;
    const QPoint &p = m_position;
    const int type = m_record->getInstrumentType();
    const QRectF box(p.x(), p.y(), 420, 40);

    if (type == InstrumentType::AccountsPage) {
        // The header of the accounts page.
        scene->addFilledRect(box, colour);
        titleText(scene, p, cut(m_record->getName(), 30), font);
        actionPicture(scene, m_record, p, 250, QStringLiteral(":/images/back-arrow.png"), PictureKind::BackToMainMenu,
                      tr("zurück"));
        actionPicture(scene, nullptr, p, 280, QStringLiteral(":/images/settings-yellow.png"), PictureKind::MasterData,
                      tr("Konten bearbeiten"), QStringLiteral("AccountSettings"));
        actionPicture(scene, nullptr, p, 320, QStringLiteral(":/images/settings-red.png"), PictureKind::MasterData,
                      tr("Zahlungsmittel bearbeiten"), QStringLiteral("PaymentSettings"));
        actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"),
                      PictureKind::AccountOverview, tr("Konten + Zahlungsmittel anzeigen"));
        return;
    }

    // A card; the cap tells an account's own instrument (yellow) from the others.
    scene->addCappedBar(box, colour, type == InstrumentType::Account ? QColor(Qt::yellow) : QColor(255, 128, 128));
    titleText(scene, p, cut(m_record->getName(), 30), font);
    // Vouchers and cards drawing on a bank account are no source of a transfer.
    if (type != InstrumentType::Voucher && type != InstrumentType::LinkedCard)
        actionPicture(scene, m_record, p, 320, QStringLiteral(":/images/internal-transfer.png"),
                      PictureKind::AccountAction, tr("interne Transaktion"), QStringLiteral("Transfer"));
    actionPicture(scene, m_record, p, 360, QStringLiteral(":/images/display-grey.png"), PictureKind::RecordReport,
                  tr("anzeigen"));
}
