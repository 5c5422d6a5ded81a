// Picture loading, the drawing primitives and the frame-rate display.
#include "view/paint/renderer.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

#include "ports/messages.h"

namespace quillex {

namespace {

constexpr QRgb kOpaqueBlack = 0xff000000;
constexpr QRgb kOpaqueMagenta = 0xffff00ff;

// Makes every pixel of the key colour fully transparent.
void applyColourKey(QImage& image, ColourKey key) {
    if (key == ColourKey::None)
        return;
    const QRgb keyColour = key == ColourKey::OpaqueBlack ? kOpaqueBlack : kOpaqueMagenta;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == keyColour)
                line[x] = 0;
    }
}

// A font of the "Arial" family whose line height is at most `cellHeight` pixels, as
// the program's fonts are given by their cell height.
QFont fontWithCellHeight(int cellHeight) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    int pixels = cellHeight;
    font.setPixelSize(pixels);
    while (pixels > 4 && QFontMetrics(font).height() > cellHeight) {
        font.setPixelSize(--pixels);
    }
    return font;
}

} // namespace

QColor toQColor(Colour c) {
    return QColor(c.red, c.green, c.blue, std::clamp(c.alpha, 0, 255));
}

Renderer::Renderer() = default;

bool Renderer::initialise(const QString& dataFolder) {
    initialised_ = false;
    const QDir folder(dataFolder);
    const auto& table = pictureTable();
    for (int i = 0; i < kPictureCount; ++i) {
        const PictureEntry& entry = table[i];
        const QString path = QString::fromUtf8(entry.path.data(), entry.path.size());
        QImage image(folder.filePath(path));
        if (image.isNull()) {
            error_ = QStringLiteral("I could not load the picture %1.").arg(path);
            return false;
        }
        if (entry.width > 0 && (image.width() != entry.width || image.height() != entry.height))
            image = image.scaled(entry.width, entry.height, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        applyColourKey(image, entry.key);
        pictures_[i] = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    fonts_[0] = fontWithCellHeight(18);
    fonts_[1] = fontWithCellHeight(12);
    sprites_.clear();
    error_.clear();
    initialised_ = true;
    return true;
}

void Renderer::beginFrame(QPainter& painter, int width, int height, bool clear) {
    const auto now = std::chrono::steady_clock::now();
    frameSeconds_ = std::chrono::duration<double>(now - frameMark_).count();
    frameMark_ = now;
    painter_ = &painter;
    width_ = width;
    height_ = height;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setOpacity(1.0);
    opacity_ = 1.0;
    if (clear)
        painter.fillRect(QRect(0, 0, width, height), Qt::black);
}

void Renderer::endFrame() {
    if (frameRateShown_) {
        ++frameCount_;
        if (frameCount_ > 60) {
            long long sum = 0;
            for (int rate : frameRates_)
                sum += rate;
            shownFrameRate_ =
                frameRates_.empty()
                    ? 0
                    : static_cast<int>(sum / static_cast<long long>(frameRates_.size()));
            frameRates_.clear();
            frameCount_ = 0;
        }
        text(std::to_string(shownFrameRate_), width_ - 140, 2, 255, FontSize::Large);
        text("FPS", width_ - 80, 2, 255, FontSize::Large);
        const double seconds = frameDurationOverride_ >= 0 ? frameDurationOverride_ : frameSeconds_;
        if (seconds > 0)
            frameRates_.push_back(static_cast<int>(1.0 / seconds));
    }
    setOpacity(255);
    painter_ = nullptr;
}

void Renderer::setOpacity(int alpha) {
    const double opacity = std::clamp(alpha, 0, 255) / 255.0;
    if (opacity != opacity_) {
        painter_->setOpacity(opacity);
        opacity_ = opacity;
    }
}

const QImage& Renderer::composedBackground(int alpha) {
    const QImage* source = hasSongBackground() ? &songBackground_ : &picture(PictureId::Wallpaper);
    const int useAlpha = hasSongBackground() ? backgroundOpacity_ : alpha;
    const qint64 key = source->cacheKey();
    if (background_.width() != width_ || background_.height() != height_ || backgroundKey_ != key ||
        backgroundAlpha_ != useAlpha || backgroundSource_ != source) {
        // Opaque black with the picture over it: one blit per frame afterwards.
        background_ = QImage(width_, height_, QImage::Format_RGB32);
        background_.fill(Qt::black);
        QPainter p(&background_);
        p.setOpacity(std::clamp(useAlpha, 0, 255) / 255.0);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRect(0, 0, width_, height_), *source);
        backgroundKey_ = key;
        backgroundAlpha_ = useAlpha;
        backgroundSource_ = source;
    }
    return background_;
}

void Renderer::background(int alpha) {
    setOpacity(255);
    painter_->drawImage(0, 0, composedBackground(alpha));
}

void Renderer::backgroundOpacityStep(bool waveShown) {
    if (waveShown)
        backgroundOpacity_ = std::max(64, backgroundOpacity_ - 10);
    else
        backgroundOpacity_ = std::min(128, backgroundOpacity_ + 10);
}

bool Renderer::backgroundSettled(bool waveShown) const {
    return !hasSongBackground() || backgroundOpacity_ == (waveShown ? 64 : 128);
}

Renderer::DottedTile& Renderer::dottedTile(int style, Colour colour) {
    for (DottedTile& t : dottedTiles_)
        if (t.style == style && t.colour == colour)
            return t;
    if (dottedTiles_.size() > 64)
        dottedTiles_.clear();
    // The dotted picture modulated by the line's colour.
    QImage tile = picture(style == 1 ? PictureId::Dotted : PictureId::Dotted2)
                      .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < tile.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(qRed(p) * colour.red / 255, qGreen(p) * colour.green / 255,
                            qBlue(p) * colour.blue / 255,
                            qAlpha(p) * std::clamp(colour.alpha, 0, 255) / 255);
        }
    }
    dottedTiles_.push_back(
        {style, colour, tile.convertToFormat(QImage::Format_ARGB32_Premultiplied), {}});
    return dottedTiles_.back();
}

const QImage& Renderer::dottedRun(DottedTile& dotted, int length) {
    if (dotted.run.width() >= length)
        return dotted.run;
    const QImage& tile = dotted.tile;
    dotted.run = QImage(std::max(length, kMinDottedRun), 1, QImage::Format_ARGB32_Premultiplied);
    auto* run = reinterpret_cast<QRgb*>(dotted.run.scanLine(0));
    const auto* first = reinterpret_cast<const QRgb*>(tile.constScanLine(0));
    for (int x = 0; x < dotted.run.width(); ++x)
        run[x] = first[x % tile.width()];
    return dotted.run;
}

void Renderer::fillSpan(int x, int y, int length, bool horizontal, Colour colour, int style) {
    const QRect span = horizontal ? QRect(x, y, length, 1) : QRect(x, y, 1, length);
    if (style == 0) {
        painter_->fillRect(span, toQColor(colour));
        return;
    }
    DottedTile& dotted = dottedTile(style, colour);
    if (horizontal) {
        // The pattern starts at the line's first pixel: the first row of the tile,
        // repeated, blitted in one go (a textured fill costs several times as much).
        painter_->drawImage(QPoint(x, y), dottedRun(dotted, length), QRect(0, 0, length, 1));
        return;
    }
    // Rotated a quarter for vertical lines, so the dots run along the line.
    QBrush brush(dotted.tile.transformed(QTransform().rotate(90)));
    brush.setTransform(QTransform::fromTranslate(x, y));
    painter_->fillRect(span, brush);
}

void Renderer::line(int x1, int y1, int x2, int y2, Colour colour, int style) {
    setOpacity(255);
    if (y1 == y2) {
        // The last pixel of a line is not drawn.
        const int left = std::min(x1, x2);
        const int length = std::abs(x2 - x1);
        if (length > 0)
            fillSpan(left, y1, length, true, colour, style);
        return;
    }
    if (x1 == x2) {
        const int top = std::min(y1, y2);
        fillSpan(x1, top, std::abs(y2 - y1), false, colour, style);
        return;
    }
    QPen pen(toQColor(colour));
    pen.setWidth(1);
    if (style != 0)
        pen.setBrush(QBrush(dottedTile(style, colour).tile));
    painter_->setPen(pen);
    painter_->drawLine(x1, y1, x2, y2);
}

void Renderer::rectangle(int x1, int y1, int x2, int y2, Colour colour, bool filled) {
    setOpacity(255);
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    if (filled) {
        painter_->fillRect(box, toQColor(colour));
        return;
    }
    const QColor c = toQColor(colour);
    painter_->fillRect(QRect(box.left(), box.top(), box.width(), 1), c);
    painter_->fillRect(QRect(box.left(), box.bottom(), box.width(), 1), c);
    if (box.height() > 2) {
        painter_->fillRect(QRect(box.left(), box.top() + 1, 1, box.height() - 2), c);
        painter_->fillRect(QRect(box.right(), box.top() + 1, 1, box.height() - 2), c);
    }
}

void Renderer::sprite(PictureId id, QRect cell, int x, int y, int half, Turn turn, int alpha) {
    if (half <= 0 || alpha <= 0)
        return;
    const QImage& ready =
        sprites_.get(picture(id), static_cast<int>(id), cell, 2 * half, 2 * half, turn);
    setOpacity(alpha);
    painter_->drawImage(x - half, y - half, ready);
}

void Renderer::stretched(PictureId id, QRect cell, QRect target, int alpha) {
    if (target.width() <= 0 || target.height() <= 0 || alpha <= 0)
        return;
    const QImage& ready = sprites_.get(picture(id), static_cast<int>(id), cell, target.width(),
                                       target.height(), Turn::None);
    setOpacity(alpha);
    painter_->drawImage(target.topLeft(), ready);
}

void Renderer::tiled(PictureId id, QRect cell, QRect target, int tileWidth, int tileHeight,
                     int originX, int originY, int alpha) {
    if (target.width() <= 0 || target.height() <= 0 || tileWidth <= 0 || tileHeight <= 0 ||
        alpha <= 0)
        return;
    const QImage& tile =
        sprites_.get(picture(id), static_cast<int>(id), cell, tileWidth, tileHeight, Turn::None);
    QBrush brush(tile);
    brush.setTransform(QTransform::fromTranslate(originX, originY));
    setOpacity(alpha);
    painter_->fillRect(target, brush);
}

void Renderer::image(const QImage& picture, QRect target, int alpha) {
    setOpacity(alpha);
    painter_->drawImage(target, picture);
}

void Renderer::text(std::string_view text, int x, int y, int alpha, FontSize font) {
    if (text.empty())
        return;
    const int index = font == FontSize::Large ? 0 : 1;
    const qreal ratio = painter_->device() ? painter_->device()->devicePixelRatioF() : 1.0;
    const RenderedText& rendered = texts_.get(text, index, fonts_[index], ratio);
    setOpacity(alpha);
    painter_->drawImage(QPoint(x, y) + rendered.offset, rendered.image);
}

int Renderer::textWidth(std::string_view text, FontSize font) {
    if (text.empty())
        return 0;
    const int index = font == FontSize::Large ? 0 : 1;
    const qreal ratio = painter_->device() ? painter_->device()->devicePixelRatioF() : 1.0;
    const RenderedText& rendered = texts_.get(text, index, fonts_[index], ratio);
    return static_cast<int>(std::ceil(rendered.image.width() / ratio));
}

bool Renderer::setSongBackground(const QString& songFolder, const QString& fileName,
                                 Messages& messages) {
    songBackground_ = QImage();
    if (fileName.isEmpty())
        return false;
    const QString path = QDir(songFolder).filePath(fileName);
    QImage loaded(path);
    if (loaded.isNull()) {
        messages.show(songBackgroundFailedMessage(path.toStdString()));
        return false;
    }
    songBackground_ = loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

bool Renderer::setSongBanner(const QString& songFolder, const QString& fileName) {
    songBanner_ = QImage();
    if (fileName.isEmpty())
        return false;
    QImage loaded(QDir(songFolder).filePath(fileName));
    if (loaded.isNull())
        return false;
    songBanner_ = loaded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return true;
}

} // namespace quillex
