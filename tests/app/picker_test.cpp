// The profile picker through its real widgets: pointing opens panels and
// highlights buttons, a click chooses the profile, the executable's name turns the
// picker into one panel.
#include "app/converterapp.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"
#include "shell/widgets/pickerpanels.h"

#include "support/testenv.h"
#include "support/windowtesting.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

// The program started under a name, shown, its first-show steps done.
struct Program {
    explicit Program(const char *exe, const QString &folder = testenv::programDir())
        : app(QString::fromLatin1(exe), folder, config.path()), w(app.mainWindow()),
          panels(w.pickerPanels())
    {
        w.show();
        QApplication::processEvents();
    }
    bool shown(const char *panel) const { return panels.panelVisible(QString::fromLatin1(panel)); }
    QStringList shownPanels() const
    {
        QStringList names;
        const QStringList all = ProfilePicker::allPanels() << QStringLiteral("pl_main");
        for (const QString &p : all)
            if (panels.panelVisible(p))
                names << p;
        return names;
    }
    // Pointing: the pointer moves over the control.
    void point(QWidget *tile)
    {
        ASSERT_NE(tile, nullptr);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 10), tile->mapToGlobal(QPointF(5, 10)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tile, &move);
    }
    void pointButton(int n) { point(panels.button(n)); }
    void pointCategory(int k) { point(panels.category(k)); }
    void clickButton(int n) { QTest::mouseClick(panels.button(n), Qt::LeftButton); }
    void clickControl(const char *name)
    {
        QWidget *c = w.findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_NE(c, nullptr) << name;
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(4, 4));
    }
    void openWith(int profile)
    {
        app.profile().activeProfile = profile;
        clickControl("im_mainico");
    }
    bool hovered(int n) const { return panels.button(n)->hovered(); }

    QTemporaryDir config;
    ConverterApp app;
    MainWindow &w;
    PickerPanels &panels;
};

} // namespace

TEST(Picker, OpensOnThePanelOfTheActiveProfile)
{
    Program p("marlo-video-converter");
    EXPECT_TRUE(p.shownPanels().isEmpty()) << "hidden after start-up";
    struct Case {
        int profile;
        const char *panel;
        int category;
    };
    const Case cases[] = {{27, "pl_ipod", 3},  {33, "pl_ipod", 3},   {40, "pl_iphone", 4},
                          {45, "pl_gphone", 5}, {59, "pl_psp", 7},    {8, "pl_video2", 1},
                          {3, "pl_video1", 1},  {22, "pl_audio2", 2}, {99, "pl_animation", 13}};
    for (const Case &c : cases) {
        p.openWith(c.profile);
        EXPECT_EQ(p.shownPanels(), (QStringList{QString::fromLatin1(c.panel), "pl_main"}))
            << c.profile;
        EXPECT_EQ(p.app.profile().currentCategory, c.category) << c.profile;
        for (int k = 1; k <= 13; ++k)
            EXPECT_EQ(p.panels.category(k)->hovered(), k == c.category) << c.profile << " " << k;
        EXPECT_TRUE(p.w.findChild<QWidget *>(QStringLiteral("pl_back"))->isVisible());
        // A press on the job list closes the picker.
        QTest::mousePress(p.w.jobListView()->viewport(), Qt::LeftButton);
        QTest::mouseRelease(p.w.jobListView()->viewport(), Qt::LeftButton);
        EXPECT_TRUE(p.shownPanels().isEmpty()) << c.profile;
        EXPECT_FALSE(p.w.findChild<QWidget *>(QStringLiteral("pl_back"))->isVisible());
    }
    // A sub-panel profile opens the first video page with its sub-panel beside it.
    p.openWith(120);
    EXPECT_EQ(p.shownPanels(), (QStringList{"pl_video1", "pl_mp4", "pl_main"}));
    EXPECT_EQ(p.panels.panelRect(QStringLiteral("pl_mp4")).left(),
              p.panels.panelRect(QStringLiteral("pl_video1")).left() +
                  p.app.skinLayout().LayoutInt(QStringLiteral("Leftmoveint"),
                                               QStringLiteral("Leftmoveint"), 6));
    // No profile yet: the category column alone.
    p.openWith(-1);
    EXPECT_EQ(p.shownPanels(), QStringList{"pl_main"});
    // Pointing at a category opens its panel; the video category remembers its page.
    p.pointCategory(2);
    EXPECT_EQ(p.shownPanels(), (QStringList{"pl_audio1", "pl_main"}));
    p.pointCategory(1);
    EXPECT_EQ(p.shownPanels(), (QStringList{"pl_video1", "pl_main"}));
    p.clickControl("Image94");
    EXPECT_EQ(p.shownPanels(), (QStringList{"pl_video2", "pl_main"}));
    EXPECT_FALSE(p.app.pickerState().videoPageFirst);
    p.pointCategory(12);
    p.pointCategory(1);
    EXPECT_EQ(p.shownPanels(), (QStringList{"pl_video2", "pl_main"}));
    p.clickControl("Image93");
    EXPECT_TRUE(p.app.pickerState().videoPageFirst);
    p.w.close();
}

TEST(Picker, PointingHighlightsButtonsAndOpensSubPanels)
{
    Program p("marlo-video-converter");
    p.openWith(1);
    QWidget *preview = p.w.control(QStringLiteral("pl_play"));
    ASSERT_FALSE(preview->isVisible());

    // Button 2 opens pl_avi, and keeps its highlight while the pointer is in there.
    p.pointButton(2);
    EXPECT_TRUE(p.shown("pl_avi"));
    EXPECT_TRUE(p.hovered(2));
    EXPECT_FALSE(preview->isVisible()) << "only 3 and 4 show the preview surface";
    p.pointButton(103);
    EXPECT_TRUE(p.hovered(2));
    EXPECT_TRUE(p.hovered(103));
    p.pointButton(104);
    EXPECT_FALSE(p.hovered(103));
    EXPECT_TRUE(p.hovered(2));
    // Back to button 1: button 2 is restored and pl_avi closes.
    p.pointButton(1);
    EXPECT_FALSE(p.hovered(2));
    EXPECT_FALSE(p.shown("pl_avi"));
    EXPECT_TRUE(p.hovered(1));

    // Button 3 opens pl_mpeg and shows the preview surface.
    p.pointButton(3);
    EXPECT_TRUE(p.shown("pl_mpeg"));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(p.hovered(1));
    p.pointButton(4);
    EXPECT_FALSE(p.shown("pl_mpeg"));
    EXPECT_TRUE(p.shown("pl_mp4"));

    // Buttons that do not react keep their pictures.
    p.pointCategory(1);
    p.clickControl("Image94");
    p.pointButton(13);
    EXPECT_FALSE(p.hovered(13));
    EXPECT_TRUE(p.hovered(4));
    // A click on an opener chooses nothing.
    const int before = p.app.profile().activeProfile;
    p.clickButton(2);
    EXPECT_EQ(p.app.profile().activeProfile, before);

    // The highlight outlives closing and reopening.
    p.pointCategory(3);
    p.pointButton(29);
    QTest::mousePress(p.w.jobListView()->viewport(), Qt::LeftButton);
    p.openWith(29);
    EXPECT_TRUE(p.hovered(29));
    EXPECT_EQ(p.app.pickerState().highlightedButton, 29);
    p.w.close();
}

TEST(Picker, AClickClosesThePickerAndChoosesTheProfile)
{
    Program p("marlo-video-converter");
    p.openWith(1);
    p.pointCategory(2);
    p.clickButton(17);
    EXPECT_TRUE(p.shownPanels().isEmpty());
    EXPECT_EQ(p.app.profile().activeProfile, 17);
    EXPECT_EQ(p.w.objectText(QStringLiteral("profilestext")),
              QStringLiteral("MP3-MPEG Layer-3Audio(*.mp3)"));
    // A filler still closes the picker and goes to the profile selection.
    p.openWith(17);
    p.pointCategory(2);
    p.clickControl("Image2");
    p.clickButton(26);
    EXPECT_TRUE(p.shownPanels().isEmpty());
    EXPECT_EQ(p.app.profile().activeProfile, 26);
    // A sub-panel button, reached through its opener.
    p.openWith(1);
    p.pointButton(5);
    p.pointButton(126);
    p.clickButton(126);
    EXPECT_EQ(p.app.profile().activeProfile, 126);
    EXPECT_TRUE(p.shownPanels().isEmpty());
    p.w.close();
}

TEST(Picker, TheExecutableNameMakesItOnePanel)
{
    const int singleTops[] = {-1, 52, 100, 148, 196, 244, 292};
    struct Case {
        const char *exe;
        QStringList shown;
        int firstButton; // -1: buttons keep their places
    };
    const Case cases[] = {
        {"marlo-iphone-converter", {"pl_iphone"}, 34},
        {"marlo-ipod-iphone-converter", {"pl_ipod"}, 27}, // the first keyword decides
        {"marlo-PSP-converter", {"pl_psp"}, 53},
        {"marlo-3gp-converter", {"pl_phone"}, 68},
        {"marlo-gphone-converter", {"pl_gphone"}, 41},
        {"marlo-mp3-converter", {"pl_audio1"}, 15},
        {"marlo-mkv-converter", {"pl_mkv"}, -1},
        {"marlo-mpeg-converter", {"pl_mpeg"}, -1},
        {"marlo-wmv-converter", {}, -1},
        {"marlo-flv-converter", {}, -1},
    };
    for (const Case &c : cases) {
        Program p(c.exe);
        p.openWith(1);
        EXPECT_EQ(p.shownPanels(), c.shown) << c.exe;
        if (c.shown.isEmpty())
            continue;
        const QRect r = p.panels.panelRect(c.shown.first());
        EXPECT_EQ(r.left(), p.panels.panelRect(QStringLiteral("pl_main")).left()) << c.exe;
        if (c.firstButton > 0) {
            const int count = c.firstButton == 41 ? 5 : 7;
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(p.panels.button(c.firstButton + i)->y(), singleTops[i]) << c.exe << i;
        }
        p.w.close();
    }
}

TEST(Picker, TheAudioEditionPagesStayAlone)
{
    Program p("marlo-audio-converter");
    p.openWith(15);
    EXPECT_EQ(p.shownPanels(), QStringList{"pl_audio1"});
    p.clickControl("Image2");
    EXPECT_EQ(p.shownPanels(), QStringList{"pl_audio2"});
    EXPECT_EQ(p.panels.button(22)->y(), -1);
    p.clickControl("Image5");
    EXPECT_EQ(p.shownPanels(), QStringList{"pl_audio1"});
    const int tops[] = {-1, 52, 100, 148, 196, 244, 292};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(p.panels.button(15 + i)->y(), tops[i]);
    EXPECT_TRUE(p.app.pickerState().audioPageFirst) << "the page flag is not changed";
    p.w.close();
}

TEST(Picker, RefusesWhileConvertingAndReportsAMissingPictureOnce)
{
    {
        BoxWatcher boxes;
        Program p("marlo-video-converter");
        QTemporaryDir output;
        p.w.setText(output.path());
        p.app.importer().addFilePaths(
            {testenv::fixtureDir() + QStringLiteral("/clips/long_640x480.mp4")});
        ASSERT_EQ(p.app.jobs().rowCount(), 1);
        p.app.queue().startConversion();
        ASSERT_TRUE(p.app.queue().converting());
        p.openWith(1);
        EXPECT_TRUE(p.shownPanels().isEmpty());
        EXPECT_EQ(boxes.texts,
                  QStringList{QStringLiteral("A conversion is running. Please stop it first.")});
        p.app.queue().stopConversion();
        waitFor([&] { return !p.app.queue().converting(); });
        p.w.close();
    }
    {
        ProgramCopy copy;
        QDir(copy.path() + QStringLiteral("/images/sub/general")).removeRecursively();
        BoxWatcher boxes;
        Program p("marlo-video-converter", copy.path());
        waitFor([&] { return !boxes.texts.isEmpty(); }, 2000);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_TRUE(boxes.texts.first().contains(QStringLiteral("images/sub/general/1.bmp")));
        // The picker still works with the pictures it has.
        p.openWith(27);
        EXPECT_EQ(p.shownPanels(), (QStringList{"pl_ipod", "pl_main"}));
        p.pointButton(28);
        EXPECT_TRUE(p.hovered(28));
        p.w.close();
    }
}

TEST(Picker, EveryEditionLinkIsStagedWithItsTitle)
{
    for (const char *edition :
         {"marlo-video-converter", "marlo-dvd-converter", "marlo-ipod-converter",
          "marlo-psp-converter", "marlo-iphone-converter", "marlo-3gp-converter",
          "marlo-gphone-converter", "marlo-audio-converter", "marlo-avi-converter",
          "marlo-mpeg-converter", "marlo-mp4-converter", "marlo-mkv-converter"}) {
        const QString name = QString::fromLatin1(edition);
        const QFileInfo link(testenv::programDir() + QLatin1Char('/') + name);
        EXPECT_TRUE(link.exists() && link.isExecutable()) << edition;
        if (name != QLatin1String("marlo-video-converter"))
            EXPECT_EQ(QFileInfo(link.symLinkTarget()).fileName(),
                      QStringLiteral("marlo-video-converter"))
                << edition;
        EXPECT_FALSE(QPixmap(testenv::programDir() + QStringLiteral("/images/main/") + name +
                             QStringLiteral(".bmp"))
                         .isNull())
            << edition;
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
