#pragma once
// The drawing surface: a 502 x 576 back buffer composed by the game and a
// front picture presented in the window.

#include <QImage>
#include <QPainter>
#include <QRgb>
#include <QWidget>
#include <array>
#include <memory>

#include "game/Interfaces.h"

class TDXImageList;

class TDXDraw : public QWidget, public veltrix::SurfaceInterface {
    Q_OBJECT
public:
    static constexpr int SurfaceWidth = 502;
    static constexpr int SurfaceHeight = 576;

    explicit TDXDraw(QWidget* parent = nullptr);
    ~TDXDraw() override;

    // Builds the colour table from the picture list (the form's create step).
    // Only a 256-colour display would show a difference, so nothing visible
    // depends on it here.
    void PreparePalette();
    // Creates the back buffer and prepares the pictures. Runs by itself at
    // the first showing; emits InitializationFailed when it cannot.
    bool Initialize();
    bool Initialized() const;

    // Both are null until Initialize() has succeeded.
    const QImage& BackBuffer() const;
    const QImage& FrontBuffer() const;
    TDXImageList& ImageList();
    const std::array<QRgb, 256>& ColorTable() const { return colorTable_; }
    const std::array<QRgb, 256>& DefaultColorTable() const { return defaultColorTable_; }

    // Drawing before Initialize() tries to initialise once; if that failed
    // the calls do nothing, like drawing on a lost surface.
    void Fill(std::uint32_t colour) override;
    void Draw(int index, std::int32_t x, std::int32_t y, int pattern) override;
    void BeginText(const veltrix::TextStyle& style) override;
    void TextOut(std::int32_t x, std::int32_t y, const std::string& utf8) override;
    void ReleaseText() override;
    void Flip() override;

signals:
    void InitializationFailed(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool Ready();
    // A fill is held back until something needs its pixels, so one that the
    // opaque background wholly covers next costs nothing.
    void ApplyPendingFill() const;

    std::unique_ptr<TDXImageList> images_;
    mutable QImage back_;
    QImage front_;
    mutable bool fillPending_ = false;
    mutable QRgb fillColour_ = 0;
    QPainter text_;
    int textAscent_ = 0;
    bool initialized_ = false;
    bool initAttempted_ = false;
    std::array<QRgb, 256> colorTable_{};
    std::array<QRgb, 256> defaultColorTable_{};
};
