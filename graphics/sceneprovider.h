#pragma once

#include <QList>

class PictureScene;
class QWidget;

// Owns the main window's scenes.
class SceneProvider
{
public:
    explicit SceneProvider(QWidget *owner);
    ~SceneProvider();

    SceneProvider(const SceneProvider &) = delete;
    SceneProvider &operator=(const SceneProvider &) = delete;

    // Creates the scene, makes it current and gives it the owner and the
    // origin anchor.
    PictureScene *addScene(int sceneId);
    QWidget *owner() const { return m_owner; }
    PictureScene *current() const;
    // Null when no scene has that id.
    PictureScene *findScene(int sceneId) const;
    int count() const { return m_scenes.size(); }

private:
    QWidget *m_owner;
    QList<PictureScene *> m_scenes;
    int m_current = -1;
};
