#pragma once

#include "datachanges.h"
#include "picturekind.h"
#include "yearchange.h"

#include <QMainWindow>
#include <QString>

class ImageItem;
class QGraphicsView;
class PictureScene;
class SceneProvider;

// The only top-level window: three graphics views side by side, navigated
// entirely by clickable pictures on their scenes.
//  - scene 0, top left: main menu, year status and the page headers;
//  - scene 1, bottom left: the cards of the chosen page;
//  - scene 2, right: overviews, detail reports and the help page.
class ApplWindow : public QMainWindow
{
    Q_OBJECT

public:
    // archiveInUse: the open file is an archived year file.
    // readOnlyReason: why the file is open for viewing only (German), empty
    // when it may be written.
    explicit ApplWindow(bool archiveInUse, const QString &readOnlyReason = QString(),
                        QWidget *parent = nullptr);
    ~ApplWindow() override;

    QString version() const { return m_version; }
    PictureScene *hfaScene() const { return m_hfaScene; }
    PictureScene *efaScene() const { return m_efaScene; }
    PictureScene *afaScene() const { return m_afaScene; }
    QGraphicsView *hfaView() const { return m_hfaView; }
    QGraphicsView *efaView() const { return m_efaView; }
    QGraphicsView *afaView() const { return m_afaView; }

    // Draws the four main-menu pictures and the status box on scene 0.
    void showMainMenu();

    // The year operations; each of the last two ends the program when it
    // goes through.
    void checkYearState(const QString &yearText);
    void changeYear();
    void chooseYearFile();

    // Why nothing may be booked in a file that is current by its year but
    // may not be changed; empty otherwise.
    QString viewOnlyReason() const;

public slots:
    void closeAppl();

private slots:
    void imagePressed(PictureKind kind, ImageItem *item);
    void redrawArea(DataArea area);

private:
    PictureScene *addScene(int sceneId);
    QGraphicsView *createView(PictureScene *scene);
    void registerFonts();

    QString m_version;
    PictureScene *m_hfaScene = nullptr;
    PictureScene *m_efaScene = nullptr;
    PictureScene *m_afaScene = nullptr;
    QGraphicsView *m_hfaView = nullptr;
    QGraphicsView *m_efaView = nullptr;
    QGraphicsView *m_afaView = nullptr;
    SceneProvider *m_scenes = nullptr;
    YearState m_yearState = YearState::Current;
    QString m_readOnlyReason;
};
