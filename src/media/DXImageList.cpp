#include "media/DXImageList.h"

#include <QImageReader>
#include <algorithm>

const TDXPictureItem::Run* TDXPictureItem::RowRuns(int y, int* count) const {
    const auto begin = rowStart_[static_cast<std::size_t>(y)];
    *count = rowStart_[static_cast<std::size_t>(y) + 1] - begin;
    return runs_.data() + begin;
}

TDXImageList::TDXImageList() {
    auto& body = items_[0];
    body.Source = QStringLiteral(":/body.png");
    body.Transparent = true;
    body.TransparentColor = qRgb(0, 128, 0);

    auto& food = items_[1];
    food.Source = QStringLiteral(":/food.png");
    food.Transparent = true;
    food.TransparentColor = qRgb(255, 0, 0);

    auto& background = items_[2];
    background.Source = QStringLiteral(":/background.png");
    background.SystemMemory = true;
}

bool TDXImageList::Load(QString* error) {
    if (loaded_)
        return true;
    for (auto& item : items_) {
        QImageReader reader(item.Source);
        QImage picture = reader.read();
        if (picture.isNull()) {
            if (error)
                *error = QStringLiteral("无法载入游戏图片 %1（%2）")
                             .arg(item.Source, reader.errorString());
            return false;
        }
        item.picture_ = std::move(picture);
    }
    loaded_ = true;
    return true;
}

bool TDXImageList::Prepare(QString* error) {
    if (prepared_)
        return true;
    if (!Load(error))
        return false;
    for (auto& item : items_) {
        // Pictures have no alpha of their own; only the key makes holes.
        QImage prepared = item.picture_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (prepared.isNull()) {
            if (error)
                *error = QStringLiteral("无法准备游戏图片 %1").arg(item.Source);
            return false;
        }
        const QImage source32 = item.picture_.convertToFormat(QImage::Format_RGB32);
        const QRgb key = item.TransparentColor & RGB_MASK;
        item.runs_.clear();
        item.rowStart_.assign(static_cast<std::size_t>(prepared.height()) + 1, 0);
        for (int y = 0; y < prepared.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(prepared.scanLine(y));
            const auto* source = reinterpret_cast<const QRgb*>(source32.constScanLine(y));
            item.rowStart_[static_cast<std::size_t>(y)] = static_cast<std::int32_t>(item.runs_.size());
            int runBegin = -1;
            for (int x = 0; x < prepared.width(); ++x) {
                const bool hole = item.Transparent && (source[x] & RGB_MASK) == key;
                row[x] = hole ? 0u : (source[x] | 0xff000000u);
                if (!hole && runBegin < 0)
                    runBegin = x;
                if (hole && runBegin >= 0) {
                    item.runs_.push_back({runBegin, x});
                    runBegin = -1;
                }
            }
            if (runBegin >= 0)
                item.runs_.push_back({runBegin, prepared.width()});
        }
        item.rowStart_.back() = static_cast<std::int32_t>(item.runs_.size());
        item.opaque_ = std::all_of(item.runs_.begin(), item.runs_.end(),
                                   [&](const TDXPictureItem::Run& run) {
                                       return run.Begin == 0 && run.End == prepared.width();
                                   }) &&
                       item.runs_.size() == static_cast<std::size_t>(prepared.height());
        item.prepared_ = std::move(prepared);
    }
    prepared_ = true;
    return true;
}

void TDXImageList::MakeColorTable() {
    static constexpr QRgb system[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    colorTable_.fill(0);
    std::copy(system, system + 8, colorTable_.begin());
    std::copy(system + 8, system + 16, colorTable_.begin() + 248);
    // Which entries are taken: the system ones, then whatever pictures add.
    std::array<bool, 256> used{};
    std::fill(used.begin(), used.begin() + 8, true);
    std::fill(used.begin() + 248, used.end(), true);
    std::size_t next = 8;
    for (const auto& item : items_) {
        if (item.picture_.isNull() || item.picture_.depth() > 8)
            continue;
        for (const QRgb colour : item.picture_.colorTable()) {
            const QRgb rgb = colour & RGB_MASK;
            bool present = false;
            for (std::size_t i = 0; i < 256 && !present; ++i)
                present = used[i] && (colorTable_[i] & RGB_MASK) == rgb;
            if (present)
                continue;
            while (next < 256 && used[next])
                ++next;
            if (next >= 256)
                return;
            colorTable_[next] = rgb | 0xff000000u;
            used[next] = true;
        }
    }
}
