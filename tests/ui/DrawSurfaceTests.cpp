// The drawing surface: clipping, key colours, fills, text, flip and repaint.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

#include "media/DXDraw.h"
#include "media/DXImageList.h"

namespace {

constexpr int W = TDXDraw::SurfaceWidth;
constexpr int H = TDXDraw::SurfaceHeight;

// Pixels that differ between two same-sized images.
int Differences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += (a.pixel(x, y) & RGB_MASK) != (b.pixel(x, y) & RGB_MASK);
    return count;
}

QImage Solid(QRgb colour) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// What drawing `picture` at (x, y) onto `base` must give, worked out pixel
// by pixel in wide arithmetic; `key` pixels are left alone when keyed.
QImage Expected(QImage base, const QImage& picture, std::int64_t x, std::int64_t y, bool keyed, QRgb key) {
    for (int py = 0; py < H; ++py)
        for (int px = 0; px < W; ++px) {
            const std::int64_t sx = px - x, sy = py - y;
            if (sx < 0 || sy < 0 || sx >= picture.width() || sy >= picture.height())
                continue;
            const QRgb c = picture.pixel(static_cast<int>(sx), static_cast<int>(sy));
            if (keyed && (c & RGB_MASK) == (key & RGB_MASK))
                continue;
            base.setPixel(px, py, c);
        }
    return base;
}

class DrawSurface : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(draw.Initialize());
        body = QImage(":/body.png").convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(body.isNull());
    }
    TDXDraw draw;
    QImage body;
};

struct ClipCase {
    std::int32_t X, Y;
    int ChangedPixels;
};

class DrawClipping : public DrawSurface, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(DrawClipping, TileCoversExactlyItsVisiblePart) {
    const auto c = GetParam();
    // Magenta is in no tile, so every covered pixel shows as changed.
    const QRgb magenta = qRgb(255, 0, 255);
    draw.Fill(0xFF00FF);
    draw.Draw(veltrix::PictureBody, c.X, c.Y, 0);
    const QImage result = draw.BackBuffer().copy();
    const QImage expected = Expected(Solid(magenta), body, c.X, c.Y, false, 0);
    EXPECT_EQ(Differences(result, expected), 0);
    EXPECT_EQ(Differences(result, Solid(magenta)), c.ChangedPixels);
}

INSTANTIATE_TEST_SUITE_P(
    Draw, DrawClipping,
    ::testing::Values(ClipCase{0, 0, 625}, ClipCase{475, 550, 625}, ClipCase{500, 0, 50}, ClipCase{0, 575, 25},
                      ClipCase{500, 575, 2}, ClipCase{-24, -24, 1}, ClipCase{-25, 0, 0}, ClipCase{0, -25, 0},
                      ClipCase{502, 0, 0}, ClipCase{0, 576, 0}, ClipCase{1000, 1000, 0},
                      ClipCase{INT32_MAX, INT32_MAX, 0}, ClipCase{INT32_MAX - 10, 0, 0},
                      ClipCase{INT32_MIN, INT32_MIN, 0}, ClipCase{INT32_MIN, 100, 0},
                      ClipCase{100, INT32_MAX, 0}, ClipCase{-20, INT32_MIN + 5, 0}));

TEST_F(DrawSurface, RealTilesCoverTheirWholeCell) {
    // Filled with each tile's key colour: any hole would keep it.
    const struct {
        int Index;
        QRgb Key;
        std::uint32_t KeyRef;
    } tiles[] = {{veltrix::PictureBody, qRgb(0, 128, 0), 0x008000}, {veltrix::PictureFood, qRgb(255, 0, 0), 0x0000FF}};
    for (const auto& t : tiles) {
        draw.Fill(t.KeyRef);
        draw.Draw(t.Index, 100, 200, 0);
        const QImage& back = draw.BackBuffer();
        for (int y = 200; y < 225; ++y)
            for (int x = 100; x < 125; ++x)
                ASSERT_NE(back.pixel(x, y) & RGB_MASK, t.Key & RGB_MASK) << t.Index << " at " << x << "," << y;
        EXPECT_EQ(back.pixel(99, 200) & RGB_MASK, t.Key & RGB_MASK);
        EXPECT_EQ(back.pixel(125, 224) & RGB_MASK, t.Key & RGB_MASK);
    }
}

TEST_F(DrawSurface, FillTakesTheColourReferenceOrder) {
    // 0x00BBGGRR: 255 is pure red.
    const struct {
        std::uint32_t Ref;
        QRgb Colour;
    } cases[] = {{0, qRgb(0, 0, 0)}, {255, qRgb(255, 0, 0)}, {0xFF0000, qRgb(0, 0, 255)}, {0x123456, qRgb(0x56, 0x34, 0x12)}};
    for (const auto& c : cases) {
        draw.Draw(veltrix::PictureBackground, 0, 0, 0);
        draw.Fill(c.Ref);
        EXPECT_EQ(Differences(draw.BackBuffer(), Solid(c.Colour)), 0) << std::hex << c.Ref;
    }
}

TEST_F(DrawSurface, FrameMatchesPlainPaintingInDrawingOrder) {
    // The sequences the game issues: a normal frame, a level advance (second
    // fill before the food) and a frame without background.
    const QImage background = QImage(":/background.png").convertToFormat(QImage::Format_RGB32);
    const QImage food = QImage(":/food.png").convertToFormat(QImage::Format_RGB32);
    QImage normal = background.copy();
    {
        QPainter p(&normal);
        for (int i = 0; i < 30; ++i)
            p.drawImage(25 * (i % 20), 25 * (i / 20) + 300, body);
        p.drawImage(250, 100, food);
    }
    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 0, 0, 0);
    for (int i = 0; i < 30; ++i)
        draw.Draw(veltrix::PictureBody, 25 * (i % 20), 25 * (i / 20) + 300, 0);
    draw.Draw(veltrix::PictureFood, 250, 100, 0);
    EXPECT_EQ(Differences(draw.BackBuffer(), normal), 0);

    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 0, 0, 0);
    draw.Draw(veltrix::PictureBody, 0, 0, 0);
    draw.Fill(0);
    draw.Draw(veltrix::PictureFood, 250, 100, 0);
    EXPECT_EQ(Differences(draw.BackBuffer(), Expected(Solid(qRgb(0, 0, 0)), food, 250, 100, false, 0)), 0);

    // A background drawn off its origin must not swallow the fill.
    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 10, 0, 0);
    EXPECT_EQ(Differences(draw.BackBuffer(), Expected(Solid(qRgb(0, 0, 0)), background, 10, 0, false, 0)), 0);
}

TEST_F(DrawSurface, OtherPatternsAndIndicesDrawNothing) {
    draw.Fill(0);
    draw.Draw(veltrix::PictureBody, 0, 0, 1);
    draw.Draw(3, 0, 0, 0);
    draw.Draw(-1, 0, 0, 0);
    EXPECT_EQ(Differences(draw.BackBuffer(), Solid(qRgb(0, 0, 0))), 0);
}

TEST_F(DrawSurface, BlackFromTheStartOnBothBuffers) {
    EXPECT_EQ(Differences(draw.BackBuffer(), Solid(qRgb(0, 0, 0))), 0);
    EXPECT_EQ(Differences(draw.FrontBuffer(), Solid(qRgb(0, 0, 0))), 0);
    draw.resize(W, H);
    const QImage shown = draw.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Differences(shown, Solid(qRgb(0, 0, 0))), 0);
}

TEST_F(DrawSurface, RepaintShowsTheLastFlippedFrameNotTheBackBuffer) {
    draw.resize(W, H);
    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 0, 0, 0);
    draw.Draw(veltrix::PictureFood, 50, 50, 0);
    draw.Flip();
    const QImage flipped = draw.BackBuffer().copy();
    EXPECT_EQ(Differences(draw.FrontBuffer(), flipped), 0);

    // Compose half a new frame without flipping: repaints must not show it.
    draw.Fill(0x00FFFF);
    draw.Draw(veltrix::PictureBody, 200, 200, 0);
    for (int i = 0; i < 2; ++i) {
        const QImage shown = draw.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(Differences(shown, flipped), 0);
    }
    EXPECT_EQ(Differences(draw.FrontBuffer(), flipped), 0);
}

TEST_F(DrawSurface, HighDensityDisplaysGetSharpWholePixelScaling) {
    draw.resize(W, H);
    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 0, 0, 0);
    draw.Draw(veltrix::PictureBody, 101, 203, 0);
    draw.Flip();
    QImage target(2 * W, 2 * H, QImage::Format_RGB32);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::magenta);
    draw.render(&target);
    const QImage& front = draw.FrontBuffer();
    int wrong = 0;
    for (int y = 0; y < 2 * H; ++y)
        for (int x = 0; x < 2 * W; ++x)
            wrong += (target.pixel(x, y) & RGB_MASK) != (front.pixel(x / 2, y / 2) & RGB_MASK);
    EXPECT_EQ(wrong, 0);
}

// The game-over text: "Arial" 35 pt, pure red, clear brush.
const veltrix::TextStyle GameOverStyle{true, "Arial", 255, 35};

TEST_F(DrawSurface, GameOverTextSitsBelowAndRightOfItsCorner) {
    draw.Fill(0);
    draw.BeginText(GameOverStyle);
    draw.TextOut(100, 300, "GAME OVER!");
    draw.ReleaseText();
    const QImage& back = draw.BackBuffer();
    int left = W, top = H, right = -1, bottom = -1, pureRed = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const QRgb c = back.pixel(x, y);
            if ((c & RGB_MASK) == 0)
                continue;
            EXPECT_EQ(qGreen(c), 0);
            EXPECT_EQ(qBlue(c), 0);
            pureRed += qRed(c) == 255;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_GT(pureRed, 500);
    // 35 points at 96 dpi is a 47-pixel font; the capitals sit inside it.
    EXPECT_GE(left, 100);
    EXPECT_LE(left, 106);
    EXPECT_GT(top, 300);
    EXPECT_LE(top, 314);
    EXPECT_LE(bottom, 300 + 47);
    EXPECT_GT(bottom, 300 + 30);
    EXPECT_GT(right, 100 + 200);
}

TEST_F(DrawSurface, TextFarOffTheSurfaceIsSkippedSafely) {
    draw.Fill(0);
    draw.BeginText(GameOverStyle);
    const std::int32_t places[][2] = {{INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}, {INT32_MAX, 0},
                                      {0, INT32_MIN}, {-100000, 300}, {502, 0}, {0, 576}};
    for (const auto& p : places)
        draw.TextOut(p[0], p[1], "GAME OVER!");
    draw.ReleaseText();
    EXPECT_EQ(Differences(draw.BackBuffer(), Solid(qRgb(0, 0, 0))), 0);
}

// Pictures written to a temporary folder, with key-coloured holes.
class DrawCustomPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        tile = QImage(25, 25, QImage::Format_RGB32);
        tile.fill(qRgb(10, 20, 30));
        for (int i = 0; i < 25; ++i)
            tile.setPixel(i, i, qRgb(0, 128, 0));  // a keyed diagonal
        tile.setPixel(24, 0, qRgb(0, 128, 1));     // close to the key is not the key
        ASSERT_TRUE(tile.save(dir.filePath("body.png")));
        ASSERT_TRUE(QImage(":/food.png").save(dir.filePath("food.png")));
        ASSERT_TRUE(QImage(":/background.png").save(dir.filePath("background.png")));
        const char* names[] = {"body.png", "food.png", "background.png"};
        for (int i = 0; i < 3; ++i)
            draw.ImageList().Items(i).Source = dir.filePath(names[i]);
    }
    QTemporaryDir dir;
    QImage tile;
    TDXDraw draw;
};

TEST_F(DrawCustomPictures, KeyColouredPixelsAreSkipped) {
    ASSERT_TRUE(draw.Initialize());
    for (const std::int32_t x : {0, 490, -10}) {
        draw.Fill(0xFF0000);  // blue
        draw.Draw(veltrix::PictureBody, x, 5, 0);
        const QImage expected = Expected(Solid(qRgb(0, 0, 255)), tile, x, 5, true, qRgb(0, 128, 0));
        EXPECT_EQ(Differences(draw.BackBuffer(), expected), 0) << x;
    }
    // Source (10, 10) of the keyed diagonal lands at (0, 15).
    EXPECT_EQ(draw.BackBuffer().pixel(0, 15) & RGB_MASK, qRgb(0, 0, 255) & RGB_MASK);
    EXPECT_EQ(draw.BackBuffer().pixel(14, 5) & RGB_MASK, qRgb(0, 128, 1) & RGB_MASK);
}

TEST_F(DrawCustomPictures, MissingPictureFailsWithAMessageAndLeavesDrawingHarmless) {
    draw.ImageList().Items(veltrix::PictureFood).Source = dir.filePath("missing.png");
    QSignalSpy failed(&draw, &TDXDraw::InitializationFailed);
    EXPECT_FALSE(draw.Initialize());
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.at(0).at(0).toString().contains("missing.png"));
    EXPECT_FALSE(draw.Initialized());
    draw.Fill(0);
    draw.Draw(veltrix::PictureBody, 0, 0, 0);
    draw.BeginText({});
    draw.TextOut(0, 0, "x");
    draw.ReleaseText();
    draw.Flip();
    draw.resize(W, H);
    (void)draw.grab();
    EXPECT_EQ(failed.count(), 1);  // drawing does not retry or report again
}

TEST_F(DrawCustomPictures, DrawingBeforeInitializeSetsTheSurfaceUp) {
    draw.Fill(0);
    draw.Draw(veltrix::PictureBody, 0, 0, 0);
    ASSERT_TRUE(draw.Initialized());
    EXPECT_EQ(Differences(draw.BackBuffer(), Expected(Solid(qRgb(0, 0, 0)), tile, 0, 0, true, qRgb(0, 128, 0))), 0);
}

TEST_F(DrawCustomPictures, PaletteHoldsSystemColoursAndIndexedPictureColours) {
    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(255, 255, 255), qRgb(4, 5, 6)});
    indexed.fill(0);
    ASSERT_TRUE(indexed.save(dir.filePath("food.png")));
    draw.PreparePalette();
    const auto& table = draw.ColorTable();
    EXPECT_EQ(table[0] & RGB_MASK, 0u);
    EXPECT_EQ(table[7] & RGB_MASK, qRgb(192, 192, 192) & RGB_MASK);
    EXPECT_EQ(table[248] & RGB_MASK, qRgb(128, 128, 128) & RGB_MASK);
    EXPECT_EQ(table[255] & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);
    // White is already present; the two new colours follow the first eight.
    EXPECT_EQ(table[8] & RGB_MASK, qRgb(1, 2, 3) & RGB_MASK);
    EXPECT_EQ(table[9] & RGB_MASK, qRgb(4, 5, 6) & RGB_MASK);
    EXPECT_EQ(table[10], 0u);
    EXPECT_EQ(draw.DefaultColorTable(), table);
}

} // namespace
