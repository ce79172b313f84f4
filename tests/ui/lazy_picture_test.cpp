// Pictures of the main window's pages: sized from the file's header at once, decoded only when
// first shown; damaged or missing files leave an empty label at the fallback size.
#include <QTest>

#include "ui/skin/JpegImage.h"
#include "ui/skin/LazyPicture.h"
#include "ui/skin/Skin.h"

class LazyPictureTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kelvra::ui::InitResources(); }

    void sizedAtOnceDecodedAtFirstShow_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("home en") << "home_en.jpg" << QSize(720, 560) << true;
        QTest::newRow("about cn") << "about_cn.jpg" << QSize(759, 661) << true;
        QTest::newRow("png") << "error.png" << QSize(32, 32) << true;
        QTest::newRow("missing") << "nothing.jpg" << QSize(11, 7) << false;
    }

    void sizedAtOnceDecodedAtFirstShow() {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(bool, decodes);
        QWidget page;
        page.resize(800, 700);
        kelvra::ui::LazyPicture picture(file, QSize(11, 7), &page);
        QCOMPARE(picture.size(), size);
        QVERIFY(!picture.Loaded());
        QVERIFY(picture.pixmap().isNull());

        page.show(); // showing the page shows the picture
        QVERIFY(picture.Loaded());
        QCOMPARE(picture.pixmap().isNull(), !decodes);
        if (decodes)
            QCOMPARE(picture.pixmap().size(), size);
        QCOMPARE(picture.size(), size);
    }

    void hiddenPictureStaysUndecoded() {
        QWidget page;
        kelvra::ui::LazyPicture shown("about_en.jpg", QSize(1, 1), &page);
        kelvra::ui::LazyPicture hidden("about_cn.jpg", QSize(1, 1), &page);
        hidden.hide();
        page.show();
        QVERIFY(shown.Loaded());
        QVERIFY(!hidden.Loaded());
        hidden.show();
        QVERIFY(hidden.Loaded());
        QVERIFY(!hidden.pixmap().isNull());
    }

    void headerSizeOfDamagedBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a jpeg") << QByteArray("GIF89a not a jpeg at all");
        QTest::newRow("start marker only") << QByteArray("\xff\xd8\xff", 3);
    }

    void headerSizeOfDamagedBytes() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!kelvra::ui::JpegSize(bytes).isValid());
    }
};

QTEST_MAIN(LazyPictureTest)
#include "lazy_picture_test.moc"
