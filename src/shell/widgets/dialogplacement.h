#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

// Puts a dialog in the middle of its owner's window, kept on the owner's screen.
// The dialogs call it on every showing: the owner may have moved since the last one.
inline void centreOnOwner(QWidget &dialog)
{
    const QWidget *owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (!owner)
        return;
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    if (const QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() - frame.width() + 1)));
        frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() - frame.height() + 1)));
    }
    dialog.move(frame.topLeft());
}
