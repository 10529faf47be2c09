#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace skin
{

// Moves a frameless window by a handle: the compositor moves it where it can (so
// also under Wayland); without one the window follows the pointer itself while
// the left button stays down.
class WindowDrag
{
public:
    // A press on the handle; true when it starts a move.
    bool press(QWidget *window, const QMouseEvent &event);
    // True while the window follows the pointer itself.
    bool move(QWidget *window, const QMouseEvent &event);
    bool release();
    bool active() const { return m_dragging; }

private:
    bool m_dragging = false;
    QPoint m_offset;
};

} // namespace skin
