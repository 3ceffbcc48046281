#include "widgets/ui/ClickTracker.h"

#include <QMouseEvent>
#include <QRect>

namespace vorrel {

void ClickTracker::press(const QMouseEvent *event, const void *control)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_down = true;
    m_pressed = control;
}

bool ClickTracker::release(const QMouseEvent *event, const QRect &area, const void *control)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool click = m_down && m_pressed == control && area.contains(event->position().toPoint());
    m_down = false;
    m_pressed = nullptr;
    return click;
}

} // namespace vorrel
