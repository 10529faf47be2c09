// The shortcut table on its own: which keys act, on press or release, with the
// left Control key only, and what typing into a field keeps for itself.
#include "shell/shortcuts.h"

#include <QStringList>
#include <Qt>

#include <gtest/gtest.h>

namespace
{

struct Rig {
    QStringList ran;
    bool listening = true, typing = false, folderDialog = false, settingsDialog = false,
         converting = false;
    Shortcuts shortcuts{actions()};

    Shortcuts::Actions actions()
    {
        Shortcuts::Actions a;
        const auto note = [this](const char *name) {
            return [this, name] { ran << QString::fromLatin1(name); };
        };
        a.help = note("help");
        a.openPicker = note("picker");
        a.quitNow = note("quit");
        a.togglePreview = note("preview");
        a.removeRows = note("remove");
        a.saveStill = note("still");
        a.fileMenu = note("fileMenu");
        a.editMenu = note("editMenu");
        a.actionsMenu = note("actionsMenu");
        a.toolsMenu = note("toolsMenu");
        a.helpMenu = note("helpMenu");
        a.addDvd = note("addDvd");
        a.addIfo = note("addIfo");
        a.properties = note("properties");
        a.background = note("background");
        a.clearRows = note("clear");
        a.rename = note("rename");
        a.checkAll = note("checkAll");
        a.uncheckAll = note("uncheckAll");
        a.startConversion = note("convert");
        a.togglePause = note("pause");
        a.stopConversion = note("stop");
        a.formatSettings = note("settings");
        a.listening = [this] { return listening; };
        a.textFieldFocused = [this] { return typing; };
        a.folderDialogActive = [this] { return folderDialog; };
        a.settingsDialogActive = [this] { return settingsDialog; };
        a.converting = [this] { return converting; };
        return a;
    }
    void press(int key, bool leftControl = true, bool repeat = false)
    {
        shortcuts.handle({.release = false, .key = key, .leftControl = leftControl,
                          .autoRepeat = repeat});
    }
    void release(int key, bool leftControl = true)
    {
        shortcuts.handle({.release = true, .key = key, .leftControl = leftControl});
    }
    // Modifier down, key pressed and released, modifier up.
    QStringList chord(int modifier, int key, bool leftControl = true)
    {
        ran.clear();
        press(modifier, leftControl);
        press(key);
        release(key);
        release(modifier, leftControl);
        return ran;
    }
    QStringList tap(int key)
    {
        ran.clear();
        press(key);
        release(key);
        return ran;
    }
};

} // namespace

TEST(Shortcuts, EachKeyActsOnceOnItsRelease)
{
    struct Case {
        int key;
        const char *action;
    };
    const Case plain[] = {{Qt::Key_F1, "help"},         {Qt::Key_F5, "picker"},
                          {Qt::Key_X, "quit"},          {Qt::Key_Space, "preview"},
                          {Qt::Key_R, "remove"},        {Qt::Key_F12, "still"}};
    for (const Case &c : plain) {
        Rig r;
        r.press(c.key);
        EXPECT_TRUE(r.ran.isEmpty()) << c.action << ": nothing on the press";
        r.release(c.key);
        EXPECT_EQ(r.ran, QStringList{c.action});
    }
    const Case withCtrl[] = {{Qt::Key_H, "help"},       {Qt::Key_A, "addDvd"},
                             {Qt::Key_D, "addIfo"},     {Qt::Key_T, "properties"},
                             {Qt::Key_C, "clear"},      {Qt::Key_V, "convert"},
                             {Qt::Key_I, "settings"},   {Qt::Key_G, "background"},
                             {Qt::Key_N, "rename"},     {Qt::Key_L, "checkAll"},
                             {Qt::Key_U, "uncheckAll"}, {Qt::Key_P, "pause"},
                             {Qt::Key_S, "stop"}};
    for (const Case &c : withCtrl) {
        Rig r;
        EXPECT_EQ(r.chord(Qt::Key_Control, c.key), QStringList{c.action}) << c.action;
        // The right Control key is no Ctrl here.
        EXPECT_TRUE(r.chord(Qt::Key_Control, c.key, false).isEmpty()) << c.action;
    }
    const Case withAlt[] = {{Qt::Key_F, "fileMenu"},    {Qt::Key_E, "editMenu"},
                            {Qt::Key_A, "actionsMenu"}, {Qt::Key_T, "toolsMenu"},
                            {Qt::Key_H, "helpMenu"}};
    for (const Case &c : withAlt) {
        Rig r;
        EXPECT_EQ(r.chord(Qt::Key_Alt, c.key), QStringList{c.action}) << c.action;
    }
}

TEST(Shortcuts, HeldChordsActOnEveryEventWhileDown)
{
    Rig r;
    r.press(Qt::Key_Control);
    r.press(Qt::Key_P);
    r.press(Qt::Key_P, true, true); // auto-repeat
    r.press(Qt::Key_P, true, true);
    EXPECT_EQ(r.ran, (QStringList{"pause", "pause", "pause"}));
    r.release(Qt::Key_P);
    EXPECT_EQ(r.ran.size(), 3) << "nothing once P is up";
    // Ctrl held over two letters: H acts on its release, and P on its press.
    r.ran.clear();
    r.press(Qt::Key_H);
    r.release(Qt::Key_H);
    EXPECT_EQ(r.ran, QStringList{"help"});
    r.release(Qt::Key_Control);
    r.ran.clear();
    r.press(Qt::Key_P);
    EXPECT_TRUE(r.ran.isEmpty()) << "Ctrl is up";
    // An H released with Ctrl and Alt both down runs both of its lines, in table order.
    Rig both;
    both.press(Qt::Key_Control);
    both.press(Qt::Key_Alt);
    both.press(Qt::Key_H);
    both.release(Qt::Key_H);
    EXPECT_EQ(both.ran, (QStringList{"helpMenu", "help"}));
}

TEST(Shortcuts, ConditionsAndTyping)
{
    Rig r;
    r.listening = false;
    EXPECT_TRUE(r.tap(Qt::Key_F1).isEmpty()) << "before start-up or while inactive";
    r.listening = true;

    r.converting = true;
    EXPECT_TRUE(r.chord(Qt::Key_Control, Qt::Key_V).isEmpty());
    r.converting = false;
    r.folderDialog = true;
    EXPECT_TRUE(r.chord(Qt::Key_Control, Qt::Key_D).isEmpty());
    r.folderDialog = false;
    r.settingsDialog = true;
    EXPECT_TRUE(r.chord(Qt::Key_Control, Qt::Key_I).isEmpty());
    r.settingsDialog = false;

    // Letters typed into a field stay there, and so do its editing keys.
    r.typing = true;
    for (int key : {Qt::Key_X, Qt::Key_R, Qt::Key_Space})
        EXPECT_TRUE(r.tap(key).isEmpty()) << key;
    for (int key : {Qt::Key_A, Qt::Key_C, Qt::Key_V})
        EXPECT_TRUE(r.chord(Qt::Key_Control, key).isEmpty()) << key;
    EXPECT_EQ(r.tap(Qt::Key_F5), QStringList{"picker"});
    EXPECT_EQ(r.chord(Qt::Key_Control, Qt::Key_S), QStringList{"stop"});
}
