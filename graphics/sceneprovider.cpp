#include "sceneprovider.h"

#include "picturescene.h"

#include <QDebug>

SceneProvider::SceneProvider(QWidget *owner)
    : m_owner(owner)
{
}

SceneProvider::~SceneProvider()
{
    qDebug() << "Dtor SceneProvider:";
    for (PictureScene *scene : qAsConst(m_scenes)) {
        scene->clear();
        qDebug() << "Dtor PictureScene: " << scene->sceneId();
        delete scene;
    }
}

PictureScene *SceneProvider::addScene(int sceneId)
{
    auto *scene = new PictureScene(sceneId);
    m_scenes.append(scene);
    m_current = m_scenes.size() - 1;
    scene->setOwner(m_owner);
    scene->addOriginAnchor();
    return scene;
}

PictureScene *SceneProvider::current() const
{
    if (m_current < 0 || m_current >= m_scenes.size())
        return nullptr;
    return m_scenes.at(m_current);
}

PictureScene *SceneProvider::findScene(int sceneId) const
{
    for (PictureScene *scene : m_scenes) {
        if (scene->sceneId() == sceneId)
            return scene;
    }
    return nullptr;
}
