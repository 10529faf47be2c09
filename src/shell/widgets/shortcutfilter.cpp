#include "shell/widgets/shortcutfilter.h"

#include "shell/shortcuts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

ShortcutFilter::ShortcutFilter(Shortcuts &shortcuts, QObject *parent)
    : QObject(parent), m_shortcuts(shortcuts)
{
}

bool ShortcutFilter::textFieldFocused()
{
    QWidget *w = QApplication::focusWidget();
    if (!w)
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->isEditable();
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w) ||
           qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w);
}

bool ShortcutFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // A key event reaches a window first and is then passed on to its controls;
    // taking it at the window sees each event once.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        Shortcuts::KeyEvent e;
        e.release = type == QEvent::KeyRelease;
        e.key = key->key();
        e.autoRepeat = key->isAutoRepeat();
        e.leftControl = key->nativeVirtualKey() != kControlR;
        m_shortcuts.handle(e);
    }
    return QObject::eventFilter(watched, event);
}
