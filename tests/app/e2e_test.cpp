// The whole program on a real X server: two generated clips are added through Add
// Files and its file dialog, converted with the information panel live, and end
// with "Finish" in both rows. Screenshots of the screen go into the build tree.
#include "app/converterapp.h"
#include "shell/skin/imagebutton.h"
#include "shell/skin/skinengine.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"
#include "shell/widgets/pickerpanels.h"

#include "support/testenv.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Key by key; letters beyond ASCII arrive as the text of their key event.
void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, char(c.unicode()));
            continue;
        }
        QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void screenshot(MainWindow &w, const char *name)
{
    QApplication::processEvents();
    const QString folder = testenv::programDir() + QStringLiteral("/../screenshots");
    QDir().mkpath(folder);
    // What the X server shows: the window as it was painted on screen.
    const QPixmap shot = w.screen()->grabWindow(w.winId());
    EXPECT_FALSE(shot.isNull());
    shot.save(folder + QStringLiteral("/e2e-") + QString::fromLatin1(name) + QStringLiteral(".png"));
}

// The X pointer goes to the middle of a control, as a person moves it, until the
// window has seen it get there.
void pointAt(QWidget *control, const std::function<bool()> &arrived)
{
    ASSERT_NE(control, nullptr);
    const QPoint target = control->mapToGlobal(control->rect().center());
    for (int attempt = 0; attempt < 5 && !arrived(); ++attempt) {
        QCursor::setPos(control->screen(), target);
        if (waitFor(arrived, 1000))
            break;
        QTest::mouseMove(control, control->rect().center());
        waitFor(arrived, 200);
    }
    ASSERT_TRUE(arrived()) << control->objectName().toStdString();
}

// A click on the skin's "profiles" object, the current profile's card.
void openPicker(MainWindow &w)
{
    skin::SkinObject *profiles = w.skinned()->FindObject(QStringLiteral("profiles"));
    ASSERT_NE(profiles, nullptr);
    QTest::mouseClick(w.skinned(), Qt::LeftButton, {}, profiles->rect().center());
    QApplication::processEvents();
}

} // namespace

TEST(EndToEnd, TwoClipsAreAddedThroughTheDialogAndConverted)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QTemporaryDir config, sources, output;
    // Names a person might have: blanks and letters beyond ASCII.
    const QString clips = testenv::fixtureDir() + QStringLiteral("/clips/");
    ASSERT_TRUE(QFile::copy(clips + QStringLiteral("clip.avi"),
                            sources.filePath(QStringLiteral("first clip.avi"))));
    ASSERT_TRUE(QFile::copy(clips + QStringLiteral("clip.mp4"),
                            sources.filePath(QStringLiteral("zweiter Clip ü.mp4"))));

    ConverterApp app(QStringLiteral("marlo-video-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.setText(output.path());
    screenshot(w, "idle");

    // Add Files: the real file dialog, answered by typing as a person would.
    bool answered = false;
    QTimer::singleShot(300, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->setDirectory(sources.path());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return;
        name->setFocus();
        typeText(name, QStringLiteral("\"first clip.avi\" \"zweiter Clip ü.mp4\""));
        QTest::keyClick(name, Qt::Key_Return);
        answered = true;
    });
    skin::ImageButton *add = w.button(QStringLiteral("bt_dvdopen"));
    ASSERT_EQ(add->text(), QStringLiteral("Add Files"));
    QTest::mouseClick(add, Qt::LeftButton);
    ASSERT_TRUE(answered);
    QAbstractItemModel *model = w.jobListView()->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_TRUE(w.jobListView()->isVisible());

    // The profile: the picker's video category, the MP4 sub-panel, its second button.
    PickerPanels &picker = w.pickerPanels();
    openPicker(w);
    ASSERT_TRUE(picker.panelVisible(QStringLiteral("pl_main")));
    pointAt(picker.category(1), [&] { return picker.category(1)->hovered(); });
    ASSERT_TRUE(picker.panelVisible(QStringLiteral("pl_video1")));
    screenshot(w, "picker-general");
    pointAt(picker.button(4), [&] { return picker.panelVisible(QStringLiteral("pl_mp4")); });
    pointAt(picker.button(119), [&] { return picker.button(119)->hovered(); });
    screenshot(w, "picker-subpanel");
    QTest::mouseClick(picker.button(119), Qt::LeftButton);
    EXPECT_FALSE(picker.panelVisible(QStringLiteral("pl_main")));
    EXPECT_EQ(app.profile().activeProfile, 119);
    EXPECT_EQ(w.objectText(QStringLiteral("profilestext")),
              QStringLiteral("MP4 - MPEG4 Video Normal(*.mp4)"));

    // Start, and watch the bar and the panel while the rows convert.
    QTest::mouseClick(w.button(QStringLiteral("bt_start")), Qt::LeftButton);
    ASSERT_TRUE(app.queue().converting());
    int widest = 0;
    bool panelSeen = false, shotTaken = false;
    const bool ended = waitFor(
        [&] {
            if (app.queue().converting()) {
                widest = std::max(widest, w.objectRect(QStringLiteral("convertpos")).width());
                if (w.objectShown(QStringLiteral("convertinfo")) &&
                    w.objectText(QStringLiteral("filesize")).endsWith(QStringLiteral(" KB")) &&
                    !w.objectText(QStringLiteral("usedtime")).isEmpty())
                    panelSeen = true;
                if (!shotTaken && widest > 0 && panelSeen) {
                    screenshot(w, "converting");
                    shotTaken = true;
                }
            }
            return !app.queue().converting();
        },
        120000);
    ASSERT_TRUE(ended);
    EXPECT_GT(widest, 0);
    EXPECT_TRUE(panelSeen);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(model->index(row, 4).data().toString(), QStringLiteral("Finish")) << row;
    EXPECT_EQ(QDir(output.path()).entryList({QStringLiteral("*.mp4")}, QDir::Files).size(), 2);
    EXPECT_FALSE(w.objectShown(QStringLiteral("convertinfo")));
    screenshot(w, "finished");
    w.close();
}

TEST(EndToEnd, ASinglePanelEditionShowsItsPanelAlone)
{
    QTemporaryDir config;
    ConverterApp app(QStringLiteral("marlo-ipod-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    openPicker(w);
    PickerPanels &picker = w.pickerPanels();
    ASSERT_TRUE(picker.panelVisible(QStringLiteral("pl_ipod")));
    EXPECT_FALSE(picker.panelVisible(QStringLiteral("pl_main")));
    pointAt(picker.button(29), [&] { return picker.button(29)->hovered(); });
    screenshot(w, "picker-ipod");
    QTest::mouseClick(picker.button(29), Qt::LeftButton);
    EXPECT_EQ(app.profile().activeProfile, 29);
    w.close();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
