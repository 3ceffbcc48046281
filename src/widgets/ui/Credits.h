#pragma once

#include "widgets/ui/ClickTracker.h"
#include "widgets/ui/GradientRamp.h"

#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>

class QPainter;
class QTimer;
class TScrollingCredits;

namespace vorrel {
struct CreditLine;
}

// Announces a line as it comes into view: its text with the markup removed.
using TCreditEvent = std::function<void(TScrollingCredits *Sender, const QString &CreditText)>;
using TCreditsNotifyEvent = std::function<void(TScrollingCredits *Sender)>;

// Lines of marked-up text, each centred; still from the top, or scrolling up one pixel a tick
// and starting again from the bottom edge once the last line has gone.
class TScrollingCredits : public QWidget
{
    Q_OBJECT

public:
    explicit TScrollingCredits(QWidget *parent = nullptr);
    ~TScrollingCredits() override;

    const QStringList &Credits() const { return m_credits; }
    void setCredits(const QStringList &credits);
    const QFont &CreditsFont() const { return m_creditsFont; }
    void setCreditsFont(const QFont &font);
    // A font carries no colour in Qt, so the credits font's colour is a property of its own.
    vorrel::TColor CreditsFontColor() const { return m_creditsFontColor; }
    void setCreditsFontColor(vorrel::TColor color);
    vorrel::TColor BackgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(vorrel::TColor color);
    const QImage &BackgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const QImage &image);
    vorrel::TColor BorderColor() const { return m_borderColor; }
    void setBorderColor(vorrel::TColor color);
    bool Animate() const { return m_animate; }
    void setAnimate(bool animate);
    quint32 Interval() const { return m_interval; }
    void setInterval(quint32 milliseconds);
    bool ShowBorder() const { return m_showBorder; }
    void setShowBorder(bool show);
    // The control's own visibility, apart from the widget's: when off nothing is drawn and the
    // block stops, but the widget keeps its place and its clicks.
    bool creditsVisible() const { return m_creditsVisible; }
    void setCreditsVisible(bool visible);

    // Puts the first line's top on the bottom edge and forgets which lines were announced.
    void ResetScroll();

    TCreditEvent OnShowCredit;
    TCreditsNotifyEvent AfterLastCredit;
    TCreditsNotifyEvent OnClick;
    TCreditsNotifyEvent OnDblClick;

    // One step of the scroll timer. Public so that a pass can be driven without waiting.
    void tick();
    // Composes the current frame in the off-screen buffer, announcing lines as they come.
    void composeFrame();
    // The last composed frame.
    const QImage &frame() const { return m_buffer; }
    int scrollOffset() const { return m_scrollOffset; }
    int lastAnnounced() const { return m_lastAnnounced; }
    // Height of "A" in the credits font: every row, empty or styled, is this high.
    int lineHeight() const;

protected:
    virtual void NotifyShowCredit(const QString &creditText);
    virtual void NotifyAfterLastCredit();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void paintNow();
    void invalidate();
    void applyTimer();
    void drawLine(QPainter &painter, const vorrel::CreditLine &line, int y, int controlWidth) const;

    QStringList m_credits;
    QFont m_creditsFont;
    vorrel::TColor m_creditsFontColor = vorrel::clWhite;
    vorrel::TColor m_backgroundColor = 0;
    QImage m_backgroundImage;
    vorrel::TColor m_borderColor = vorrel::clWhite;
    bool m_animate = false;
    quint32 m_interval = 50;
    QTimer *m_timer = nullptr;
    bool m_timerEnabled = false;
    int m_scrollOffset = 0;
    QImage m_buffer;
    bool m_creditsVisible = true;
    int m_lastAnnounced = -1;
    bool m_showBorder = true;
    bool m_dirty = true;
    bool m_composing = false;
    vorrel::ClickTracker m_click;
};
