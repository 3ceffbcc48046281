#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vorrel {

namespace {

constexpr int kSize = 18;

void drawPage(QPainter &p, const QRectF &r, const QColor &fill)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 4, r.top());
    page.lineTo(r.right(), r.top() + 4);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setBrush(fill);
    p.drawPath(page);
}

void drawGlyph(QPainter &p, ToolGlyph glyph, bool enabled)
{
    const QColor ink = enabled ? QColor(30, 30, 30) : QColor(150, 150, 150);
    auto tint = [enabled](const QColor &c) { return enabled ? c : QColor(215, 215, 215); };
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1));
    switch (glyph) {
    case ToolGlyph::New:
        drawPage(p, QRectF(3.5, 1.5, 11, 15), Qt::white);
        p.setPen(QPen(tint(QColor(230, 180, 0)), 2));
        p.drawLine(QPointF(12, 2), QPointF(16, 6));
        break;
    case ToolGlyph::Open:
        p.setBrush(tint(QColor(240, 200, 80)));
        p.drawRect(QRectF(1.5, 5.5, 14, 10));
        p.drawRect(QRectF(1.5, 3.5, 6, 2));
        p.setBrush(tint(QColor(250, 225, 130)));
        p.drawPolygon(QPolygonF({ QPointF(4, 8), QPointF(17, 8), QPointF(15, 15.5), QPointF(1.5, 15.5) }));
        break;
    case ToolGlyph::Save:
        p.setBrush(tint(QColor(40, 70, 160)));
        p.drawRect(QRectF(1.5, 1.5, 15, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 9, 6));
        p.setBrush(tint(QColor(180, 180, 190)));
        p.drawRect(QRectF(4.5, 10.5, 9, 6));
        break;
    case ToolGlyph::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 9, 6));
        p.setBrush(tint(QColor(120, 120, 130)));
        p.drawRoundedRect(QRectF(1.5, 7.5, 15, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 12.5, 9, 4));
        break;
    case ToolGlyph::Copy:
        drawPage(p, QRectF(1.5, 1.5, 9, 11), Qt::white);
        drawPage(p, QRectF(7.5, 5.5, 9, 11), tint(QColor(220, 235, 255)));
        break;
    case ToolGlyph::Help:
    case ToolGlyph::About: {
        p.setBrush(tint(glyph == ToolGlyph::Help ? QColor(40, 120, 200) : QColor(40, 150, 80)));
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(12);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1.5, 1.5, 15, 15), Qt::AlignCenter,
            glyph == ToolGlyph::Help ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    }
}

QPixmap render(ToolGlyph glyph, bool enabled)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawGlyph(p, glyph, enabled);
    return pixmap;
}

} // namespace

QIcon toolIcon(ToolGlyph glyph)
{
    QIcon icon;
    icon.addPixmap(render(glyph, true), QIcon::Normal);
    icon.addPixmap(render(glyph, false), QIcon::Disabled);
    return icon;
}

} // namespace vorrel
