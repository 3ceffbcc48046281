#include "app/Splash.h"

#include "report/HelpDocuments.h"
#include "widgets/ErrorBox.h"
#include "widgets/FormFont.h"
#include "widgets/Gradient.h"
#include "widgets/WindowPlacement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace vorrel;

namespace {

constexpr QSize kClientSize(433, 249);
constexpr int kIconSize = 29;
const QColor kRestColor(255, 0, 0);
const QColor kHoverColor(0, 255, 0);

enum class WelcomeIcon { New, OpenLast, Open, Help, Tutorial, Close };

// A blank page with a folded top-right corner, the base of the document icons.
void drawPage(QPainter &p, const QRectF &r)
{
    const qreal fold = r.width() * 0.32;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(205, 205, 205));
    p.drawPath(corner);
    p.setPen(QPen(QColor(150, 170, 200), 1));
    for (qreal y = r.top() + fold + 3; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawIcon(QPainter &p, WelcomeIcon icon)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case WelcomeIcon::New: {
        drawPage(p, QRectF(6.5, 3.5, 17, 23));
        // A spark in the corner: something new.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 200, 0));
        QPainterPath star;
        const QPointF c(8, 8);
        for (int i = 0; i < 8; ++i) {
            const qreal radius = i % 2 ? 2.2 : 6.5;
            const qreal angle = i * std::numbers::pi / 4;
            const QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
            i == 0 ? star.moveTo(point) : star.lineTo(point);
        }
        star.closeSubpath();
        p.drawPath(star);
        break;
    }
    case WelcomeIcon::OpenLast: {
        drawPage(p, QRectF(4.5, 2.5, 17, 23));
        // A clock: the document from last time.
        p.setPen(QPen(QColor(0, 70, 160), 1.5));
        p.setBrush(QColor(225, 238, 255));
        p.drawEllipse(QPointF(19.5, 19.5), 7.5, 7.5);
        p.drawLine(QPointF(19.5, 19.5), QPointF(19.5, 14.5));
        p.drawLine(QPointF(19.5, 19.5), QPointF(23, 21.5));
        break;
    }
    case WelcomeIcon::Open: {
        p.setPen(QPen(QColor(140, 100, 0), 1));
        p.setBrush(QColor(230, 180, 40));
        QPainterPath back;
        back.moveTo(2.5, 24.5);
        back.lineTo(2.5, 6.5);
        back.lineTo(10.5, 6.5);
        back.lineTo(12.5, 9.5);
        back.lineTo(23.5, 9.5);
        back.lineTo(23.5, 24.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(255, 215, 90));
        QPainterPath front;
        front.moveTo(2.5, 24.5);
        front.lineTo(7.5, 13.5);
        front.lineTo(27.5, 13.5);
        front.lineTo(23.5, 24.5);
        front.closeSubpath();
        p.drawPath(front);
        break;
    }
    case WelcomeIcon::Help: {
        p.setPen(QPen(QColor(0, 50, 140), 1));
        p.setBrush(QColor(30, 110, 220));
        p.drawEllipse(QRectF(2.5, 2.5, 24, 24));
        QFont font = formFontPixels(18);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case WelcomeIcon::Tutorial: {
        // An open book.
        p.setPen(QPen(QColor(120, 20, 20), 1));
        p.setBrush(QColor(180, 40, 40));
        p.drawRoundedRect(QRectF(1.5, 6.5, 26, 18), 2, 2);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(Qt::white);
        QPainterPath left;
        left.moveTo(14.5, 8.5);
        left.quadTo(9, 5, 3.5, 6.5);
        left.lineTo(3.5, 21.5);
        left.quadTo(9, 20, 14.5, 23.5);
        left.closeSubpath();
        p.drawPath(left);
        QPainterPath right;
        right.moveTo(14.5, 8.5);
        right.quadTo(20, 5, 25.5, 6.5);
        right.lineTo(25.5, 21.5);
        right.quadTo(20, 20, 14.5, 23.5);
        right.closeSubpath();
        p.drawPath(right);
        p.setPen(QPen(QColor(150, 170, 200), 1));
        for (qreal y = 11; y < 20; y += 3) {
            p.drawLine(QPointF(6, y), QPointF(12.5, y + 1));
            p.drawLine(QPointF(16.5, y + 1), QPointF(23, y));
        }
        break;
    }
    case WelcomeIcon::Close: {
        p.setPen(QPen(QColor(130, 0, 0), 1));
        p.setBrush(QColor(215, 30, 30));
        p.drawEllipse(QRectF(2.5, 2.5, 24, 24));
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(19.5, 19.5));
        p.drawLine(QPointF(19.5, 9.5), QPointF(9.5, 19.5));
        break;
    }
    }
}

QPixmap welcomeIcon(WelcomeIcon icon)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawIcon(painter, icon);
    return pixmap;
}

void setLinkColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TStartUp::TStartUp(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("StartUp"));
    setWindowTitle(tr("Welcome to Cendaro AIML Vorrel 3.0"));
    setFont(formFont(8));
    setFixedSize(kClientSize);

    // The background goes first, so every other control lies above it.
    Gradient1 = new TGradient(this);
    Gradient1->setObjectName(QStringLiteral("Gradient1"));
    Gradient1->setGeometry(rect());
    Gradient1->BeginLoading();
    Gradient1->SetColorBegin(rgbColor(128, 128, 0));
    Gradient1->SetColorEnd(rgbColor(0, 0, 128));
    Gradient1->SetRotation(5);
    Gradient1->SetShift(-10);
    Gradient1->EndLoading();
    Gradient1->OnMouseMove = [this](TGradient *, QMouseEvent *) { Gradient1MouseMove(); };

    const QFont linkFont = formFont(10);

    struct LinkSpec
    {
        QLabel **label;
        const char *name;
        const char *caption;
        QPoint at;
        QLabel **image;
        QPoint imageAt;
        const char *imageName;
        WelcomeIcon icon;
        void (TStartUp::*click)();
    };
    const LinkSpec specs[] = {
        { &NewFile, "NewFile", QT_TR_NOOP("New AIML Document"), { 68, 24 }, &Image1, { 36, 24 }, "Image1",
            WelcomeIcon::New, &TStartUp::NewFileClick },
        { &OpenLastFile, "OpenLastFile", QT_TR_NOOP("Open Last Edited AIML Document"), { 68, 52 }, &Image2, { 36, 52 },
            "Image2", WelcomeIcon::OpenLast, &TStartUp::OpenLastFileClick },
        { &OpenFile, "OpenFile", QT_TR_NOOP("Open Existing AIML Document..."), { 68, 80 }, &Image3, { 36, 80 },
            "Image3", WelcomeIcon::Open, &TStartUp::OpenFileClick },
        { &Help, "Help", QT_TR_NOOP("Help On AIML Vorrel 3.0"), { 68, 108 }, &Image4, { 36, 108 }, "Image4",
            WelcomeIcon::Help, &TStartUp::HelpClick },
        { &Tutorial, "Tutorial", QT_TR_NOOP("Tutorial on AIML 1.0"), { 68, 136 }, &Image5, { 36, 136 }, "Image5",
            WelcomeIcon::Tutorial, &TStartUp::TutorialClick },
        { &CloseWin, "CloseWin", QT_TR_NOOP("Close"), { 40, 224 }, &Image6, { 12, 224 }, "Image6", WelcomeIcon::Close,
            &TStartUp::CloseWinClick },
    };
    for (std::size_t i = 0; i < std::size(specs); ++i) {
        const LinkSpec &spec = specs[i];
        auto *image = new QLabel(this);
        image->setObjectName(QLatin1String(spec.imageName));
        image->setPixmap(welcomeIcon(spec.icon));
        image->setGeometry(QRect(spec.imageAt, QSize(kIconSize, kIconSize)));
        *spec.image = image;

        auto *label = new QLabel(tr(spec.caption), this);
        label->setObjectName(QLatin1String(spec.name));
        label->setFont(linkFont);
        setLinkColor(label, kRestColor);
        label->setCursor(Qt::PointingHandCursor);
        label->setMouseTracking(true);
        label->move(spec.at);
        label->adjustSize();
        // Links in reading order, reached with Tab and run with Enter or Space like buttons.
        label->setFocusPolicy(Qt::StrongFocus);
        label->installEventFilter(this);
        *spec.label = label;
        m_links[i] = Link { label, spec.click };
    }
}

void TStartUp::NewFileClick()
{
    close();
    Q_EMIT newRequested();
}

void TStartUp::OpenLastFileClick()
{
    Q_EMIT openLastRequested();
}

void TStartUp::OpenFileClick()
{
    close();
    Q_EMIT openRequested();
}

void TStartUp::HelpClick()
{
    close();
    Q_EMIT helpRequested();
}

void TStartUp::TutorialClick()
{
    close();
    openProgramDocument(parentWidget(), kTutorialFile, kTutorialFailure);
}

void TStartUp::CloseWinClick()
{
    close();
}

void TStartUp::LinkMouseMove(QLabel *link)
{
    setLinkColor(link, kHoverColor);
}

void TStartUp::Gradient1MouseMove()
{
    for (const Link &link : m_links)
        setLinkColor(link.label, kRestColor);
}

bool TStartUp::eventFilter(QObject *watched, QEvent *event)
{
    const auto found
        = std::find_if(m_links.begin(), m_links.end(), [watched](const Link &l) { return l.label == watched; });
    if (found == m_links.end())
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            const auto handler = found->click;
            runCommand(this, [this, handler] { (this->*handler)(); });
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The links have no frame to draw focus in: the one with focus is underlined.
        QFont f = found->label->font();
        f.setUnderline(event->type() == QEvent::FocusIn);
        found->label->setFont(f);
        break;
    }
    case QEvent::MouseMove:
        LinkMouseMove(found->label);
        break;
    case QEvent::MouseButtonPress:
        m_click.press(static_cast<QMouseEvent *>(event), found->label);
        break;
    case QEvent::MouseButtonRelease: {
        if (m_click.release(static_cast<QMouseEvent *>(event), found->label->rect(), found->label)) {
            const auto handler = found->click;
            runCommand(this, [this, handler] { (this->*handler)(); });
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TStartUp::keyPressEvent(QKeyEvent *event)
{
    // Escape stands in for the close box the window does not have.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TStartUp::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}
