#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include "pageselection.h"

class PageModel;
struct PageCell;

/// Twips to pixels on the album page (15 twips a pixel): each edge is rounded to the nearest
/// pixel, so neighbouring rectangles stay adjacent.
QRect twipsToPixels(const QRect &twips);

/// The canvas Picture1 of an album page: one widget that paints the cells of the page model it
/// shows (only those in the area being repainted) and reports what the pointer does over which
/// cell control. The cell controls are no widgets; their rectangles follow PageLayout for the
/// canvas's width.
class PageCanvas : public QWidget
{
    Q_OBJECT

public:
    PageCanvas(const PageModel &model, const PageSelection &selection, QWidget *parent = nullptr);

    /// The width the cells are laid out for, in twips: the canvas's width.
    int layoutWidthTwips() const;
    /// Where a control of cell index is painted, in canvas pixels (part None: the frame).
    QRect partRect(int index, PagePart part) const;
    /// The cell control at a canvas pixel.
    PageHit hitAt(const QPoint &pixel) const;

    QColor background() const { return m_background; }
    void setBackground(const QColor &colour);
    /// Repaints cell index.
    void updateCell(int index);

Q_SIGNALS:
    /// The left button was pressed and released over the same control.
    void clicked(PageHit hit);
    void doubleClicked(PageHit hit);
    /// The right button was released at globalPos.
    void rightReleased(PageHit hit, QPoint globalPos);
    /// The pointer moved over the canvas.
    void hovered(PageHit hit);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void paintCell(QPainter &painter, int index) const;

    const PageModel &m_model;
    const PageSelection &m_selection;
    QColor m_background;
    PageHit m_pressed;
    QPixmap m_camera;
    QPixmap m_cameraDisabled;
    QPixmap m_invalid;
};
