#include "applwindow.h"

#include "archivefileinfo.h"
#include "colorsetting.h"
#include "datachanges.h"
#include "financepaintable.h"
#include "fontresolver.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "picturescene.h"
#include "reportpainter.h"
#include "sceneprovider.h"
#include "yearchange.h"

#include <QDate>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

const QColor AreaBackground(80, 80, 80, 255);
const QColor StatusGrey(45, 45, 45);
const QString MainMenuName = QStringLiteral("main-menu");

} // namespace

ApplWindow::ApplWindow(bool archiveInUse, const QString &readOnlyReason, QWidget *parent)
    : QMainWindow(parent)
    , m_readOnlyReason(readOnlyReason)
{
    MenuDispatcher::instance();

    // The provider owns the scenes; the dispatcher finds them through it.
    m_scenes = new SceneProvider(this);
    MenuDispatcher::instance()->setScenes(m_scenes);

    m_hfaScene = addScene(0);
    m_hfaView = createView(m_hfaScene);
    m_hfaView->setMinimumHeight(150);
    m_hfaView->setMaximumHeight(150);
    m_hfaView->setMinimumWidth(450);
    m_hfaView->setMaximumWidth(450);

    // A file written by an older program version gets the current version mark.
    m_version = QStringLiteral("1.4.2");
    QString dbVersion;
    if (readOnlyReason.isEmpty() && !ColorSetting::instance()->checkDbVersion(m_version, dbVersion))
        ColorSetting::instance()->updateDbVersion();

    // An archived file never belongs to the running year.
    const QString yearText = QString::number(QDate::currentDate().year());
    if (archiveInUse) {
        ColorSetting::instance()->setYearCurrent(false);
        m_yearState = YearState::Archived;
    } else {
        checkYearState(yearText);
    }

    registerFonts();
    showMainMenu();

    m_efaScene = addScene(1);
    m_efaView = createView(m_efaScene);
    m_efaView->setMinimumWidth(450);
    m_efaView->setMaximumWidth(450);

    m_afaScene = addScene(2);
    m_afaView = createView(m_afaScene);
    connect(DataChanges::instance(), &DataChanges::changed, this, &ApplWindow::redrawArea);

    auto *leftColumn = new QVBoxLayout;
    leftColumn->addWidget(m_hfaView);
    leftColumn->addWidget(m_efaView);
    auto *areas = new QHBoxLayout;
    areas->addLayout(leftColumn);
    areas->addWidget(m_afaView);
    auto *central = new QWidget;
    central->setLayout(areas);
    setCentralWidget(central);

    resize(1200, 700);
    setMaximumWidth(1320);
    setMinimumWidth(900);
    setWindowTitle(tr("Zolvex"));
}

ApplWindow::~ApplWindow()
{
    MenuDispatcher::release();
    // The scenes go before the settings object that points to their owner.
    delete m_scenes;
    m_scenes = nullptr;
    ColorSetting::release();
    FontResolver::forgetSceneFonts();
}

PictureScene *ApplWindow::addScene(int sceneId)
{
    PictureScene *scene = m_scenes->addScene(sceneId);
    scene->setTextColour(Qt::white);
    scene->setBackgroundBrush(QBrush(AreaBackground, Qt::SolidPattern));
    // Direct, so the picture is still alive when it is noted; the action
    // itself is queued there.
    connect(scene, &PictureScene::imagePressed, this, &ApplWindow::imagePressed);
    return scene;
}

QGraphicsView *ApplWindow::createView(PictureScene *scene)
{
    auto *view = new QGraphicsView(scene);
    view->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                         | QPainter::SmoothPixmapTransform);
    view->setOptimizationFlag(QGraphicsView::DontAdjustForAntialiasing);
    view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return view;
}

// The text sizes the reports use, by index: 0 the largest, 4 the narrow one.
void ApplWindow::registerFonts()
{
    FontResolver::registerSceneFonts();
}

void ApplWindow::showMainMenu()
{
    PictureScene *scene = m_hfaScene;
    scene->clearScene();

    scene->addImage(nullptr, PictureKind::IncomePage, QStringLiteral(":/images/button-eingang.png"),
                    QPointF(15, 15), QString(), MainMenuName);
    scene->addImage(nullptr, PictureKind::ExpensesPage, QStringLiteral(":/images/button-ausgang.png"),
                    QPointF(120, 15), QString(), MainMenuName);
    scene->addImage(nullptr, PictureKind::AccountsPage, QStringLiteral(":/images/button-konten.png"),
                    QPointF(225, 15), QString(), MainMenuName);
    scene->addImage(nullptr, PictureKind::Quit, QStringLiteral(":/images/quit.png"), QPointF(384, 15),
                    QString(), MainMenuName);

    QString fileYear;
    ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"), fileYear);
    QString status = tr("Finanzdatei aktuelles Jahr");
    QColor colour = StatusGrey;
    switch (m_yearState) {
    case YearState::Current:
        break;
    case YearState::Archived:
        status = tr("Finanzdatei von ") + fileYear;
        break;
    case YearState::Later:
        status = tr("Finanzdatei %1, Computer-Jahr %2 - nur Ansicht")
                     .arg(fileYear, QString::number(QDate::currentDate().year()));
        break;
    case YearState::WriteProtected:
        status = tr("Finanzdatei %1 - schreibgeschützt").arg(fileYear);
        break;
    case YearState::Past:
        // The current file still holds a past year: offer the change.
        status = fileYear + tr(" - Daten sind in der Vergangenheit!");
        colour = QColor(255, 0, 0);
        break;
    }
    const bool changeYearDue = m_yearState == YearState::Past;

    // The year file's title box brings the change-of-year picture, or the
    // history and info pictures.
    FinancePaintable statusBox(status, QPoint(15, 95));
    statusBox.setArchivesSelectable(ArchiveFileInfo().hasArchiveFiles());
    statusBox.paintButton(changeYearDue ? 1 : 0, scene, FontResolver::sceneFont(2), colour);
    scene->update();
}

void ApplWindow::checkYearState(const QString &yearText)
{
    m_yearState = YearChange(this).checkYearState(yearText, !m_readOnlyReason.isEmpty());
}

QString ApplWindow::viewOnlyReason() const
{
    if (m_yearState == YearState::Later) {
        QString fileYear;
        ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"),
                                             fileYear);
        return tr("Die Finanzdatei gehört zum Jahr %1, die Uhr des Computers zeigt %2. Die Daten können "
                  "nur angesehen werden; ein Jahreswechsel rückwärts ist nicht möglich.")
            .arg(fileYear, QString::number(QDate::currentDate().year()));
    }
    return m_yearState == YearState::WriteProtected ? m_readOnlyReason : QString();
}

void ApplWindow::changeYear()
{
    YearChange(this).changeYear();
}

void ApplWindow::chooseYearFile()
{
    YearChange(this).chooseYearFile();
}

void ApplWindow::imagePressed(PictureKind kind, ImageItem *item)
{
    // The action may clear the scene that holds the picture, so it runs
    // after the press has been handled, and only if the picture still exists.
    QPointer<ImageItem> picture(item);
    QMetaObject::invokeMethod(
        this,
        [kind, picture]() {
            if (picture)
                MenuDispatcher::instance()->imageClicked(kind, picture.data());
        },
        Qt::QueuedConnection);
}

// The master-data dialogs are opened from the card list of their area,
// which is redrawn as soon as their writes went through.
void ApplWindow::redrawArea(DataArea area)
{
    ReportPainter painter;
    switch (area) {
    case DataArea::PaymentInstruments:
        painter.showPaymentInstrumentCards(m_efaScene);
        break;
    case DataArea::ExpenseTypes:
        painter.showExpenseTypeCards(m_efaScene);
        break;
    case DataArea::IncomeSources:
        painter.showIncomeSourceCards(m_efaScene);
        break;
    case DataArea::ExpenseSubTypes:
    case DataArea::Recipients:
    case DataArea::Bookings:
        break; // no card list shows them; their dialogs redraw their own lists
    }
}

void ApplWindow::closeAppl()
{
    close();
}

