// The shipped pictures and icons: sizes, edges, keys and colours.
#include <QImage>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

#include "media/DXImageList.h"

namespace {

TEST(DrawPictures, ListKnowsRolesSizesAndKeys) {
    TDXImageList list;
    ASSERT_TRUE(list.Prepare());
    const struct {
        int Index, Width, Height;
        bool Transparent;
        QRgb Key;
    } expected[] = {{0, 25, 25, true, qRgb(0, 128, 0)}, {1, 25, 25, true, qRgb(255, 0, 0)}, {2, 502, 576, false, 0}};
    for (const auto& e : expected) {
        const TDXPictureItem& item = list.Items(e.Index);
        EXPECT_EQ(item.Width(), e.Width) << e.Index;
        EXPECT_EQ(item.Height(), e.Height) << e.Index;
        EXPECT_EQ(item.Transparent, e.Transparent) << e.Index;
        if (e.Transparent) {
            EXPECT_EQ(item.TransparentColor & RGB_MASK, e.Key & RGB_MASK) << e.Index;
        }
        // No key pixel anywhere, so every picture is opaque once prepared.
        EXPECT_TRUE(item.Opaque()) << e.Index;
        EXPECT_FALSE(item.Picture().hasAlphaChannel()) << e.Index;
    }
}

TEST(DrawPictures, TilesHaveWhiteTopLeftAndBlackBottomRightEdges) {
    for (const char* name : {":/body.png", ":/food.png"}) {
        const QImage tile(QString::fromLatin1(name));
        ASSERT_EQ(tile.size(), QSize(25, 25)) << name;
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(tile.pixel(i, 0) & RGB_MASK, 0xffffffu & RGB_MASK) << name << " top " << i;
            EXPECT_EQ(tile.pixel(0, i) & RGB_MASK, 0xffffffu & RGB_MASK) << name << " left " << i;
        }
        for (int i = 1; i < 25; ++i) {
            EXPECT_EQ(tile.pixel(i, 24) & RGB_MASK, 0u) << name << " bottom " << i;
            EXPECT_EQ(tile.pixel(24, i) & RGB_MASK, 0u) << name << " right " << i;
        }
    }
}

TEST(DrawPictures, TilesLookTheirPart) {
    // Average of the inside: the body light blue, the food a neutral grey.
    auto average = [](const QImage& tile) {
        long r = 0, g = 0, b = 0;
        for (int y = 2; y < 23; ++y)
            for (int x = 2; x < 23; ++x) {
                const QRgb c = tile.pixel(x, y);
                r += qRed(c), g += qGreen(c), b += qBlue(c);
            }
        return std::array<long, 3>{r / 441, g / 441, b / 441};
    };
    const auto body = average(QImage(":/body.png"));
    EXPECT_GT(body[2], 180);
    EXPECT_GT(body[2], body[0] + 60);
    const auto food = average(QImage(":/food.png"));
    EXPECT_LT(std::abs(food[0] - food[2]), 20);
    EXPECT_GT(food[1], 90);
    EXPECT_LT(food[1], 200);
}

TEST(DrawPictures, IconsComeInEverySizeWithTransparentSurroundings) {
    for (const int size : {32, 48, 64, 128, 256}) {
        const QImage icon(QStringLiteral(":/icon-%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        ASSERT_TRUE(icon.hasAlphaChannel()) << size;
        const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
        int clear = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                clear += qAlpha(argb.pixel(x, y)) == 0;
        EXPECT_GT(clear, size * size / 10) << size;
        EXPECT_LT(clear, size * size / 2) << size;
    }
}

TEST(DrawPictures, SmallIconUsesSixteenColoursWithOliveAndPurple) {
    const QImage icon = QImage(":/icon-32.png").convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (qAlpha(icon.pixel(x, y)) != 0)
                colours.insert(icon.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    EXPECT_TRUE(colours.contains(qRgb(128, 128, 0)));
    EXPECT_TRUE(colours.contains(qRgb(128, 0, 128)));
    EXPECT_TRUE(colours.contains(qRgb(0, 0, 0)));
}

} // namespace
