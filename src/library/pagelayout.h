#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

/// Where the controls of an album page's cells go, in twips. Cells are 1800-twip frames on a
/// 2000-twip grid, the first at (240, 400); a row holds as many cells as fit the window's width
/// (a cell whose left + 2000 would pass the width starts a new row at left 240, 2000 lower).
namespace PageLayout {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kFrameSize = 1800;
inline constexpr int kGridStep = 2000;
inline constexpr int kFirstLeft = 240;
inline constexpr int kFirstTop = 400;

/// The rectangles of one cell's controls, in twips on the canvas.
struct CellGeometry
{
    QRect Shape1;
    QRect txtName;
    QRect lblName;
    QRect lblHolder;
    QRect imX;
    QRect lblDate;
    QRect chkSelected;
    QRect imgCamera;
};

/// Cells in one row of a window windowWidth twips wide; 0 when even the first cell does not fit
/// (then every cell, the first included, starts a new row of its own).
int cellsPerRow(int windowWidth);
/// The top-left corner of cell index's frame.
QPoint framePosition(int index, int windowWidth);
/// Every control of cell index.
CellGeometry cellGeometry(int index, int windowWidth);
/// The canvas height for count cells: the last frame's top + 2000. A page without cells keeps
/// the first cell's place, so its canvas is 2400 high.
int canvasHeight(int count, int windowWidth);
/// The first and last index of the cells whose frames meet the band [top, bottom) of the canvas;
/// first > last when none do.
std::pair<int, int> cellsInBand(int top, int bottom, int count, int windowWidth);
/// The picture control's area (imX) in whole pixels: 1285 x 840 twips.
QSize pictureAreaPixels();

} // namespace PageLayout
