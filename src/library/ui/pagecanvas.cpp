#include "pagecanvas.h"

#include <cmath>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include "pagelayout.h"
#include "pagemodel.h"

namespace {

constexpr int kTwips = PageLayout::kTwipsPerPixel;

int toPixel(int twips)
{
    return static_cast<int>(std::lround(twips / double(kTwips)));
}

QFont cellFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(7);
    return font;
}

/// The camera icon of the photo information.
QPixmap cameraIcon(const QSize &size, bool enabled)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = enabled ? QColor(0x30, 0x30, 0x30) : QColor(0x90, 0x90, 0x90);
    const QColor lens = enabled ? QColor(0x70, 0xA0, 0xE0) : QColor(0xC0, 0xC0, 0xC0);
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(w * 0.30, h * 0.08, w * 0.30, h * 0.22), 1, 1);
    p.drawRoundedRect(QRectF(w * 0.04, h * 0.24, w * 0.92, h * 0.68), 2, 2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(w * 0.5, h * 0.58), w * 0.24, h * 0.27);
    p.setBrush(lens);
    p.drawEllipse(QPointF(w * 0.5, h * 0.58), w * 0.15, h * 0.17);
    return pixmap;
}

/// picInvalid: shown in place of a picture that cannot be decoded.
QPixmap invalidPicture(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 2));
    const QRectF box = QRectF(pixmap.rect()).adjusted(4, 4, -4, -4);
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
    p.setPen(Qt::black);
    QFont font = cellFont();
    font.setBold(true);
    p.setFont(font);
    p.fillRect(QRectF(0, size.height() / 2.0 - 7, size.width(), 14), Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Invalid photo"));
    return pixmap;
}

/// Where the picture itself lies in a cell's picture of area pixels: the picture of the size
/// tag ("H x W") fitted with its aspect and centred. The whole area when the tag says nothing.
QRect pictureContent(const QString &sizeTag, const QSize &area)
{
    const QStringList parts =
        sizeTag.split(QLatin1Char('x'), Qt::SkipEmptyParts, Qt::CaseInsensitive);
    if (parts.size() != 2) {
        return QRect(QPoint(0, 0), area);
    }
    const double h = parts.at(0).trimmed().toDouble();
    const double w = parts.at(1).trimmed().toDouble();
    if (w <= 0 || h <= 0) {
        return QRect(QPoint(0, 0), area);
    }
    const double scale = std::min(area.width() / w, area.height() / h);
    const int cw = std::clamp(static_cast<int>(std::floor(w * scale)), 1, area.width());
    const int ch = std::clamp(static_cast<int>(std::floor(h * scale)), 1, area.height());
    return QRect((area.width() - cw + 1) / 2, (area.height() - ch + 1) / 2, cw, ch);
}

/// The name label's caption as it reads on screen: a doubled "&" shows as one.
QString displayedCaption(const QString &caption)
{
    QString shown = caption;
    shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return shown;
}

} // namespace

QRect twipsToPixels(const QRect &twips)
{
    const int left = toPixel(twips.x());
    const int top = toPixel(twips.y());
    return QRect(left,
                 top,
                 toPixel(twips.x() + twips.width()) - left,
                 toPixel(twips.y() + twips.height()) - top);
}

PageCanvas::PageCanvas(const PageModel &model, const PageSelection &selection, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_selection(selection)
    , m_background(QColor(0x00, 0x40, 0x00))
{
    setObjectName(QStringLiteral("Picture1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Growing the page as cells arrive repaints only what was added (usually out of sight).
    setAttribute(Qt::WA_StaticContents);
    const PageLayout::CellGeometry g = PageLayout::cellGeometry(0, PageLayout::kGridStep * 2);
    m_camera = cameraIcon(twipsToPixels(g.imgCamera).size(), true);
    m_cameraDisabled = cameraIcon(twipsToPixels(g.imgCamera).size(), false);
    m_invalid = invalidPicture(PageLayout::pictureAreaPixels());
}

int PageCanvas::layoutWidthTwips() const
{
    return width() * kTwips;
}

QRect PageCanvas::partRect(int index, PagePart part) const
{
    const PageLayout::CellGeometry g = PageLayout::cellGeometry(index, layoutWidthTwips());
    switch (part) {
    case PagePart::None:
        return twipsToPixels(g.Shape1);
    case PagePart::chkSelected:
        return twipsToPixels(g.chkSelected);
    case PagePart::imgCamera:
        return twipsToPixels(g.imgCamera);
    case PagePart::lblName:
        return twipsToPixels(g.lblName);
    case PagePart::lblDate:
        return twipsToPixels(g.lblDate);
    case PagePart::imX:
        return twipsToPixels(g.imX);
    case PagePart::lblHolder:
        return twipsToPixels(g.lblHolder);
    }
    return {};
}

PageHit PageCanvas::hitAt(const QPoint &pixel) const
{
    // The middle of the pixel, in twips.
    const QPoint twips(pixel.x() * kTwips + kTwips / 2, pixel.y() * kTwips + kTwips / 2);
    return hitTestPage(twips, m_model.count(), layoutWidthTwips(), [this](int i) {
        return !m_selection.isValidIndex(i) || m_selection.marks(i).imXVisible;
    });
}

void PageCanvas::setBackground(const QColor &colour)
{
    m_background = colour;
    update();
}

void PageCanvas::updateCell(int index)
{
    if (index < 0 || index >= m_model.count()) {
        return;
    }
    // Cells out of sight are painted when they are scrolled to.
    const QRect cell = partRect(index, PagePart::None).adjusted(-1, -1, 1, 1);
    if (visibleRegion().intersects(cell)) {
        update(cell);
    }
}

void PageCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, m_background);
    const int top = dirty.top() * kTwips;
    const int bottom = (dirty.bottom() + 1) * kTwips;
    const auto [first, last] =
        PageLayout::cellsInBand(top, bottom, m_model.count(), layoutWidthTwips());
    painter.setFont(cellFont());
    for (int i = first; i <= last; ++i) {
        if (partRect(i, PagePart::None).intersects(dirty)) {
            paintCell(painter, i);
        }
    }
}

void PageCanvas::paintCell(QPainter &p, int index) const
{
    const PageCell &cell = m_model.cell(index);
    static const CellMarks kUnmarked;
    const CellMarks &marks = m_selection.isValidIndex(index) ? m_selection.marks(index) : kUnmarked;
    const QColor normal = cellColour();
    const QColor white(Qt::white);

    // Shape1: the frame with curved corners.
    const QRect frame = partRect(index, PagePart::None);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(marks.frameWhite ? white : normal);
    p.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    p.setRenderHint(QPainter::Antialiasing, false);

    // lblHolder: the picture's mount, with a single-line border.
    const QRect holder = partRect(index, PagePart::lblHolder);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0xF0, 0xF0, 0xF0));
    p.drawRect(holder.adjusted(0, 0, -1, -1));
    if (!marks.lblHolderCaption.isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(holder.adjusted(3, 2, -3, -2),
                   Qt::AlignCenter | Qt::TextWordWrap,
                   marks.lblHolderCaption);
    }

    // imX: the picture on the picture control's back colour.
    if (marks.imXVisible) {
        const QRect area = partRect(index, PagePart::imX);
        p.fillRect(area, marks.pictureWhite ? white : normal);
        p.save();
        p.setClipRect(area);
        if (marks.isInvalid()) {
            p.drawPixmap(area.topLeft(), m_invalid);
        } else if (!cell.picture.isNull()) {
            const QRect content = pictureContent(cell.sizeTag, cell.picture.size());
            p.drawImage(area.topLeft() + content.topLeft(), cell.picture, content);
        }
        p.restore();
    }

    // lblName: the name above the picture.
    const QRect name = partRect(index, PagePart::lblName);
    p.fillRect(name, marks.nameLabelWhite ? white : normal);
    p.setPen(Qt::black);
    p.drawText(name.adjusted(1, 0, -1, 0),
               (cell.captionCentred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter
                   | Qt::TextSingleLine,
               displayedCaption(cell.caption));

    // lblDate: the date below the picture, centred.
    p.drawText(partRect(index, PagePart::lblDate),
               Qt::AlignCenter | Qt::TextSingleLine,
               cell.dateText);

    // imgCamera.
    const QRect camera = partRect(index, PagePart::imgCamera);
    p.drawPixmap(camera.topLeft(), marks.imgCameraEnabled ? m_camera : m_cameraDisabled);

    // chkSelected: the tall tick band.
    const QRect band = partRect(index, PagePart::chkSelected);
    p.fillRect(band, marks.chkSelectedColour);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::NoBrush);
    p.drawRect(band.adjusted(0, 0, -1, -1));
    const int side = std::max(3, band.width() - 2);
    const QRect box(band.left() + 1, band.center().y() - side / 2, side, side);
    p.fillRect(box, Qt::white);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    if (marks.ticked) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::black, 1.5));
        const QRectF b = QRectF(box).adjusted(1.5, 1.5, -1.5, -1.5);
        QPainterPath tick;
        tick.moveTo(b.left(), b.center().y());
        tick.lineTo(b.left() + b.width() * 0.4, b.bottom());
        tick.lineTo(b.right(), b.top());
        p.drawPath(tick);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
}

void PageCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = hitAt(event->position().toPoint());
    }
    event->accept();
}

void PageCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const PageHit hit = hitAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        // A click is a press and a release over the same control.
        const PageHit pressed = std::exchange(m_pressed, PageHit{});
        if (pressed == hit) {
            Q_EMIT clicked(hit);
        }
    } else if (event->button() == Qt::RightButton) {
        Q_EMIT rightReleased(hit, event->globalPosition().toPoint());
    }
    event->accept();
}

void PageCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        Q_EMIT doubleClicked(hitAt(event->position().toPoint()));
    }
    event->accept();
}

void PageCanvas::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT hovered(hitAt(event->position().toPoint()));
    event->accept();
}
