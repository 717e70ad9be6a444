#include "media/DXDraw.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QShowEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/GameState.h"
#include "media/DXImageList.h"

namespace {

QRgb FromColourRef(std::uint32_t colour) {
    return qRgb(static_cast<int>(colour & 0xffu), static_cast<int>((colour >> 8) & 0xffu),
                static_cast<int>((colour >> 16) & 0xffu));
}

// Font points are counted at 96 dots per inch, rounded like MulDiv.
int PixelsFromPoints(int points) {
    const std::int64_t pixels = (static_cast<std::int64_t>(points) * 96 + 36) / 72;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, 4096));
}

} // namespace

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), images_(std::make_unique<TDXImageList>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

TDXDraw::~TDXDraw() {
    if (text_.isActive())
        text_.end();
}

TDXImageList& TDXDraw::ImageList() { return *images_; }

void TDXDraw::PreparePalette() {
    // The pictures are part of the program; reading them here only lets
    // indexed ones add their colours. A failure is reported by Initialize().
    images_->Load();
    images_->MakeColorTable();
    colorTable_ = images_->ColorTable();
    defaultColorTable_ = colorTable_;
}

bool TDXDraw::Initialized() const { return initialized_; }

bool TDXDraw::Initialize() {
    if (initialized_)
        return true;
    initAttempted_ = true;
    QString error;
    if (!images_->Prepare(&error)) {
        emit InitializationFailed(error);
        return false;
    }
    QImage back(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32);
    QImage front(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32);
    if (back.isNull() || front.isNull()) {
        emit InitializationFailed(QStringLiteral("无法创建绘图表面"));
        return false;
    }
    back.fill(Qt::black);
    front.fill(Qt::black);
    back_ = std::move(back);
    front_ = std::move(front);
    fillPending_ = false;
    initialized_ = true;
    update();
    return true;
}

bool TDXDraw::Ready() {
    if (initialized_)
        return true;
    return !initAttempted_ && Initialize();
}

const QImage& TDXDraw::BackBuffer() const {
    ApplyPendingFill();
    return back_;
}

const QImage& TDXDraw::FrontBuffer() const { return front_; }

void TDXDraw::ApplyPendingFill() const {
    if (!fillPending_)
        return;
    fillPending_ = false;
    if (fillColour_ == qRgb(0, 0, 0)) {
        std::memset(back_.bits(), 0, static_cast<std::size_t>(back_.sizeInBytes()));
        return;
    }
    back_.fill(fillColour_);
}

void TDXDraw::Fill(std::uint32_t colour) {
    if (!Ready())
        return;
    fillColour_ = FromColourRef(colour);
    fillPending_ = true;
    // Text being drawn must land on the filled buffer, in order.
    if (text_.isActive())
        ApplyPendingFill();
}

void TDXDraw::Draw(int index, std::int32_t x, std::int32_t y, int pattern) {
    if (!Ready() || index < 0 || index >= TDXImageList::Count || pattern != 0)
        return;
    const TDXPictureItem& item = images_->Items(index);
    const std::int64_t width = item.Width();
    const std::int64_t height = item.Height();
    // Clip in 64 bits: positions may be anything a saved game held.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + width, SurfaceWidth);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + height, SurfaceHeight);
    if (left >= right || top >= bottom)
        return;

    const bool coversAll = left == 0 && top == 0 && right == SurfaceWidth && bottom == SurfaceHeight;
    if (coversAll && item.Opaque() && !text_.isActive()) {
        fillPending_ = false;
        if (x == 0 && y == 0 && width == SurfaceWidth && height == SurfaceHeight &&
            item.Prepared().bytesPerLine() == back_.bytesPerLine()) {
            std::memcpy(back_.bits(), item.Prepared().constBits(),
                        static_cast<std::size_t>(back_.sizeInBytes()));
            return;
        }
    } else {
        ApplyPendingFill();
    }

    const QImage& picture = item.Prepared();
    const qsizetype sourceStride = picture.bytesPerLine();
    const qsizetype destinationStride = back_.bytesPerLine();
    const auto sourceLeft = static_cast<std::int32_t>(left - x);
    const auto sourceRight = static_cast<std::int32_t>(right - x);
    const auto sourceTop = static_cast<int>(top - y);
    const auto rows = static_cast<int>(bottom - top);
    const uchar* source = picture.constBits() + sourceTop * sourceStride;
    uchar* destination = back_.bits() + top * destinationStride;

    if (item.Opaque()) {
        // Whole rows of the visible part: one copy each.
        const auto bytes = static_cast<std::size_t>(sourceRight - sourceLeft) * sizeof(QRgb);
        source += sourceLeft * qsizetype{sizeof(QRgb)};
        destination += left * qsizetype{sizeof(QRgb)};
        if (bytes == std::size_t{veltrix::CellSize} * sizeof(QRgb)) {
            // The common case, a whole tile: a fixed-size copy the compiler inlines.
            for (int row = 0; row < rows; ++row, source += sourceStride, destination += destinationStride)
                std::memcpy(destination, source, std::size_t{veltrix::CellSize} * sizeof(QRgb));
        } else {
            for (int row = 0; row < rows; ++row, source += sourceStride, destination += destinationStride)
                std::memcpy(destination, source, bytes);
        }
        return;
    }

    for (int row = 0; row < rows; ++row, source += sourceStride, destination += destinationStride) {
        const auto* sourcePixels = reinterpret_cast<const QRgb*>(source);
        auto* target = reinterpret_cast<QRgb*>(destination);
        int count = 0;
        const TDXPictureItem::Run* runs = item.RowRuns(sourceTop + row, &count);
        for (int i = 0; i < count; ++i) {
            const std::int32_t begin = std::max(runs[i].Begin, sourceLeft);
            const std::int32_t end = std::min(runs[i].End, sourceRight);
            if (begin < end)
                std::memcpy(target + (std::int64_t{x} + begin), sourcePixels + begin,
                            static_cast<std::size_t>(end - begin) * sizeof(QRgb));
        }
    }
}

void TDXDraw::BeginText(const veltrix::TextStyle& style) {
    if (!Ready())
        return;
    ApplyPendingFill();
    if (text_.isActive())
        text_.end();
    text_.begin(&back_);
    QFont font(QString::fromStdString(style.FontName));
    font.setPixelSize(PixelsFromPoints(style.PointSize));
    text_.setFont(font);
    text_.setPen(QColor(FromColourRef(style.Colour)));
    if (style.ClearBrush) {
        text_.setBackgroundMode(Qt::TransparentMode);
    } else {
        // A solid brush keeps its default white box behind the text.
        text_.setBackgroundMode(Qt::OpaqueMode);
        text_.setBackground(Qt::white);
    }
    textAscent_ = QFontMetrics(font).ascent();
}

void TDXDraw::TextOut(std::int32_t x, std::int32_t y, const std::string& utf8) {
    if (!text_.isActive())
        return;
    const QString text = QString::fromStdString(utf8);
    if (x >= SurfaceWidth || y >= SurfaceHeight)
        return;
    if (x < 0 || y < 0) {
        // Text wholly off the surface is skipped before Qt's int geometry sees it.
        const QFontMetrics metrics(text_.font());
        const std::int64_t width = metrics.horizontalAdvance(text) + metrics.maxWidth();
        const std::int64_t height = metrics.height();
        if (std::int64_t{x} + width <= 0 || std::int64_t{y} + height <= 0)
            return;
    }
    // Qt places the baseline at y; the caller names the top-left corner.
    text_.drawText(QPoint(x, y + textAscent_), text);
}

void TDXDraw::ReleaseText() {
    if (text_.isActive())
        text_.end();
}

void TDXDraw::Flip() {
    if (!Ready())
        return;
    ReleaseText();
    ApplyPendingFill();
    std::memcpy(front_.bits(), back_.constBits(), static_cast<std::size_t>(front_.sizeInBytes()));
    update();
}

void TDXDraw::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!initialized_ && !initAttempted_)
        Initialize();
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Repaints show the last presented frame, never a new composition.
    // Scaled copies stay sharp: nearest-neighbour, no smoothing.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect frame((width() - SurfaceWidth) / 2, (height() - SurfaceHeight) / 2, SurfaceWidth,
                      SurfaceHeight);
    const QRegion outside = QRegion(rect()).subtracted(frame);
    for (const QRect& part : outside & event->region())
        painter.fillRect(part, palette().button());
    if (front_.isNull())
        painter.fillRect(frame, Qt::black);
    else
        painter.drawImage(frame, front_);
}
