#pragma once
// The game's three pictures. Each is loaded once from its source and then
// prepared for fast drawing: the tiles get their key colour turned into
// fully transparent pixels and a list of opaque runs per row, so drawing a
// tile is a handful of row copies.

#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class TDXPictureItem {
public:
    QString Source;            // where Load() reads the picture from
    bool Transparent = false;
    QRgb TransparentColor = 0; // compared on RGB only
    bool SystemMemory = false; // kept for the record; all pictures live in memory here

    const QImage& Picture() const { return picture_; }  // as loaded
    const QImage& Prepared() const { return prepared_; } // premultiplied, key pixels alpha 0
    int Width() const { return prepared_.width(); }
    int Height() const { return prepared_.height(); }
    // True when the prepared picture has no transparent pixel at all.
    bool Opaque() const { return opaque_; }

    // One opaque stretch of a prepared row: columns [Begin, End).
    struct Run {
        std::int32_t Begin;
        std::int32_t End;
    };
    // Opaque runs of row y of the prepared picture, left to right.
    const Run* RowRuns(int y, int* count) const;

private:
    friend class TDXImageList;
    QImage picture_;
    QImage prepared_;
    std::vector<Run> runs_;
    std::vector<std::int32_t> rowStart_; // Height()+1 offsets into runs_
    bool opaque_ = false;
};

class TDXImageList {
public:
    static constexpr int Count = 3;

    TDXImageList();

    TDXPictureItem& Items(int index) { return items_[static_cast<std::size_t>(index)]; }
    const TDXPictureItem& Items(int index) const { return items_[static_cast<std::size_t>(index)]; }

    // Reads every picture from its Source (once; later calls keep what was
    // read). Returns false and names the first picture that failed.
    bool Load(QString* error = nullptr);
    bool Loaded() const { return loaded_; }
    // Converts the loaded pictures for drawing. Done once, never per frame.
    bool Prepare(QString* error = nullptr);
    bool Prepared() const { return prepared_; }

    // 256 entries: the sixteen system colours at 0-7 and 248-255, then the
    // palette colours of any picture with 8 bits or fewer per pixel.
    void MakeColorTable();
    const std::array<QRgb, 256>& ColorTable() const { return colorTable_; }

private:
    std::array<TDXPictureItem, Count> items_;
    std::array<QRgb, 256> colorTable_{};
    bool loaded_ = false;
    bool prepared_ = false;
};
