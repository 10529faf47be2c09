// The skinned main window through its real widgets: clicks on skin objects, the
// command states, the menus and where they open, the bars, the layout file.
#include "app/converterapp.h"
#include "shell/skin/imagebutton.h"
#include "shell/skin/skinengine.h"
#include "shell/skincommands.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"

#include "support/testenv.h"
#include "support/windowtesting.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

skin::SkinObject *object(MainWindow &w, const char *name)
{
    return w.skinned() ? w.skinned()->FindObject(QString::fromLatin1(name)) : nullptr;
}

// A click on a skin object as the engine reports it.
void click(MainWindow &w, const char *name)
{
    skin::SkinObject *o = object(w, name);
    ASSERT_NE(o, nullptr) << name;
    QTest::mouseClick(w.skinned(), Qt::LeftButton, {}, o->rect().center());
}

QString clip(const char *name)
{
    return testenv::fixtureDir() + QStringLiteral("/clips/") + QString::fromLatin1(name);
}

} // namespace

TEST(Window, IsSkinnedWithEveryObjectOfTheTables)
{
    QTemporaryDir config;
    ConverterApp app(QStringLiteral("marlo-video-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();
    ASSERT_NE(w.skinned(), nullptr);
    EXPECT_EQ(w.size(), QSize(781, 558));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    for (const char *name :
         {"profilestext", "convertinfo", "filename", "filesize", "filepath", "usedtime",
          "resttime", "hint", "play_time", "play_bar", "di", "alltime", "playpos", "convertpos",
          "mainclose", "profiles", "openfiles", "chapter", "ifoopen", "dvdopen", "openfolder",
          "converter", "remove", "clear", "stopconverter", "browse", "open", "help", "file",
          "dvdfile", "register", "settings", "cutter", "purchase", "audio", "subtitle",
          "video_size", "video_quality", "audio_quality", "channels", "hint1", "stopplay"})
        EXPECT_NE(object(w, name), nullptr) << name;
    // The trimming window's form is given too.
    skin::SkinnedWindow *cutter = w.skinEngine().SkinnedWindowOf(
        w.findChild<QWidget *>(QStringLiteral("Tfm_dvdcutter")));
    ASSERT_NE(cutter, nullptr);
    for (const char *name : {"cut_begin_time", "cut_end_time", "cut_play_time", "cut_play_bar",
                             "cutplaypos", "cutclose", "play", "stop", "pause", "begin", "end",
                             "hou", "qian"})
        EXPECT_NE(cutter->FindObject(QString::fromLatin1(name)), nullptr) << name;
    // The file edition offers files in the empty list, not DVDs.
    EXPECT_TRUE(object(w, "openfiles")->isVisible());
    EXPECT_FALSE(object(w, "dvdopen")->isVisible());
    EXPECT_FALSE(w.objectShown(QStringLiteral("play_bar")));
    EXPECT_FALSE(w.objectShown(QStringLiteral("convertinfo")));
    // The greeting, completed with the program's name, after leaving a button.
    emit w.button(QStringLiteral("bt_remove"))->left();
    EXPECT_EQ(w.objectText(QStringLiteral("hint")), QStringLiteral("Welcome to marlo-video-converter."));
    w.close();
}

TEST(Window, ClicksAreDispatchedByWholeCaseSensitiveNames)
{
    QTemporaryDir config;
    BoxWatcher boxes;
    ConverterApp app(QStringLiteral("marlo-video-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();

    // Hovering shows the object's interface string in the status line.
    QTest::mouseMove(w.skinned(), object(w, "browse")->rect().center());
    QApplication::processEvents();
    EXPECT_TRUE(w.objectText(QStringLiteral("hint")).startsWith(QStringLiteral("Browse")));

    // Menus open from their objects, where the layout file puts them.
    struct Case {
        const char *object, *menu;
        QPoint offset;
    };
    const Case menus[] = {{"file", "zm_popup_file", {216, 32}},
                          {"settings", "zm_pop_edit", {262, 32}},
                          {"purchase", "zm_pop_actions", {308, 32}},
                          {"register", "zm_pop_tools", {376, 32}},
                          {"help", "zm_pop_help", {430, 32}},
                          {"dvdfile", "pop_dvd", {16, 54}}};
    for (const Case &c : menus) {
        QMenu *m = w.menu(QString::fromLatin1(c.menu));
        ASSERT_NE(m, nullptr) << c.menu;
        EXPECT_TRUE(app.skinCommands().Skin1Click(QString::fromLatin1(c.object)));
        waitFor([m] { return m->isVisible(); }, 2000);
        EXPECT_TRUE(m->isVisible()) << c.object;
        EXPECT_EQ(m->pos(), w.geometry().topLeft() + c.offset) << c.object;
        m->hide();
    }
    // A click on the skin's own object opens its menu too.
    click(w, "help");
    EXPECT_TRUE(w.menu(QStringLiteral("zm_pop_help"))->isVisible());
    w.menu(QStringLiteral("zm_pop_help"))->hide();

    // Unknown names and names differing in letter case do nothing.
    for (const char *name : {"File", "HELP", "nothing", "", "cutter "})
        EXPECT_FALSE(app.skinCommands().Skin1Click(QString::fromLatin1(name))) << name;
    for (QMenu *m : w.findChildren<QMenu *>())
        EXPECT_FALSE(m->isVisible()) << m->objectName().toStdString();
    EXPECT_TRUE(boxes.texts.isEmpty());

    // Cut refuses while a conversion runs (string 26); the converter object is ignored then.
    QTemporaryDir output;
    w.setText(output.path());
    app.importer().addFilePaths({clip("long_640x480.mp4")});
    ASSERT_EQ(app.jobs().rowCount(), 1);
    click(w, "converter");
    ASSERT_TRUE(app.queue().converting());
    EXPECT_TRUE(w.objectShown(QStringLiteral("convertinfo")));
    click(w, "cutter");
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("A conversion is running. Please stop it first.")});
    app.skinCommands().Skin1Click(QStringLiteral("converter")); // ignored while converting
    EXPECT_EQ(boxes.texts.size(), 1);
    if (app.queue().converting())
        click(w, "stopconverter");
    waitFor([&] { return !app.queue().converting(); });
    EXPECT_FALSE(app.queue().converting());
    w.close();
}

TEST(Window, CommandStatesFollowTheListAndTheConversion)
{
    QTemporaryDir config, output;
    ConverterApp app(QStringLiteral("marlo-video-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();
    w.setText(output.path());
    const auto states = [&w](std::initializer_list<const char *> names) {
        QString out;
        for (const char *name : names) {
            const QString n = QString::fromLatin1(name);
            bool on = false;
            if (QAction *a = w.action(n))
                on = a->isEnabled();
            else if (skin::ImageButton *b = w.button(n))
                on = b->isEnabled();
            out += on ? QLatin1Char('E') : QLatin1Char('.');
        }
        return out;
    };
    const auto all = {"AddFiles2", "AddFolder2", "Properties1", "Remove1", "Clear2",
                      "Rename1",   "SelectAll1", "UnselectAll1", "Convert2", "Pause1",
                      "Stop2",     "bt_dvdopen", "bt_ifo",      "bt_remove", "bt_clear",
                      "bt_chapte", "bt_set",     "bt_back",     "bt_play",   "bt_next",
                      "bt_playstop", "bt_playpause", "bt_cut",  "bt_images", "bt_start",
                      "Bt_Convertstop", "bt_pause"};
    // A: only adding works; Start is shown but disabled.
    EXPECT_EQ(states(all), QStringLiteral("EE.........EE.............."));
    EXPECT_TRUE(w.button(QStringLiteral("bt_start"))->isVisible());
    EXPECT_FALSE(w.button(QStringLiteral("Bt_Convertstop"))->isVisible());

    app.importer().addFilePaths({clip("long_640x480.mp4"), clip("clip.avi")});
    ASSERT_EQ(app.jobs().rowCount(), 2);
    // C: a row is selected.
    EXPECT_EQ(states(all), QStringLiteral("EEEEEEEEE..EEEEEE.E...E.E.."));
    // B: rows but no selection: no Remove, Properties, Rename, Play or Cut.
    w.jobListView()->clearSelection();
    EXPECT_EQ(states(all), QStringLiteral("EE..E.EEE..EE.EEE.......E.."));

    // E: converting: only Pause, Stop, the stop button and the pause button.
    w.button(QStringLiteral("bt_start"))->click();
    ASSERT_TRUE(app.queue().converting());
    EXPECT_EQ(states(all), QStringLiteral(".........EE..............EE"));
    EXPECT_FALSE(w.button(QStringLiteral("bt_start"))->isVisible());
    EXPECT_TRUE(w.button(QStringLiteral("Bt_Convertstop"))->isVisible());
    EXPECT_TRUE(w.button(QStringLiteral("Bt_Convertstop"))->isEnabled());
    // The information panel is live: the bar grows, the texts follow the row.
    waitFor([&] { return w.objectRect(QStringLiteral("convertpos")).width() > 0; });
    EXPECT_GT(w.objectRect(QStringLiteral("convertpos")).width(), 0);
    EXPECT_TRUE(w.objectText(QStringLiteral("filename")).startsWith(QStringLiteral("long_640x480")));
    EXPECT_TRUE(w.objectText(QStringLiteral("filesize")).endsWith(QStringLiteral(" KB")));
    w.button(QStringLiteral("Bt_Convertstop"))->click();
    waitFor([&] { return !app.queue().converting(); });
    waitFor([&] { return w.button(QStringLiteral("bt_start"))->isEnabled(); }, 15000);
    EXPECT_TRUE(w.button(QStringLiteral("bt_start"))->isVisible());
    EXPECT_FALSE(w.objectShown(QStringLiteral("convertinfo")));
    w.close();
}

TEST(Window, BarsAreCutAtTheirCaps)
{
    // Right edge = left + MulDiv(min(value, cap), width, 10000), rounded to nearest.
    struct Case {
        int left, value, cap, width, right;
    };
    const Case cases[] = {
        {0, 10000, 9999, 10000, 9999},  {0, 20000, 10000, 10000, 10000},
        {0, 10000, 10000, 263, 263},    {10, 5000, 9999, 263, 142},
        {24, 0, 9999, 476, 24},         {0, 15000, 9999, 263, 263},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MainWindow::barRight(c.left, c.value, c.cap, c.width), c.right)
            << c.value << " " << c.width;

    QTemporaryDir config;
    ProgramCopy program;
    program.writeLayout("[convert]\npos=10000\n[Play]\npos=10000\n");
    BoxWatcher boxes;
    ConverterApp app(QStringLiteral("marlo-video-converter"), program.path(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();
    w.SetBarFraction(QStringLiteral("convertpos"), 10000, QStringLiteral("convert"), 9999);
    EXPECT_EQ(w.objectRect(QStringLiteral("convertpos")).width(), 9999);
    w.SetBarFraction(QStringLiteral("playpos"), 10000, QStringLiteral("Play"), 10000);
    EXPECT_EQ(w.objectRect(QStringLiteral("playpos")).width(), 10000);
    w.SetBarFraction(QStringLiteral("convertpos"), 0, QStringLiteral("convert"), 9999);
    EXPECT_EQ(w.objectRect(QStringLiteral("convertpos")).width(), 0);
    w.close();
}

TEST(Window, TheLayoutFileDecidesPlacesAndMenus)
{
    QTemporaryDir config;
    ProgramCopy program;
    // No bt_set section, bt_back without Visible, bt_remove hidden, a lower-case lv height,
    // no help section.
    QFile real(testenv::programDir() + QStringLiteral("/Skin.ini"));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    QByteArray layout = real.readAll();
    layout.replace("[bt_set]\nVisible=1\n", "");
    layout.replace("[bt_back]\nLeft=524\nTop=330\nWidth=32\nHeight=32\nVisible=1\n",
                   "[bt_back]\nLeft=524\nTop=330\nWidth=32\nHeight=32\n");
    layout.replace("[bt_remove]\nLeft=156\nTop=40\nWidth=68\nHeight=52\nVisible=1\n",
                   "[bt_remove]\nLeft=156\nTop=40\nWidth=68\nHeight=52\nVisible=0\n");
    layout.replace("[help]\nleft=430\ntop=32\n", "");
    program.writeLayout(layout);
    BoxWatcher boxes;
    ConverterApp app(QStringLiteral("marlo-video-converter"), program.path(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(w.button(QStringLiteral("bt_set"))->isHidden());
    EXPECT_TRUE(w.button(QStringLiteral("bt_back"))->isHidden());
    EXPECT_TRUE(w.button(QStringLiteral("bt_remove"))->isHidden());
    EXPECT_FALSE(w.button(QStringLiteral("bt_play"))->isHidden());
    EXPECT_EQ(w.button(QStringLiteral("bt_play"))->geometry(), QRect(559, 330, 32, 32));
    EXPECT_EQ(w.jobListView()->geometry(), QRect(12, 100, 500, 258));
    EXPECT_EQ(w.jobListView()->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Title"));
    // The Help menu falls back to the window's left + 6 and top + 64.
    EXPECT_EQ(app.skinCommands().menuPosition(QStringLiteral("help")),
              w.geometry().topLeft() + QPoint(6, 64));
    EXPECT_EQ(app.skinCommands().menuPosition(QStringLiteral("file")),
              w.geometry().topLeft() + QPoint(216, 32));
    w.close();
}

TEST(Window, AMissingLayoutFileOrPictureIsReported)
{
    {
        QTemporaryDir config;
        ProgramCopy program;
        program.removeLayout();
        BoxWatcher boxes;
        ConverterApp app(QStringLiteral("marlo-video-converter"), program.path(), config.path());
        MainWindow &w = app.mainWindow();
        w.show();
        QApplication::processEvents();
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts.first().contains(QStringLiteral("install again")));
        // The form's places stay; the start-up still ends.
        EXPECT_EQ(w.button(QStringLiteral("bt_play"))->geometry(), QRect(567, 362, 33, 34));
        EXPECT_TRUE(app.startupDone());
        EXPECT_EQ(app.skinCommands().menuPosition(QStringLiteral("file")),
                  w.geometry().topLeft() + QPoint(6, 64));
        w.close();
    }
    {
        QTemporaryDir config;
        ProgramCopy program;
        QFile::remove(program.path() + QStringLiteral("/images/bt_cutD.bmp"));
        BoxWatcher boxes;
        ConverterApp app(QStringLiteral("marlo-video-converter"), program.path(), config.path());
        app.mainWindow().show();
        QApplication::processEvents();
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts.first().contains(QStringLiteral("bt_cutD.bmp")));
        // The pass, and the rest of the start-up, end there.
        EXPECT_FALSE(app.startupDone());
        app.mainWindow().close();
    }
    {
        QTemporaryDir config;
        ProgramCopy program;
        QFile f(program.path() + QStringLiteral("/skn.skn"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write("{ not a skin");
        f.close();
        BoxWatcher boxes;
        ConverterApp app(QStringLiteral("marlo-video-converter"), program.path(), config.path());
        app.mainWindow().show();
        QApplication::processEvents();
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts.first().startsWith(QStringLiteral("The skin cannot be loaded")));
        EXPECT_FALSE(app.startupDone());
        app.mainWindow().close();
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
