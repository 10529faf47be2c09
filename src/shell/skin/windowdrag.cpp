#include "shell/skin/windowdrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace skin
{

bool WindowDrag::press(QWidget *window, const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton)
        return false;
    QWidget *top = window->window();
    QWindow *handle = top->windowHandle();
    if (handle && handle->startSystemMove())
        return true;
    m_dragging = true;
    m_offset = event.globalPosition().toPoint() - top->frameGeometry().topLeft();
    return true;
}

bool WindowDrag::move(QWidget *window, const QMouseEvent &event)
{
    if (!m_dragging)
        return false;
    if (!(event.buttons() & Qt::LeftButton)) {
        m_dragging = false; // the release went elsewhere
        return false;
    }
    window->window()->move(event.globalPosition().toPoint() - m_offset);
    return true;
}

bool WindowDrag::release()
{
    const bool was = m_dragging;
    m_dragging = false;
    return was;
}

} // namespace skin
