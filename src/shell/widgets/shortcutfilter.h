#pragma once

#include <QObject>

class Shortcuts;

// Sees every key event of the program once, on its way into a window, and hands
// it to the shortcut table; it never keeps an event from its control.
class ShortcutFilter : public QObject
{
    Q_OBJECT
public:
    ShortcutFilter(Shortcuts &shortcuts, QObject *parent = nullptr);

    // Whether the focused control takes typed text: line edits, spin boxes, text
    // boxes and editable lists.
    static bool textFieldFocused();

    // The X11 key symbol of the right Control key; any other Control is the left.
    static constexpr quint32 kControlR = 0xffe4;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Shortcuts &m_shortcuts;
};
