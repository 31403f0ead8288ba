#include "pagelayout.h"

#include <algorithm>
#include <cmath>

namespace PageLayout {

namespace {

constexpr int kNameOffsetTop = 150;
constexpr int kNameHeight = 300;
constexpr int kHolderOffsetLeft = 250;
constexpr int kHolderOffsetTop = 500;
constexpr int kHolderWidth = 1335;
constexpr int kHolderHeight = 900;
constexpr int kDateWidth = 1575;
constexpr int kDateHeight = 255;
constexpr int kTickWidth = 135;
constexpr int kTickHeight = 735;
constexpr int kCameraWidth = 280;
constexpr int kCameraHeight = 250;

/// The row of cell index and its column.
std::pair<int, int> rowAndColumn(int index, int windowWidth)
{
    const int perRow = cellsPerRow(windowWidth);
    if (perRow == 0) {
        return {index + 1, 0};
    }
    return {index / perRow, index % perRow};
}

} // namespace

int cellsPerRow(int windowWidth)
{
    // A cell at left x stays in its row while the width is at least x + 2000.
    if (windowWidth < kFirstLeft + kGridStep) {
        return 0;
    }
    return (windowWidth - kFirstLeft) / kGridStep;
}

QPoint framePosition(int index, int windowWidth)
{
    const auto [row, column] = rowAndColumn(index, windowWidth);
    return QPoint(kFirstLeft + column * kGridStep, kFirstTop + row * kGridStep);
}

CellGeometry cellGeometry(int index, int windowWidth)
{
    const QPoint frame = framePosition(index, windowWidth);
    const int L = frame.x();
    const int T = frame.y();
    CellGeometry g;
    g.Shape1 = QRect(L, T, kFrameSize, kFrameSize);
    g.lblHolder = QRect(L + kHolderOffsetLeft, T + kHolderOffsetTop, kHolderWidth, kHolderHeight);
    g.txtName = QRect(g.lblHolder.left(), T + kNameOffsetTop, kHolderWidth, kNameHeight);
    g.lblName = g.txtName;
    g.imX = QRect(g.lblHolder.left() + 20,
                  g.lblHolder.top() + 30,
                  kHolderWidth - 50,
                  kHolderHeight - 60);
    g.lblDate = QRect(L + 100, T + kFrameSize - 300, kDateWidth, kDateHeight);
    g.chkSelected = QRect(L + 50, g.lblHolder.top(), kTickWidth, kTickHeight);
    g.imgCamera = QRect(L + kFrameSize - 400,
                        g.lblHolder.top() + kHolderHeight + 80,
                        kCameraWidth,
                        kCameraHeight);
    return g;
}

int canvasHeight(int count, int windowWidth)
{
    if (count <= 0) {
        return kFirstTop + kGridStep;
    }
    return framePosition(count - 1, windowWidth).y() + kGridStep;
}

std::pair<int, int> cellsInBand(int top, int bottom, int count, int windowWidth)
{
    if (count <= 0 || bottom <= top) {
        return {0, -1};
    }
    const int perRow = cellsPerRow(windowWidth);
    // Frames of row r span [400 + 2000 r, 400 + 2000 r + 1800).
    auto rowOfFrameTop = [](int y) {
        return (y - kFirstTop) / kGridStep;
    };
    const int firstRow = top < kFirstTop + kFrameSize ? 0 : rowOfFrameTop(top - kFrameSize) + 1;
    const int lastRow = bottom <= kFirstTop ? -1 : (bottom - 1 - kFirstTop) / kGridStep;
    if (perRow == 0) {
        // Row r holds cell r - 1.
        const int first = std::max(0, firstRow - 1);
        const int last = std::min(count - 1, lastRow - 1);
        return {first, last};
    }
    const int first = firstRow * perRow;
    const int last = std::min(count - 1, (lastRow + 1) * perRow - 1);
    if (first > last) {
        return {0, -1};
    }
    return {first, last};
}

QSize pictureAreaPixels()
{
    const QRect area = cellGeometry(0, kFirstLeft + kGridStep).imX;
    return QSize(static_cast<int>(std::lround(area.width() / double(kTwipsPerPixel))),
                 static_cast<int>(std::lround(area.height() / double(kTwipsPerPixel))));
}

} // namespace PageLayout
