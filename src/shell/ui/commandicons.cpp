#include "commandicons.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace {

QColor tileColour(const QString &caption)
{
    // A stable colour per command, from a small palette of calm tones.
    static const QColor palette[] = {QColor(0x2e, 0x6d, 0xb4),
                                     QColor(0x3a, 0x8f, 0x5c),
                                     QColor(0xb5, 0x6a, 0x1f),
                                     QColor(0x7a, 0x4c, 0xa8),
                                     QColor(0xa8, 0x3a, 0x4a),
                                     QColor(0x2f, 0x85, 0x8f)};
    return palette[qHash(caption) % (sizeof(palette) / sizeof(palette[0]))];
}

QString initials(const QString &caption)
{
    QString letters;
    const QStringList words = caption.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        letters += word.at(0).toUpper();
        if (letters.size() == 2) {
            break;
        }
    }
    return letters.isEmpty() ? QStringLiteral("?") : letters;
}

QPixmap drawTile(const QString &caption, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1, 1, size - 2, size - 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tileColour(caption));
    painter.drawRoundedRect(box, size / 6.0, size / 6.0);
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(size * 2 / 5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, initials(caption));
    return pixmap;
}

} // namespace

QIcon commandIcon(const QString &iconName, const QString &caption)
{
    QIcon fallback;
    for (int size : {24, 32, 48}) {
        fallback.addPixmap(drawTile(caption, size));
    }
    return QIcon::fromTheme(iconName, fallback);
}

QPixmap programLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, size, size);
    sky.setColorAt(0, QColor(0x1d, 0x3b, 0x6e));
    sky.setColorAt(1, QColor(0x4d, 0x8f, 0xd0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), size / 5.0, size / 5.0);
    // A four-pointed spark: the glimmer.
    const qreal c = size / 2.0;
    const qreal r = size * 0.36;
    const qreal w = size * 0.08;
    QPainterPath spark;
    spark.moveTo(c, c - r);
    spark.quadTo(c + w, c - w, c + r, c);
    spark.quadTo(c + w, c + w, c, c + r);
    spark.quadTo(c - w, c + w, c - r, c);
    spark.quadTo(c - w, c - w, c, c - r);
    painter.setBrush(QColor(0xff, 0xf1, 0xb8));
    painter.drawPath(spark);
    return pixmap;
}
