// The shipped pictures decode through libjpeg with their sizes; damaged input never crashes.
#include <QFile>
#include <QTest>

#include "ui/skin/JpegImage.h"
#include "ui/skin/Skin.h"

class JpegImageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kelvra::ui::InitResources(); }

    void shippedPicturesDecode_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("home cn") << "home_cn.jpg" << QSize(720, 560);
        QTest::newRow("home en") << "home_en.jpg" << QSize(720, 560);
        QTest::newRow("network") << "network.jpg" << QSize(700, 250);
        QTest::newRow("about en") << "about_en.jpg" << QSize(759, 661);
        QTest::newRow("about cn") << "about_cn.jpg" << QSize(759, 661);
    }

    void shippedPicturesDecode() {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QImage image = kelvra::ui::LoadJpeg(":/images/" + file);
        QCOMPARE(image.size(), size);
        // Not a blank canvas: the deep blue of the palette appears somewhere on the top band.
        bool blue = false;
        for (int x = 0; x < image.width() && !blue; x += 5) {
            const QColor c = image.pixelColor(x, 10);
            blue = c.blue() > 120 && c.red() < 80;
        }
        QVERIFY(blue || file == "network.jpg");
        QCOMPARE(kelvra::ui::LoadPicture(file).size(), size);
    }

    void damagedInput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodes");
        QFile file(":/images/network.jpg");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not a jpeg") << QByteArray("GIF89a not really a picture") << false;
        QTest::newRow("header only") << good.left(64) << false;
        QTest::newRow("truncated half") << good.left(good.size() / 2) << true;
        QByteArray huge = good;
        // Claim a 65000 x 65000 frame in the first SOF0 marker: refused before allocation.
        const int sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(sof > 0);
        huge[sof + 5] = char(0xFD);
        huge[sof + 6] = char(0xE8);
        huge[sof + 7] = char(0xFD);
        huge[sof + 8] = char(0xE8);
        QTest::newRow("absurd size") << huge << false;
    }

    void damagedInput() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodes);
        const QImage image = kelvra::ui::DecodeJpeg(bytes);
        QCOMPARE(!image.isNull(), decodes);
        QCOMPARE(kelvra::ui::LoadJpeg("/nonexistent/picture.jpg").isNull(), true);
    }
};

QTEST_MAIN(JpegImageTest)
#include "jpeg_image_test.moc"
