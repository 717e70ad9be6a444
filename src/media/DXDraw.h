#pragma once
// The drawing surface: a 502 x 576 back buffer composed by the game and a
// front picture presented in the window.

#include <QImage>
#include <QWidget>

#include "game/Interfaces.h"

class DXImageList;

class DXDraw : public QWidget, public veltrix::SurfaceInterface {
    Q_OBJECT
public:
    static constexpr int SurfaceWidth = 502;
    static constexpr int SurfaceHeight = 576;

    explicit DXDraw(QWidget* parent = nullptr);
    ~DXDraw() override;

    // Builds the colour table from the picture list (the form's create step).
    void PreparePalette();
    // Creates the back buffer and prepares the pictures. Runs by itself at
    // the first showing; emits InitializationFailed when it cannot.
    bool Initialize();
    bool Initialized() const;

    const QImage& BackBuffer() const;
    const QImage& FrontBuffer() const;
    DXImageList& ImageList();

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
};
