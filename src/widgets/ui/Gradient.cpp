#include "widgets/ui/Gradient.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vorrel {

namespace {

int clampToLimit(int value)
{
    return std::clamp(value, -kGradientLimit, kGradientLimit);
}

} // namespace

TGradient::TGradient(QWidget *parent) : QWidget(parent), m_pattern(1, 1, kPatternFormat)
{
    // Every pixel is painted, so the parent need not draw its background beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(100, 100);
    RebuildPattern();
}

TGradient::~TGradient() = default;

QSize TGradient::sizeHint() const
{
    return { 100, 100 };
}

void TGradient::SetColorBegin(TColor value)
{
    if (value == m_colorBegin)
        return;
    m_colorBegin = value;
    RebuildPattern();
}

void TGradient::SetColorEnd(TColor value)
{
    if (value == m_colorEnd)
        return;
    m_colorEnd = value;
    RebuildPattern();
}

void TGradient::SetStyle(TGradientStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    RebuildPattern();
}

void TGradient::SetShift(int value)
{
    const auto clamped = static_cast<TGradientShift>(clampToLimit(value));
    if (clamped == m_shift)
        return;
    m_shift = clamped;
    RebuildPattern();
}

void TGradient::SetRotation(int value)
{
    const auto clamped = static_cast<TGradientRotation>(clampToLimit(value));
    if (clamped == m_rotation)
        return;
    m_rotation = clamped;
    RebuildPattern();
}

void TGradient::SetReverse(bool value)
{
    if (value == m_reverse)
        return;
    m_reverse = value;
    RebuildPattern();
}

void TGradient::BeginLoading()
{
    m_loading = true;
}

void TGradient::EndLoading()
{
    m_loading = false;
    RebuildPattern();
}

void TGradient::RebuildPattern()
{
    if (m_loading)
        return;

    // System colours are read now and never again until the next rebuild.
    const TColor a = colorToRgb(m_reverse ? m_colorEnd : m_colorBegin);
    const TColor b = colorToRgb(m_reverse ? m_colorBegin : m_colorEnd);
    const TGradientColors colors = buildGradientColors(a, b, m_shift, m_rotation);

    // A paint that arrives while the pattern is half written (an OnCustom handler may let
    // events through) draws nothing; the flag is cleared even when generation throws.
    m_building = true;
    try {
        if (const GradientStyleRoutine routine = kGradientStyleRoutines[m_style])
            routine(colors, m_pattern);
        else if (OnCustom)
            OnCustom(this, colors, m_pattern);
        else
            fillCheckerboard(m_pattern, a, b);
    } catch (...) {
        finishBuilding();
        throw;
    }
    finishBuilding();
    update();
}

void TGradient::finishBuilding()
{
    m_building = false;
    // The painter scales 32-bit images on its fast path; 24-bit ones take a per-pixel route
    // several times slower, so the pattern is converted once here rather than at every paint.
    m_shown = m_pattern.convertToFormat(QImage::Format_RGB32);
}

void TGradient::paintEvent(QPaintEvent *)
{
    if (m_building)
        return;
    QPainter painter(this);
    // No smoothing: each pixel takes the nearest pattern pixel, so the ramp shows as bands.
    painter.drawImage(rect(), m_shown);
}

void TGradient::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    if (OnMouseDown)
        OnMouseDown(this, event);
}

void TGradient::mouseMoveEvent(QMouseEvent *event)
{
    if (OnMouseMove)
        OnMouseMove(this, event);
}

void TGradient::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    if (OnMouseUp)
        OnMouseUp(this, event);
    if (click && OnClick)
        OnClick(this);
}

void TGradient::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (OnDblClick)
        OnDblClick(this);
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace vorrel
