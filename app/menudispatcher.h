#pragma once

#include "picturekind.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>

class ApplWindow;
class FinanceBase;
class ImageItem;
class PaymentInstruction;
class PictureScene;
class SceneProvider;

// Acts on a click on a picture: switches pages, draws reports, opens
// dialogs. One instance per process; the main window releases it.
//
// PictureKind names what each picture does.
class MenuDispatcher
{
    Q_DECLARE_TR_FUNCTIONS(MenuDispatcher)

public:
    static MenuDispatcher *instance();
    static void release();

    // Runs the action of the picture. A second click on the picture handled
    // last is ignored, until another picture was clicked or a dialog it
    // opened was accepted.
    void imageClicked(PictureKind kind, ImageItem *item);

    void bookExpense(ImageItem *item);
    void accountAction(ImageItem *item);
    void showRecord(ImageItem *item, PictureScene *afa);
    void openSettings(ImageItem *item);
    // Compares every stored balance with the bookings and shows the result;
    // changes nothing, so it is offered for past years too.
    void checkBalances();

    // The picture handled last; null once it is gone with its scene.
    ImageItem *lastItem() const { return m_lastItem.data(); }
    // Non-owning; the main window registers its scenes here.
    void setScenes(SceneProvider *scenes) { m_scenes = scenes; }

private:
    MenuDispatcher() = default;

    ApplWindow *window() const;
    PictureScene *scene(int sceneId) const;
    void showPageHeader(PictureKind kind);
    // False (after telling the user) when the open file is not the running year's.
    bool yearIsCurrent() const;
    void paymentInstrumentAction(PaymentInstruction *instrument, const QString &action);
    // Runs a modal dialog; accepted, the same picture may be clicked again at once.
    template<class Dialog> void runDialog(Dialog &dialog);

    static MenuDispatcher *s_instance;
    // Guarded: a picture deleted with its scene never counts as the last one.
    QPointer<ImageItem> m_lastItem;
    SceneProvider *m_scenes = nullptr;
};
