#pragma once

#include "widgets/ui/ClickTracker.h"
#include "widgets/ui/GradientRamp.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace vorrel {

// A panel painted with a two-colour gradient in one of 24 styles. The gradient is computed
// into a small pattern image whenever a property that shapes it changes; painting only scales
// that image over the panel.
class TGradient : public QWidget
{
    Q_OBJECT

public:
    using TCustomGradientEvent = std::function<void(TGradient *Sender, const TGradientColors &Colors, QImage &Pattern)>;
    using TNotifyEvent = std::function<void(TGradient *Sender)>;
    using TMouseEvent = std::function<void(TGradient *Sender, QMouseEvent *event)>;

    explicit TGradient(QWidget *parent = nullptr);
    ~TGradient() override;

    TColor ColorBegin() const { return m_colorBegin; }
    void SetColorBegin(TColor value);
    TColor ColorEnd() const { return m_colorEnd; }
    void SetColorEnd(TColor value);
    TGradientStyle Style() const { return m_style; }
    void SetStyle(TGradientStyle value);
    TGradientShift Shift() const { return m_shift; }
    void SetShift(int value);
    TGradientRotation Rotation() const { return m_rotation; }
    void SetRotation(int value);
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool value);

    // Setting several properties between these two calls builds the pattern once, at the end.
    void BeginLoading();
    void EndLoading();

    // Computes the ramp and the pattern anew and asks for a repaint.
    virtual void RebuildPattern();

    const QImage &Pattern() const { return m_pattern; }
    bool Building() const { return m_building; }

    // Fills the pattern for gsCustom; without it gsCustom shows a 2 × 2 checkerboard.
    TCustomGradientEvent OnCustom;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void finishBuilding();

    TColor m_colorBegin = clWhite;
    TColor m_colorEnd = clBtnFace;
    TGradientStyle m_style = gsRadialC;
    TGradientShift m_shift = 0;
    TGradientRotation m_rotation = 0;
    bool m_reverse = false;
    QImage m_pattern;
    QImage m_shown; // the pattern as painted, 32 bits a pixel
    bool m_building = false;
    bool m_loading = false;
    ClickTracker m_click;
};

} // namespace vorrel
