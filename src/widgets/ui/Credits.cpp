#include "widgets/ui/Credits.h"

#include "widgets/CreditsMarkup.h"
#include "widgets/ui/ErrorBox.h"

#include <QColor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <exception>

using namespace vorrel;

namespace {

QColor toQColor(TColor color)
{
    const TColor rgb = colorToRgb(color);
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

QFont lineFont(const QFont &creditsFont, const CreditLine &line)
{
    const CreditFontStyle from { creditsFont.bold(), creditsFont.italic(), creditsFont.underline(),
        creditsFont.strikeOut() };
    const CreditFontStyle to = creditLineStyle(from, line);
    QFont font(creditsFont);
    // Only what changes is touched, so a light or heavy weight survives a line without "&b".
    if (to.bold != from.bold)
        font.setBold(to.bold);
    if (to.italic != from.italic)
        font.setItalic(to.italic);
    if (to.underline != from.underline)
        font.setUnderline(to.underline);
    if (to.strikeOut != from.strikeOut)
        font.setStrikeOut(to.strikeOut);
    return font;
}

// A painter cannot draw on an empty image, and the line height is measured on the buffer.
QSize bufferSize(const QSize &controlSize)
{
    return controlSize.expandedTo(QSize(1, 1));
}

class ComposingGuard final
{
public:
    explicit ComposingGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~ComposingGuard() { m_flag = false; }
    ComposingGuard(const ComposingGuard &) = delete;
    ComposingGuard &operator=(const ComposingGuard &) = delete;

private:
    bool &m_flag;
};

} // namespace

TScrollingCredits::TScrollingCredits(QWidget *parent) : QWidget(parent)
{
    resize(305, 201);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("scrollTimer"));
    m_buffer = QImage(bufferSize(size()), QImage::Format_RGB32);
    m_credits = {
        QStringLiteral("&b&uTScrollingCredits"),
        QStringLiteral("Copyright 2026 the AIML Vorrel developers"),
        QString(),
        QStringLiteral("This version includes basic formatting!!"),
        QStringLiteral("&bMake a line bold with &&b"),
        QStringLiteral("&uMake a line underlined with &&u"),
        QStringLiteral("&iMake a line italicized with &&i"),
        QStringLiteral("&c255,255,0;Make a line a different color"),
        QStringLiteral("&c0,255,255;with &&c[red],[green],[blue];"),
        QString(),
        QStringLiteral("And put that ampersand in with &&&&"),
        QString(),
        QStringLiteral("&bPlease let me know if you find"),
        QStringLiteral("&bthis component useful."),
        QStringLiteral("vorrel@example.org"),
    };
    m_creditsFont.setFamily(QStringLiteral("Tahoma"));
    m_timer->setInterval(50);
    // A handler's error ends that tick only; it must not travel through the event loop.
    connect(m_timer, &QTimer::timeout, this, [this] { runCommand(window(), [this] { tick(); }); });
}

TScrollingCredits::~TScrollingCredits()
{
    m_timer->stop();
}

void TScrollingCredits::setCredits(const QStringList &credits)
{
    m_credits = credits;
    paintNow();
}

void TScrollingCredits::setCreditsFont(const QFont &font)
{
    m_creditsFont = font;
    invalidate();
}

void TScrollingCredits::setCreditsFontColor(TColor color)
{
    m_creditsFontColor = color;
    invalidate();
}

void TScrollingCredits::setBackgroundColor(TColor color)
{
    m_backgroundColor = color;
    invalidate();
}

void TScrollingCredits::setBackgroundImage(const QImage &image)
{
    m_backgroundImage = image;
    invalidate();
}

void TScrollingCredits::setBorderColor(TColor color)
{
    m_borderColor = color;
    invalidate();
}

void TScrollingCredits::setShowBorder(bool show)
{
    m_showBorder = show;
    invalidate();
}

void TScrollingCredits::setAnimate(bool animate)
{
    m_scrollOffset = animationStartOffset(height(), lineHeight());
    m_animate = animate;
    m_timerEnabled = animate;
    applyTimer();
    paintNow();
}

void TScrollingCredits::setInterval(quint32 milliseconds)
{
    m_interval = milliseconds;
    m_timer->setInterval(static_cast<int>(std::min<quint32>(milliseconds, INT_MAX)));
    applyTimer();
}

void TScrollingCredits::setCreditsVisible(bool visible)
{
    if (visible == m_creditsVisible)
        return;
    m_creditsVisible = visible;
    m_timerEnabled = visible && m_animate;
    applyTimer();
    ResetScroll();
    m_dirty = true;
    if (parentWidget())
        parentWidget()->update();
    update();
}

void TScrollingCredits::ResetScroll()
{
    m_scrollOffset = height();
    m_lastAnnounced = -1;
}

void TScrollingCredits::tick()
{
    const CreditTick step = scrollTick(m_scrollOffset, m_credits.size(), lineHeight(), height());
    if (step.passEnded) {
        NotifyAfterLastCredit();
        ResetScroll();
    } else {
        m_scrollOffset = step.scrollOffset;
    }
    paintNow();
}

int TScrollingCredits::lineHeight() const
{
    return QFontMetrics(m_creditsFont, &m_buffer).height();
}

void TScrollingCredits::composeFrame()
{
    if (!m_creditsVisible)
        return;
    if (m_composing) {
        // A handler changed the control in the middle of a frame; the next paint catches up.
        invalidate();
        return;
    }
    const ComposingGuard guard(m_composing);
    m_dirty = false;

    const int w = width();
    const int h = height();
    if (m_buffer.size() != bufferSize(size()))
        m_buffer = QImage(bufferSize(size()), QImage::Format_RGB32);

    QPainter painter(&m_buffer);
    if (!m_backgroundImage.isNull())
        painter.drawImage(m_buffer.rect(), m_backgroundImage);
    else
        painter.fillRect(m_buffer.rect(), toQColor(m_backgroundColor));

    const int rowHeight = lineHeight();
    // Handlers may replace the lines mid-frame; this frame finishes with the ones it began with.
    const QStringList lines = m_credits;
    if (m_animate) {
        for (const CreditRow &row : animatedRows(m_scrollOffset, rowHeight, h, lines.size())) {
            if (!row.visible)
                continue;
            const CreditLine line = parseCreditLine(lines.at(row.index), m_creditsFontColor);
            drawLine(painter, line, row.y, w);
            if (row.index > m_lastAnnounced) {
                NotifyShowCredit(line.text);
                m_lastAnnounced = row.index;
            }
        }
    } else {
        for (qsizetype i = 0; i < lines.size(); ++i)
            drawLine(painter, parseCreditLine(lines.at(i), m_creditsFontColor),
                stillLineTop(static_cast<int>(i), rowHeight), w);
    }

    if (m_showBorder) {
        painter.setPen(QPen(toQColor(m_borderColor), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
    }
}

void TScrollingCredits::drawLine(QPainter &painter, const CreditLine &line, int y, int controlWidth) const
{
    if (line.text.isEmpty())
        return;
    painter.setFont(lineFont(m_creditsFont, line));
    painter.setPen(toQColor(line.color));
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = creditLineX(controlWidth, metrics.horizontalAdvance(line.text));
    painter.drawText(x, y + metrics.ascent(), line.text);
}

void TScrollingCredits::NotifyShowCredit(const QString &creditText)
{
    if (OnShowCredit)
        OnShowCredit(this, creditText);
}

void TScrollingCredits::NotifyAfterLastCredit()
{
    if (AfterLastCredit)
        AfterLastCredit(this);
}

void TScrollingCredits::paintNow()
{
    composeFrame();
    update();
}

void TScrollingCredits::invalidate()
{
    m_dirty = true;
    update();
}

void TScrollingCredits::applyTimer()
{
    // Like the platform timer it stands for, an interval of 0 never ticks (a zero QTimer would
    // spin on every pass of the event loop).
    if (!m_timerEnabled || m_interval == 0)
        m_timer->stop();
    else if (!m_timer->isActive())
        m_timer->start();
}

void TScrollingCredits::paintEvent(QPaintEvent *)
{
    if (!m_creditsVisible)
        return;
    if (m_dirty || m_buffer.size() != bufferSize(size())) {
        try {
            composeFrame();
        } catch (...) {
            // A handler's error cannot be shown from inside a paint; show it right after.
            QTimer::singleShot(0, this, [this, error = std::current_exception()] {
                runCommand(window(), [&error] { std::rethrow_exception(error); });
            });
        }
    }
    QPainter(this).drawImage(0, 0, m_buffer);
}

void TScrollingCredits::resizeEvent(QResizeEvent *event)
{
    m_dirty = true;
    QWidget::resizeEvent(event);
}

void TScrollingCredits::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void TScrollingCredits::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_click.release(event, rect()) && OnClick)
        runCommand(window(), [this] { OnClick(this); });
}

void TScrollingCredits::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && OnDblClick)
        runCommand(window(), [this] { OnDblClick(this); });
}
