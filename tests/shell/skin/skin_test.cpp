// Our skin engine: what a skin file may say, and how a skinned window answers
// the pointer.
#include "shell/skin/menustyle.h"
#include "shell/skin/skindefinition.h"
#include "shell/skin/skinengine.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace
{

QByteArray skinWith(const QByteArray &objects, const QByteArray &extra = {})
{
    return R"({"format": "marlo-skin", "palette": {"accent": "#2458d6"}, )" + extra +
           R"("forms": [{"name": "main", "width": 200, "height": 100, "dragArea": [0, 0, 200, 20],
                         "objects": [)" +
           objects + "]}]}";
}

} // namespace

TEST(SkinFile, BadFilesAreRefusedWithAReason)
{
    struct Case {
        QByteArray json;
        const char *reason;
    };
    const Case cases[] = {
        {"{ not json", "not a skin file"},
        {R"({"forms": []})", "marlo-skin"},
        {R"({"format": "marlo-skin", "forms": []})", "no forms"},
        {skinWith(R"({"name": "a", "kind": "spinner", "rect": [0, 0, 1, 1]})"), "unknown kind"},
        {skinWith(R"({"name": "a", "kind": "text", "rect": [0, 0, 1]})"), "four numbers"},
        {skinWith(R"({"name": "a", "kind": "text", "rect": [0, 0, -5, 1]})"), "impossible size"},
        {skinWith(R"({"name": "a", "kind": "text", "rect": [0, 0, 1, 1], "color": "nocolour"})"),
         "not a colour"},
        {skinWith(R"({"name": "a", "kind": "text", "rect": [0, 0, 1, 1]},
                     {"name": "a", "kind": "text", "rect": [0, 0, 1, 1]})"),
         "two objects named"},
        {skinWith(R"({"name": "a", "kind": "text", "rect": [0, 0, 1, 1], "parent": "b"})"),
         "no parent"},
        {skinWith(R"({"kind": "text", "rect": [0, 0, 1, 1]})"), "without a name"},
        {skinWith("", R"("defaultForm": "other", )"), "no default form"},
    };
    for (const Case &c : cases) {
        QString why;
        EXPECT_FALSE(skin::parseSkin(c.json, &why).has_value()) << c.json.toStdString();
        EXPECT_TRUE(why.contains(QString::fromLatin1(c.reason))) << why.toStdString();
    }
    QString why;
    EXPECT_FALSE(skin::readSkinFile(QStringLiteral("/no/such/skn.skn"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("cannot read")));

    const auto good = skin::parseSkin(
        skinWith(R"({"name": "t", "kind": "text", "rect": [1, 2, 3, 4], "color": "accent",
                     "align": "right|top", "elide": "middle", "text": "hello"})"),
        &why);
    ASSERT_TRUE(good) << why.toStdString();
    const skin::ObjectDef *t = good->form(QStringLiteral("main"))->find(QStringLiteral("t"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rect, QRect(1, 2, 3, 4));
    EXPECT_EQ(t->color, QColor(0x24, 0x58, 0xd6));
    EXPECT_EQ(t->align, Qt::AlignRight | Qt::AlignTop);
    EXPECT_EQ(t->elide, Qt::ElideMiddle);
    EXPECT_EQ(good->defaultForm, QStringLiteral("main"));
}

TEST(SkinWindow, ThePointerReachesTheTopmostShownObject)
{
    QTemporaryDir folder;
    QFile f(folder.filePath(QStringLiteral("skn.skn")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(skinWith(R"(
        {"name": "panel", "kind": "panel", "rect": [0, 30, 200, 70]},
        {"name": "inner", "kind": "button", "parent": "panel", "rect": [10, 40, 40, 20]},
        {"name": "under", "kind": "region", "rect": [100, 40, 40, 20]},
        {"name": "over", "kind": "button", "rect": [100, 40, 40, 20]},
        {"name": "seek", "kind": "slider", "rect": [0, 80, 214, 14]},
        {"name": "min", "kind": "button", "frame": "minimize", "rect": [180, 0, 20, 20]})"));
    f.close();

    skin::SkinEngine engine;
    ASSERT_TRUE(engine.OpenSkinFile(f.fileName())) << engine.errorString().toStdString();
    QWidget window;
    EXPECT_EQ(engine.SkinWindowAs(&window, QStringLiteral("missing")), nullptr);
    EXPECT_TRUE(engine.errorString().contains(QStringLiteral("no form")));
    skin::SkinnedWindow *face = engine.SkinWindow(&window);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(engine.SkinnedWindowOf(&window), face);
    EXPECT_EQ(window.size(), QSize(200, 100));
    window.show();
    QSignalSpy clicks(&engine, &skin::SkinEngine::OnClick);
    QSignalSpy tracks(&engine, &skin::SkinEngine::OnScrollTrack);
    const auto clicked = [&] {
        return clicks.isEmpty() ? QString()
                                : clicks.takeLast().at(0).value<skin::SkinObject *>()->name();
    };

    // Of two objects in one place the later one is on top.
    QTest::mouseClick(face, Qt::LeftButton, {}, QPoint(120, 50));
    EXPECT_EQ(clicked(), QStringLiteral("over"));
    // An object is drawn and hit only while its parent is shown.
    QTest::mouseClick(face, Qt::LeftButton, {}, QPoint(20, 50));
    EXPECT_EQ(clicked(), QStringLiteral("inner"));
    face->FindObject(QStringLiteral("panel"))->setVisible(false);
    EXPECT_EQ(face->objectAt(QPoint(20, 50)), nullptr);
    // A disabled button is not clicked.
    face->FindObject(QStringLiteral("over"))->setEnabled(false);
    QTest::mouseClick(face, Qt::LeftButton, {}, QPoint(120, 50));
    EXPECT_TRUE(clicks.isEmpty());
    // Press and release on different objects is no click.
    face->FindObject(QStringLiteral("over"))->setEnabled(true);
    QTest::mousePress(face, Qt::LeftButton, {}, QPoint(120, 50));
    QTest::mouseRelease(face, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_TRUE(clicks.isEmpty());

    // The seek bar follows the pointer in ten-thousandths, the thumb's half kept free.
    skin::SkinObject *seek = face->FindObject(QStringLiteral("seek"));
    ASSERT_NE(seek->slider(), nullptr);
    EXPECT_EQ(seek->textFacet(), nullptr);
    QTest::mousePress(face, Qt::LeftButton, {}, QPoint(107, 87));
    EXPECT_EQ(seek->position(), 5000);
    QTest::mouseRelease(face, Qt::LeftButton, {}, QPoint(107, 87));
    ASSERT_EQ(tracks.size(), 1);
    EXPECT_EQ(tracks.first().at(1).toInt(), 5000);
    seek->setPosition(20000);
    EXPECT_EQ(seek->position(), 10000);

    // Minimise is the engine's own: no click reaches the program.
    clicks.clear();
    QTest::mouseClick(face, Qt::LeftButton, {}, QPoint(190, 10));
    EXPECT_TRUE(clicks.isEmpty());
}

TEST(MenuStyle, ColoursHoldBlueGreenRedFromHighToLow)
{
    EXPECT_EQ(skin::colorFromBgr(skin::MenuStyle::kMenuColor), QColor(0xfa, 0xfb, 0xfe));
    EXPECT_EQ(skin::colorFromBgr(skin::MenuStyle::kSeparatorColor), QColor(0x84, 0x82, 0x84));
    EXPECT_EQ(skin::colorFromBgr(skin::MenuStyle::kSelectedColor), QColor(0x44, 0x4a, 0xa0));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
