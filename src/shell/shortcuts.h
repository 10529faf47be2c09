#pragma once

#include <QHash>

#include <functional>

// The window's keyboard shortcuts, read from every key event the program sees
// rather than from menu accelerators. Several can act on one event; "held"
// shortcuts act on every event while their keys are down, "on release" ones when
// their key comes up. Ctrl is the left Control key only.
class Shortcuts
{
public:
    // A key event as the window saw it. `leftControl` tells the two Control keys
    // apart; it only matters for Qt::Key_Control.
    struct KeyEvent {
        bool release = false;
        int key = 0; // Qt::Key
        bool leftControl = true;
        bool autoRepeat = false;
    };

    struct Actions {
        std::function<void()> help, openPicker, quitNow, togglePreview, removeRows, saveStill;
        std::function<void()> fileMenu, editMenu, actionsMenu, toolsMenu, helpMenu;
        std::function<void()> addDvd, addIfo, properties, background, clearRows, rename;
        std::function<void()> checkAll, uncheckAll, startConversion, togglePause, stopConversion;
        std::function<void()> formatSettings;
        // Conditions of the table, and when the shortcuts listen at all.
        std::function<bool()> listening;            // start-up done and the program active
        std::function<bool()> textFieldFocused;     // typing goes into a field
        std::function<bool()> folderDialogActive;   // Tfm_dir
        std::function<bool()> settingsDialogActive; // Tfm_set
        std::function<bool()> converting;
    };

    explicit Shortcuts(Actions actions);

    // Key state follows every event, also those the table ignores.
    void handle(const KeyEvent &event);

    // Down now, or pressed since the last event was handled.
    bool held(int key) const;
    // Down now.
    bool down(int key) const { return m_down.value(key, false); }

    // The key that stands for the left Control key in the state.
    static constexpr int kLeftControl = -1;
    static constexpr int kRightControl = -2;

private:
    void track(const KeyEvent &event);
    void runTable(const KeyEvent &event);

    Actions m_a;
    QHash<int, bool> m_down;
    QHash<int, bool> m_pressedSince;
};
