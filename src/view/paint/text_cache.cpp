// Cached static texts.
#include "view/paint/text_cache.h"

namespace quillex {

namespace {

constexpr std::size_t kMaxEntries = 4096;

} // namespace

const QStaticText& TextCache::get(std::string_view text, int font, const QFont& qfont) {
    auto& entries = entries_[font == 0 ? 0 : 1];
    auto found = entries.find(text);
    if (found != entries.end())
        return found->second;
    if (entries.size() >= kMaxEntries)
        entries.clear();
    QStaticText laidOut(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), qfont);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    return entries.emplace(std::string(text), std::move(laidOut)).first->second;
}

} // namespace quillex
