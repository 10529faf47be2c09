#pragma once

#include <QHash>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class MessageBoxes;
class SkinLayout;
class TextLookup;

// What the skin's objects do: a click dispatched by the object's name (compared
// whole and with its letter case; an unknown name does nothing), the hover text
// of an object, and where the menus that the skin opens appear. The objects of the
// main and the trimming window arrive here alike, told apart by name only.
class SkinCommands
{
public:
    struct Context {
        MessageBoxes &boxes;
        TextLookup &texts;
        const SkinLayout &layout;
        std::function<bool()> converting;
        std::function<bool()> previewPlaying;
        std::function<bool()> titleView; // the DVD list shows titles only
        std::function<QString()> exeFileName;
        std::function<QPoint()> windowTopLeft; // screen position of the main window
    };

    // The operation behind one object; set by the window for what exists.
    using Action = std::function<void()>;
    // The menus the skin opens, by their object names in the window.
    using MenuOpener = std::function<void(const QString &menu, const QPoint &at)>;

    explicit SkinCommands(Context context);

    void setAction(const QString &object, Action action);
    void setMenuOpener(MenuOpener opener) { m_openMenu = std::move(opener); }

    // True when the name is one of the click table's objects.
    bool Skin1Click(const QString &source);

    // The interface string an object's hover shows, if any.
    static std::optional<int> hoverString(const QString &object);

    // Where a menu opened from the skin appears: the window's corner plus the
    // layout section's left and top (6 and 64 by default).
    QPoint menuPosition(const QString &section) const;

private:
    void run(const QString &object);
    bool refusedForCut();

    Context m_c;
    QHash<QString, Action> m_actions;
    MenuOpener m_openMenu;
};
