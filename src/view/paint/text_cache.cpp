// Cached text pictures.
#include "view/paint/text_cache.h"

#include <QPainter>
#include <QStaticText>

#include <cmath>

namespace quillex {

namespace {

// A few KB a picture; twice the labels of the densest view on a tall screen.
constexpr std::size_t kMaxEntries = 2048;
// Room around the laid-out box for glyphs that overhang it.
constexpr int kMargin = 4;

RenderedText render(std::string_view text, const QFont& font, qreal ratio) {
    QStaticText laidOut(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), font);
    const QSizeF size = laidOut.size();
    const QSize logical(static_cast<int>(std::ceil(size.width())) + 2 * kMargin,
                        static_cast<int>(std::ceil(size.height())) + 2 * kMargin);
    QImage image(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawStaticText(kMargin, kMargin, laidOut);
    return {std::move(image), QPoint(-kMargin, -kMargin)};
}

} // namespace

const RenderedText& TextCache::get(std::string_view text, int font, const QFont& qfont,
                                   qreal ratio) {
    auto& entries = entries_[font == 0 ? 0 : 1];
    auto found = entries.find(text);
    if (found != entries.end()) {
        if (found->second.image.devicePixelRatio() != ratio)
            found->second = render(text, qfont, ratio);
        return found->second;
    }
    if (entries.size() >= kMaxEntries)
        entries.clear();
    return entries.emplace(std::string(text), render(text, qfont, ratio)).first->second;
}

} // namespace quillex
