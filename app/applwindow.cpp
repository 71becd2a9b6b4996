#include "applwindow.h"

#include "archivefileinfo.h"
#include "colorsetting.h"
#include "financepaintable.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "picturescene.h"
#include "sceneprovider.h"
#include "yearchange.h"

#include <QDate>
#include <QFontDatabase>
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

ApplWindow::ApplWindow(bool archiveInUse, QWidget *parent)
    : QMainWindow(parent)
{
    MenuDispatcher::instance();

    // The provider owns the scenes; everybody who draws finds it through
    // the settings object.
    m_scenes = new SceneProvider(this);
    ColorSetting::instance()->setSceneProvider(m_scenes);

    m_hfaScene = addScene(0);
    m_hfaView = createView(m_hfaScene);
    ColorSetting::instance()->setMenuView(m_hfaView);
    m_hfaView->setMinimumHeight(150);
    m_hfaView->setMaximumHeight(150);
    m_hfaView->setMinimumWidth(450);
    m_hfaView->setMaximumWidth(450);

    // A file written by an older program version gets the current version mark.
    m_version = QStringLiteral("1.4.2");
    QString dbVersion;
    if (!ColorSetting::instance()->checkDbVersion(m_version, dbVersion))
        ColorSetting::instance()->updateDbVersion();

    // An archived file never belongs to the running year.
    const QString yearText = QString::number(QDate::currentDate().year());
    if (archiveInUse)
        ColorSetting::instance()->setYearCurrent(false);
    else
        checkYearState(yearText);

    registerFonts();
    showMainMenu();

    m_efaScene = addScene(1);
    m_efaView = createView(m_efaScene);
    m_efaView->setMinimumWidth(450);
    m_efaView->setMaximumWidth(450);

    m_afaScene = addScene(2);
    m_afaView = createView(m_afaScene);

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
    ColorSetting *settings = ColorSetting::instance();
    const QString family = settings->currentFontFamily();
    struct Size { const char *family; int points; int pixels; };
    const Size sizes[] = {{nullptr, 20, 33}, {nullptr, 14, 23}, {nullptr, 12, 20},
                          {nullptr, 11, 18}, {"Arial Narrow", 10, 16}};
    for (const Size &size : sizes) {
        const QString fontFamily = size.family ? QString::fromLatin1(size.family) : family;
        const QFont font = QFontDatabase::font(fontFamily, QStringLiteral("italic"), size.points);
        settings->addFont(font, 30, QRectF(1.0, 1.0, 1.0, 10.0), QStringLiteral("italic"),
                          size.points, size.pixels);
    }
}

void ApplWindow::showMainMenu()
{
    PictureScene *scene = m_hfaScene;
    scene->clearScene();

    scene->addImage(nullptr, 1, QStringLiteral(":/images/button-eingang.png"), QPointF(15, 15),
                    QString(), MainMenuName);
    scene->addImage(nullptr, 2, QStringLiteral(":/images/button-ausgang.png"), QPointF(120, 15),
                    QString(), MainMenuName);
    scene->addImage(nullptr, 3, QStringLiteral(":/images/button-konten.png"), QPointF(225, 15),
                    QString(), MainMenuName);
    scene->addImage(nullptr, 10, QStringLiteral(":/images/quit.png"), QPointF(384, 15),
                    QString(), MainMenuName);

    QString status = tr("Finanzdatei aktuelles Jahr");
    QColor colour = StatusGrey;
    bool changeYearDue = false;
    if (!ColorSetting::instance()->isYearCurrent()) {
        QString fileYear;
        ColorSetting::instance()->getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"),
                                             fileYear);
        ArchiveFileInfo archive;
        archive.currentFileName();
        if (archive.isArchiveInUse()) {
            status = tr("Finanzdatei von ") + fileYear;
        } else {
            // The current file still holds a past year: offer the change.
            status = fileYear + tr(" - Daten sind in der Vergangenheit!");
            colour = QColor(255, 0, 0);
            changeYearDue = true;
        }
    }

    // The year file's title box brings the change-of-year picture, or the
    // history and info pictures.
    FinancePaintable statusBox(status, QPoint(15, 95));
    statusBox.paintButton(changeYearDue ? 1 : 0, scene, ColorSetting::instance()->font(2), colour);
    scene->update();
}

void ApplWindow::checkYearState(const QString &yearText)
{
    YearChange(this).checkYearState(yearText);
}

void ApplWindow::changeYear()
{
    YearChange(this).changeYear();
}

void ApplWindow::chooseYearFile()
{
    YearChange(this).chooseYearFile();
}

void ApplWindow::imagePressed(int kind, ImageItem *item)
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

void ApplWindow::closeAppl()
{
    close();
}

void ApplWindow::aboutApplication()
{
    QMessageBox::about(this, tr("Info zu Zolvex"),
                       tr("Version 1.1.<p><b>Einleitung</b><p>Die Anwendung soll dazu dienen, ....  ... .</p> "));
}

void ApplWindow::updateActions()
{
}
