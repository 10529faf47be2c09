#include "shell/skinlayout.h"

#include "core/edition.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct LayoutFixture : ::testing::Test {
    QTemporaryDir dir;
    Edition edition;
    FakeTexts texts;
    SkinLayout layout{dir.path()};

    void SetUp() override { edition.setExeFileName(QStringLiteral("marlo-video-converter")); }

    void write(const QByteArray &ini)
    {
        QFile f(dir.filePath(QStringLiteral("Skin.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ini);
    }

    SkinLayout::Plan plan()
    {
        const auto p = layout.plan(edition, texts);
        EXPECT_TRUE(p.has_value());
        return p.value_or(SkinLayout::Plan{});
    }

    static const SkinLayout::Button &button(const SkinLayout::Plan &p, const char *name)
    {
        for (const SkinLayout::Button &b : p.buttons)
            if (b.name == QLatin1String(name))
                return b;
        static const SkinLayout::Button none;
        ADD_FAILURE() << "no button " << name;
        return none;
    }
};

} // namespace

// Without the file every reader gets its default: menus at 6, 64; bars 263 wide.
TEST_F(LayoutFixture, AMissingFileGivesEveryDefault)
{
    EXPECT_FALSE(layout.exists());
    EXPECT_FALSE(layout.plan(edition, texts).has_value());
    EXPECT_EQ(layout.LayoutInt(QStringLiteral("help"), QStringLiteral("left"), 6), 6);
    EXPECT_EQ(layout.LayoutInt(QStringLiteral("help"), QStringLiteral("top"), 64), 64);
    EXPECT_EQ(layout.LayoutInt(QStringLiteral("convert"), QStringLiteral("pos"), 263), 263);
    EXPECT_EQ(layout.LayoutText(QStringLiteral("RunBackground"), QStringLiteral("RunBackground"),
                                QStringLiteral("Marlo Software")),
              QStringLiteral("Marlo Software"));
}

TEST_F(LayoutFixture, ButtonsFollowTheirSectionsAndTheVisibleRules)
{
    write("[bt_remove]\nLeft=10\nTop=20\nWidth=30\nHeight=40\n"
          "[bt_clear]\nVisible=0\n"
          "[bt_back]\nLeft=1\n"
          "[bt_dvdopen]\nVisible=0\n");
    const SkinLayout::Plan p = plan();
    EXPECT_EQ(button(p, "bt_remove").rect, QRect(10, 20, 30, 40));
    EXPECT_EQ(button(p, "bt_remove").visible, true);
    EXPECT_EQ(button(p, "bt_clear").visible, false);
    // A section that is absent moves its control to 6, 6 at 6 x 6 pixels.
    EXPECT_EQ(button(p, "bt_play").rect, QRect(6, 6, 6, 6));
    EXPECT_EQ(button(p, "bt_play").visible, true);
    // Back is hidden unless its section says Visible=1.
    EXPECT_EQ(button(p, "bt_back").visible, false);
    // Add DVD and Add IFO are never hidden by the layout file.
    EXPECT_FALSE(button(p, "bt_dvdopen").visible.has_value());
    EXPECT_FALSE(button(p, "bt_ifo").visible.has_value());
    // Settings without a section is hidden, and keeps the form's place and pictures.
    EXPECT_EQ(button(p, "bt_set").visible, false);
    EXPECT_FALSE(button(p, "bt_set").rect.has_value());
    EXPECT_FALSE(button(p, "bt_set").hasPictures);
    // The merge buttons read Visible before their pictures.
    EXPECT_TRUE(button(p, "bt_mergeyse").picturesAfterVisible);
    EXPECT_FALSE(button(p, "bt_start").picturesAfterVisible);

    write("[bt_set]\nVisible=1\nLeft=99\n");
    EXPECT_EQ(button(plan(), "bt_set").visible, true);
    EXPECT_FALSE(button(plan(), "bt_set").rect.has_value());
}

TEST_F(LayoutFixture, PicturesAreNamedAfterTheSection)
{
    write("[bt_start]\n");
    const SkinLayout::Plan p = plan();
    const SkinLayout::Button &stop = button(p, "Bt_Convertstop");
    EXPECT_EQ(stop.normalPicture, dir.path() + QStringLiteral("/images/Bt_Convertstop.bmp"));
    EXPECT_EQ(stop.overPicture, dir.path() + QStringLiteral("/images/Bt_Convertstopon.bmp"));
    EXPECT_EQ(stop.disabledPicture, dir.path() + QStringLiteral("/images/Bt_ConvertstopD.bmp"));
    // The pass goes through the buttons in its fixed order.
    QStringList order;
    for (const SkinLayout::Button &b : p.buttons)
        order << b.name;
    EXPECT_EQ(order.first(), QStringLiteral("bt_dvdopen"));
    EXPECT_EQ(order.indexOf(QStringLiteral("bt_set")), 5);
    EXPECT_EQ(order.last(), QStringLiteral("bt_mergeno"));
}

TEST_F(LayoutFixture, OtherControlsAndTheirDefaults)
{
    write("[cb_audio]\nLeft=1\nTop=2\nWidth=3\n"
          "[Leftmoveint]\nLeftmoveint=150\n"
          "[ed_output]\nLeft=7\nTop=8\nWidth=300\n"
          "[pl_main]\nLeft=11\nTop=12\nplleft=170\n"
          "[pltop]\npltop=80\n"
          "[lv]\nLeft=9\nTop=100\nheight=250\nWidth=760\n");
    const SkinLayout::Plan p = plan();
    EXPECT_EQ(p.cbAudio.topLeft(), QPoint(1, 2));
    EXPECT_EQ(p.cbAudio.width(), 3);
    EXPECT_EQ(p.leftMoveInt, 150);
    EXPECT_EQ(p.edOutput, QRect(7, 8, 300, 15)); // its height defaults to 15
    EXPECT_EQ(p.plMain, QPoint(11, 12));
    EXPECT_EQ(p.plLeft, 170);
    EXPECT_EQ(p.plTop, 80);
    EXPECT_EQ(p.lv, QRect(9, 100, 760, 250));
    EXPECT_EQ(p.panel1, QPoint(6, 6));
}

TEST_F(LayoutFixture, TheFirstColumnIsTitledAfterThePass)
{
    write("[lv]\n");
    EXPECT_EQ(plan().firstColumnCaption, QStringLiteral("Title"));
    texts.replaced[QStringLiteral("Caption/Title")] = QStringLiteral("Titel");
    EXPECT_EQ(plan().firstColumnCaption, QStringLiteral("Titel"));
}

// The title strip shows the picture named after the executable, or is hidden.
TEST_F(LayoutFixture, TitlePictureByExecutableName)
{
    write("[Title]\nLeft=40\n");
    edition.setExeFileName(QStringLiteral("Convert.exe"));
    EXPECT_FALSE(plan().title.has_value());

    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("images/main"))));
    QFile picture(dir.filePath(QStringLiteral("images/main/Convert.bmp")));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.close();
    const SkinLayout::Plan p = plan();
    EXPECT_EQ(p.title, QRect(40, 5, 5, 24)); // Top and Width default to 5
    EXPECT_EQ(p.titlePicture, picture.fileName());
}
