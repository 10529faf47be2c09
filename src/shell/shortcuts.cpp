#include "shell/shortcuts.h"

#include <Qt>

namespace
{

void run(const std::function<void()> &action)
{
    if (action)
        action();
}

bool ask(const std::function<bool()> &condition)
{
    return condition && condition();
}

} // namespace

Shortcuts::Shortcuts(Actions actions) : m_a(std::move(actions)) {}

bool Shortcuts::held(int key) const
{
    return m_down.value(key, false) || m_pressedSince.value(key, false);
}

void Shortcuts::track(const KeyEvent &e)
{
    int key = e.key;
    if (key == Qt::Key_Control)
        key = e.leftControl ? kLeftControl : kRightControl;
    if (e.release) {
        // An auto-repeated release is followed by a press: the key stays down.
        if (!e.autoRepeat)
            m_down.insert(key, false);
    } else {
        m_down.insert(key, true);
        m_pressedSince.insert(key, true);
    }
}

void Shortcuts::handle(const KeyEvent &e)
{
    track(e);
    if (ask(m_a.listening))
        runTable(e);
    m_pressedSince.clear();
}

void Shortcuts::runTable(const KeyEvent &e)
{
    const auto released = [&e](int key) { return e.release && !e.autoRepeat && e.key == key; };
    const bool ctrl = held(kLeftControl);
    const bool alt = held(Qt::Key_Alt);
    const auto ctrlHeld = [this, ctrl](int key) { return ctrl && held(key); };
    // Typing into a field keeps its letters and its editing keys.
    const bool typing = ask(m_a.textFieldFocused);

    if (released(Qt::Key_F1))
        run(m_a.help);
    if (released(Qt::Key_F5))
        run(m_a.openPicker);
    if (released(Qt::Key_X) && !typing)
        run(m_a.quitNow);
    if (released(Qt::Key_Space) && !typing)
        run(m_a.togglePreview);
    if (released(Qt::Key_R) && !typing)
        run(m_a.removeRows);
    if (released(Qt::Key_F12))
        run(m_a.saveStill);
    if (ctrl && released(Qt::Key_H))
        run(m_a.help);
    if (alt && down(Qt::Key_F))
        run(m_a.fileMenu);
    if (alt && held(Qt::Key_E))
        run(m_a.editMenu);
    if (alt && held(Qt::Key_A))
        run(m_a.actionsMenu);
    if (alt && held(Qt::Key_T))
        run(m_a.toolsMenu);
    if (alt && held(Qt::Key_H))
        run(m_a.helpMenu);
    if (ctrl && released(Qt::Key_A) && !typing)
        run(m_a.addDvd);
    if (ctrl && released(Qt::Key_D) && !ask(m_a.folderDialogActive))
        run(m_a.addIfo);
    if (ctrl && released(Qt::Key_T))
        run(m_a.properties);
    if (ctrlHeld(Qt::Key_G))
        run(m_a.background);
    if (ctrl && released(Qt::Key_C) && !typing)
        run(m_a.clearRows);
    if (ctrlHeld(Qt::Key_N))
        run(m_a.rename);
    if (ctrlHeld(Qt::Key_L))
        run(m_a.checkAll);
    if (ctrlHeld(Qt::Key_U))
        run(m_a.uncheckAll);
    if (ctrl && released(Qt::Key_V) && !ask(m_a.converting) && !typing)
        run(m_a.startConversion);
    if (ctrlHeld(Qt::Key_P))
        run(m_a.togglePause);
    if (ctrlHeld(Qt::Key_S))
        run(m_a.stopConversion);
    if (ctrl && released(Qt::Key_I) && !ask(m_a.settingsDialogActive))
        run(m_a.formatSettings);
}
