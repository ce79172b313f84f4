// Paints the client's pictures and icons and writes them into the resources folder given as
// the first argument: images/*.jpg (home, network, about), images/error.png, icons/*.png.
// A second argument names a folder that gets PNG copies of the JPEG pictures for review.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "artwork.h"

namespace art {
QFont Font(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
} // namespace art

static QString g_preview; // optional folder for PNG copies of the JPEG pictures

static bool Write(const QImage& image, const QString& path) {
    if (!g_preview.isEmpty() && path.endsWith(".jpg"))
        image.save(QDir(g_preview).filePath(QFileInfo(path).completeBaseName() + ".png"));
    QImageWriter writer(path);
    if (path.endsWith(".jpg")) {
        writer.setQuality(92);
        writer.setOptimizedWrite(true);
    }
    const bool ok = writer.write(image.convertToFormat(
        path.endsWith(".jpg") ? QImage::Format_RGB888 : QImage::Format_ARGB32));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: generate_artwork <resources folder> [<preview folder>]\n");
        return 2;
    }
    if (argc == 3)
        g_preview = QString::fromLocal8Bit(argv[2]);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    root.mkpath("images");
    root.mkpath("icons");
    bool ok = true;
    ok &= Write(art::Home(true), root.filePath("images/home_cn.jpg"));
    ok &= Write(art::Home(false), root.filePath("images/home_en.jpg"));
    ok &= Write(art::Network(), root.filePath("images/network.jpg"));
    ok &= Write(art::About(false), root.filePath("images/about_en.jpg"));
    ok &= Write(art::About(true), root.filePath("images/about_cn.jpg"));
    ok &= Write(art::Login(), root.filePath("images/login.jpg"));
    ok &= Write(art::ErrorIcon(), root.filePath("images/error.png"));
    for (int i = 0; i <= 10; ++i)
        ok &= Write(art::Icon(i), root.filePath(QString("icons/item%1.png").arg(i)));
    ok &= Write(art::AppIcon(), root.filePath("icons/kelvra.png"));
    ok &= Write(art::DropArrow(), root.filePath("icons/arrow_down.png"));
    return ok ? 0 : 1;
}
