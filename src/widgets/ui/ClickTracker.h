#pragma once

class QMouseEvent;
class QRect;

namespace vorrel {

// A click is a left-button press and a release on the same control, with the pointer still
// inside it. Controls that act on clicks and not on presses keep one of these.
class ClickTracker final
{
public:
    // `control` tells apart several controls watched by one object.
    void press(const QMouseEvent *event, const void *control = nullptr);
    // Whether this release ends a click on `control`, whose own rectangle is `area`.
    bool release(const QMouseEvent *event, const QRect &area, const void *control = nullptr);

private:
    const void *m_pressed = nullptr;
    bool m_down = false;
};

} // namespace vorrel
