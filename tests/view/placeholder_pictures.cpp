// Placeholder pictures of the table's sizes, in known colours.
#include "placeholder_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace quillex::test {

QColor placeholderColour(PictureId id) {
    switch (id) {
    case PictureId::Wallpaper:
        return QColor(10, 20, 30);
    case PictureId::DanceFreezeBody:
        return QColor(0, 255, 0);
    case PictureId::DanceFreezeTail:
        return QColor(0, 0, 255);
    case PictureId::Crosshatch:
        return QColor(255, 255, 255);
    default:
        break;
    }
    if (id >= PictureId::DanceTap04 && id < PictureId::DanceArrowGlow)
        return QColor(255, 0, 0);
    return QColor(200, 200, 200);
}

bool writePlaceholderPictures(const QString& folder, PictureId skip) {
    const auto& table = pictureTable();
    for (int i = 0; i < kPictureCount; ++i) {
        const auto id = static_cast<PictureId>(i);
        if (id == skip)
            continue;
        const PictureEntry& entry = table[i];
        int w = entry.width, h = entry.height;
        if (w == 0) {
            w = id == PictureId::Wallpaper ? 800 : 8;
            h = id == PictureId::Wallpaper ? 600 : (id == PictureId::Crosshatch ? 8 : 1);
        }
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(placeholderColour(id));
        // The crosshatch's black squares and the dots' magenta gaps become see-through.
        if (id == PictureId::Crosshatch)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if ((x + y) % 2)
                        image.setPixel(x, y, qRgb(0, 0, 0));
        if (id == PictureId::Dotted || id == PictureId::Dotted2)
            for (int x = 4; x < w; ++x)
                image.setPixel(x, 0, qRgb(255, 0, 255));
        const QString path =
            QDir(folder).filePath(QString::fromUtf8(entry.path.data(), entry.path.size()));
        QDir().mkpath(QFileInfo(path).path());
        if (!image.save(path, "PNG"))
            return false;
    }
    return true;
}

} // namespace quillex::test
