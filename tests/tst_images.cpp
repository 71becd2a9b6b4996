// The pictures compiled into the program: each one loads, has the size it
// is shown at, and shows something.

#include "imageitem.h"
#include "testsupport.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTest>
#include <memory>

namespace {

// Share of pixels that are not fully transparent.
double coverage(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int visible = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) > 0)
                ++visible;
        }
    }
    return double(visible) / (argb.width() * argb.height());
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pictureLoadsAtItsSize_data();
    void pictureLoadsAtItsSize();
    void settingsGearsDifferInColour();
    void windowIconIsAnIconFile();

private:
    std::unique_ptr<TestWorkspace> m_workspace;
};

void TestImages::init()
{
    m_workspace = std::make_unique<TestWorkspace>(false);
}

void TestImages::cleanup()
{
    m_workspace.reset();
}

void TestImages::pictureLoadsAtItsSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::newRow("button-eingang") << "button-eingang" << 1;
    QTest::newRow("button-ausgang") << "button-ausgang" << 2;
    QTest::newRow("button-konten") << "button-konten" << 3;
    QTest::newRow("display") << "display" << 4;
    QTest::newRow("income") << "income" << 5;
    QTest::newRow("internal-transfer") << "internal-transfer" << 5;
    QTest::newRow("warenkorb") << "warenkorb" << 6;
    QTest::newRow("display-grey") << "display-grey" << 7;
    QTest::newRow("quit") << "quit" << 10;
    QTest::newRow("anzeigen") << "anzeigen" << 13;
    QTest::newRow("back-arrow") << "back-arrow" << 14;
    QTest::newRow("down-arrow") << "down-arrow" << 15;
    QTest::newRow("info") << "info" << 16;
    QTest::newRow("change-year") << "change-year" << 17;
    QTest::newRow("hist") << "hist" << 19;
    QTest::newRow("settings") << "settings" << 20;
    QTest::newRow("settings-blue") << "settings-blue" << 20;
    QTest::newRow("settings-yellow") << "settings-yellow" << 20;
    QTest::newRow("settings-red") << "settings-red" << 20;
}

void TestImages::pictureLoadsAtItsSize()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    const QString resource = QStringLiteral(":/images/%1.png").arg(name);

    const QImage image(resource);
    QVERIFY2(!image.isNull(), qPrintable(resource));
    QCOMPARE(image.size(), ImageItem::displaySize(kind));
    QVERIFY(image.hasAlphaChannel());
    // Something is drawn, and not just a filled square.
    const double share = coverage(image);
    QVERIFY2(share > 0.05, qPrintable(QString::number(share)));

    const QPixmap pixmap(resource);
    QVERIFY(!pixmap.isNull());
    ImageItem item(nullptr, kind, pixmap);
    QCOMPARE(item.pixmap().size(), image.size());
}

void TestImages::settingsGearsDifferInColour()
{
    // The page headers tell their settings pictures apart by colour; the
    // gear's body right of its hub shows it.
    auto tooth = [](const QString &name) {
        return QImage(QStringLiteral(":/images/%1.png").arg(name)).pixelColor(25, 17);
    };
    const QColor blue = tooth(QStringLiteral("settings-blue"));
    const QColor yellow = tooth(QStringLiteral("settings-yellow"));
    const QColor red = tooth(QStringLiteral("settings-red"));
    QVERIFY(blue.blue() > blue.red() && blue.blue() > blue.green());
    QVERIFY(yellow.red() > 200 && yellow.green() > 180 && yellow.blue() < 100);
    QVERIFY(red.red() > 180 && red.green() < 100);
}

void TestImages::windowIconIsAnIconFile()
{
    const QString path = QFINDTESTDATA("../resources/images/Logo.ico");
    QVERIFY(!path.isEmpty());
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("ico"));
    QVERIFY(reader.imageCount() >= 3);
    const QImage first = reader.read();
    QVERIFY(!first.isNull());
    QVERIFY(first.width() >= 16);
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
