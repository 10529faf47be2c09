// The window's keyboard, tray and list-editing behaviours through the real
// widgets: key events enter at the window as the platform delivers them.
#include "app/converterapp.h"
#include "shell/widgets/backgroundmode.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"
#include "shell/widgets/pickerpanels.h"

#include "support/testenv.h"
#include "support/windowtesting.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

namespace
{

constexpr quint32 kControlL = 0xffe3, kControlR = 0xffe4;

struct Program {
    explicit Program(const char *exe = "marlo-video-converter")
        : app(QString::fromLatin1(exe), testenv::programDir(), config.path()), w(app.mainWindow())
    {
        w.show();
        w.activateWindow();
        QApplication::processEvents();
        (void)QTest::qWaitForWindowActive(&w, 2000);
    }
    // A key as the platform hands it to the window.
    void key(QEvent::Type type, int key, const QString &text = {}, quint32 native = 0)
    {
        QKeyEvent e(type, key, Qt::NoModifier, 0, native, 0, text);
        QApplication::sendEvent(w.windowHandle(), &e);
        QApplication::processEvents();
    }
    void tap(int k, const QString &text = {})
    {
        key(QEvent::KeyPress, k, text);
        key(QEvent::KeyRelease, k, text);
    }
    void ctrl(int k, quint32 side)
    {
        key(QEvent::KeyPress, Qt::Key_Control, {}, side);
        tap(k);
        key(QEvent::KeyRelease, Qt::Key_Control, {}, side);
    }
    void addClips(const QStringList &names)
    {
        QStringList paths;
        for (const QString &n : names)
            paths << testenv::fixtureDir() + QStringLiteral("/clips/") + n;
        app.importer().addFilePaths(paths);
    }
    QStringList configFiles() const
    {
        return QDir(config.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    QTemporaryDir config;
    ConverterApp app;
    MainWindow &w;
};

} // namespace

TEST(Keys, RightCtrlDoesNotConvertLeftCtrlDoes)
{
    Program p;
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    QTemporaryDir output;
    p.w.setText(output.path());
    p.addClips({QStringLiteral("long_640x480.mp4")});
    ASSERT_EQ(p.app.jobs().rowCount(), 1);
    p.w.jobListView()->setFocus();
    p.ctrl(Qt::Key_V, kControlR);
    EXPECT_FALSE(p.app.queue().converting());
    p.ctrl(Qt::Key_V, kControlL);
    EXPECT_TRUE(p.app.queue().converting());
    // F5 while converting only says so.
    {
        BoxWatcher boxes;
        p.tap(Qt::Key_F5);
        waitFor([&] { return !boxes.texts.isEmpty(); }, 2000);
        EXPECT_EQ(boxes.texts.size(), 1);
    }
    p.ctrl(Qt::Key_S, kControlL);
    waitFor([&] { return !p.app.queue().converting(); });
    EXPECT_FALSE(p.app.queue().converting());
    // F5 opens the picker on the current profile.
    p.tap(Qt::Key_F5);
    EXPECT_TRUE(p.w.pickerPanels().panelVisible(QStringLiteral("pl_main")));
    p.w.close();
}

TEST(Keys, LettersTypedIntoTheRenameBoxStayThere)
{
    Program p;
    p.addClips({QStringLiteral("clip.mp4"), QStringLiteral("long_640x480.mp4")});
    ASSERT_EQ(p.app.jobs().rowCount(), 2);
    JobListView *list = p.w.jobListView();
    // A selected row without the focus only takes the focus.
    p.app.jobs().selectOnly(1);
    list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    p.w.action(QStringLiteral("Rename1"))->trigger();
    EXPECT_TRUE(list->renameBox()->isHidden());
    EXPECT_EQ(list->currentIndex().row(), 1);
    // Ctrl+N opens the box over the focused row with its caption.
    list->setFocus();
    p.ctrl(Qt::Key_N, kControlL);
    QLineEdit *box = list->renameBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), p.app.jobs().caption(1));
    EXPECT_TRUE(box->hasFocus());
    // x, r and a blank are typed, not obeyed; Enter gives the row its new name.
    box->clear();
    for (const auto &[k, t] : {std::pair{Qt::Key_X, "x"}, {Qt::Key_R, "r"}, {Qt::Key_Space, " "},
                               {Qt::Key_A, "a"}})
        p.tap(k, QString::fromLatin1(t));
    EXPECT_FALSE(p.app.quitting());
    EXPECT_EQ(p.app.jobs().rowCount(), 2);
    EXPECT_EQ(box->text(), QStringLiteral("xr a"));
    p.tap(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(box->isHidden());
    EXPECT_EQ(p.app.jobs().caption(1), QStringLiteral("xr a"));
    // An empty text keeps the caption; leaving the box also ends the edit.
    p.w.action(QStringLiteral("Rename1"))->trigger();
    ASSERT_TRUE(box->isVisible());
    box->clear();
    p.w.outputEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(box->isHidden());
    EXPECT_EQ(p.app.jobs().caption(1), QStringLiteral("xr a"));
    p.w.close();
}

TEST(Keys, XEndsTheProgramAtOnceWithoutWritingSettings)
{
    Program p;
    p.w.jobListView()->setFocus();
    QTimer::singleShot(0, [&] { p.tap(Qt::Key_X, QStringLiteral("x")); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(3); }); // a safety net
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(p.app.quitting());
    p.w.close(); // the close query is not asked any more
    EXPECT_TRUE(p.configFiles().isEmpty()) << p.configFiles().join(QLatin1Char(' ')).toStdString();
}

namespace
{

// Processes whose parent is this test program.
QStringList children()
{
    QStringList found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLocal8Bit(stat.readAll());
        // "pid (name) state ppid ...": the name may hold blanks, so read after ')'.
        const QStringList rest = text.mid(text.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        if (rest.size() > 1 && rest.at(1) == self)
            found << text.left(text.indexOf(QLatin1Char(')')) + 1);
    }
    return found;
}

} // namespace

TEST(Keys, XDuringAConversionStopsItAndLeavesNoChild)
{
    QTemporaryDir output;
    {
        Program p;
        p.w.setText(output.path());
        p.addClips({QStringLiteral("long_640x480.mp4")});
        p.app.queue().startConversion();
        ASSERT_TRUE(p.app.queue().converting());
        waitFor([] { return !children().isEmpty(); }, 5000);
        ASSERT_FALSE(children().isEmpty());
        p.w.jobListView()->setFocus();
        QTimer::singleShot(0, [&] { p.tap(Qt::Key_X, QStringLiteral("x")); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(p.configFiles().isEmpty());
    }
    // The program object is gone: the encoder was stopped and waited for.
    EXPECT_TRUE(children().isEmpty()) << children().join(QLatin1Char(' ')).toStdString();
}

TEST(Tray, LeftClickRestoresOtherClicksDoNothing)
{
    Program p;
    BackgroundMode &bg = p.app.background();
    bg.trayAvailable = [] { return true; };
    p.ctrl(Qt::Key_G, kControlL);
    ASSERT_NE(bg.trayIcon(), nullptr);
    EXPECT_TRUE(bg.trayIcon()->isVisible());
    EXPECT_FALSE(p.w.isVisible());
    EXPECT_LE(bg.trayIcon()->toolTip().size(), 63);
    EXPECT_FALSE(bg.trayIcon()->toolTip().isEmpty());
    // A second request while hidden changes nothing.
    p.w.action(QStringLiteral("RunBackground1"))->trigger();
    EXPECT_FALSE(p.w.isVisible());
    for (auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
                        QSystemTrayIcon::MiddleClick})
        emit bg.trayIcon()->activated(reason);
    EXPECT_FALSE(p.w.isVisible());
    EXPECT_TRUE(bg.trayIcon()->isVisible());
    emit bg.trayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(p.w.isVisible());
    EXPECT_FALSE(bg.trayIcon()->isVisible());
    // The first showing's steps do not run again.
    EXPECT_TRUE(p.app.startupDone());
    p.w.close();
}

TEST(Tray, WithoutANotificationAreaTheWindowIsMinimised)
{
    Program p;
    p.app.background().trayAvailable = [] { return false; };
    p.w.action(QStringLiteral("RunBackground1"))->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(p.w.isMinimized());
    EXPECT_EQ(p.app.background().trayIcon(), nullptr);
    p.w.showNormal();
    p.w.close();
}

TEST(ListEditing, DroppedClipsAndFoldersAreProbedRows)
{
    Program p;
    const auto dropOn = [](QWidget *target, const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return true;
    };
    const QString clips = testenv::fixtureDir() + QStringLiteral("/clips/");
    // Two clips on the empty window: the list is hidden until rows come.
    ASSERT_TRUE(dropOn(&p.w, {QUrl::fromLocalFile(clips + QStringLiteral("clip.mp4")),
                              QUrl::fromLocalFile(clips + QStringLiteral("long_640x480.mp4"))}));
    ASSERT_EQ(p.app.jobs().rowCount(), 2);
    EXPECT_TRUE(p.w.jobListView()->isVisible());
    for (int row = 0; row < 2; ++row)
        EXPECT_FALSE(p.app.jobs().cell(row, JobList::TimeColumn).isEmpty()) << "probed " << row;
    // A folder on the list gives what Add Folder takes from it.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(clips + QStringLiteral("clip.avi"), folder.filePath(QStringLiteral("a b.avi"))));
    QFile(folder.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(dropOn(p.w.jobListView()->viewport(), {QUrl::fromLocalFile(folder.path())}));
    ASSERT_EQ(p.app.jobs().rowCount(), 3);
    EXPECT_EQ(p.app.jobs().caption(2), QStringLiteral("a b"));
    // Text that names no file is not taken.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent other(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.w, &other);
    EXPECT_FALSE(other.isAccepted());
    p.w.close();
}

TEST(ListEditing, TheDvdEditionRefusesDroppedVideoFilesClearly)
{
    BoxWatcher boxes;
    Program p("marlo-dvd-converter");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(testenv::fixtureDir() + QStringLiteral("/clips/clip.mp4"))});
    // The empty list is hidden: the drop lands on the window.
    ASSERT_FALSE(p.w.jobListView()->isVisible());
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.w, &drop);
    waitFor([&] { return !boxes.texts.isEmpty(); }, 2000);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts.first().contains(QStringLiteral("VIDEO_TS")));
    EXPECT_EQ(p.app.jobs().rowCount(), 0);
    p.w.close();
}

TEST(ListEditing, DvdMenuChecksAlsoStoreTheViewsMarks)
{
    Program p;
    p.addClips({QStringLiteral("clip.mp4"), QStringLiteral("long_640x480.mp4")});
    ASSERT_EQ(p.app.jobs().rowCount(), 2);
    p.w.action(QStringLiteral("UnselectAll1"))->trigger();
    EXPECT_FALSE(p.app.jobs().anyChecked());
    EXPECT_FALSE(p.app.dvdTables().titleChecks) << "the Edit menu leaves the marks";
    p.w.action(QStringLiteral("MenuItem10"))->trigger();
    EXPECT_TRUE(p.app.jobs().isChecked(0) && p.app.jobs().isChecked(1));
    EXPECT_EQ(p.app.dvdTables().titleChecks, (std::vector<bool>{true, true}));
    p.app.dvdTables().titleView = false;
    p.w.action(QStringLiteral("MenuItem11"))->trigger();
    EXPECT_EQ(p.app.dvdTables().chapterChecks, (std::vector<bool>{false, false}));
    EXPECT_EQ(p.app.dvdTables().titleChecks, (std::vector<bool>{true, true}));
    // Ctrl+L and Ctrl+U check and uncheck every row.
    p.w.jobListView()->setFocus();
    p.ctrl(Qt::Key_L, kControlL);
    EXPECT_TRUE(p.app.jobs().isChecked(0) && p.app.jobs().isChecked(1));
    p.ctrl(Qt::Key_U, kControlL);
    EXPECT_FALSE(p.app.jobs().anyChecked());
    p.w.close();
}

TEST(ListEditing, TheTitlePictureMovesTheWindow)
{
    Program p;
    QWidget *handle = p.w.control(QStringLiteral("img_name"));
    ASSERT_NE(handle, nullptr);
    const QPoint before = p.w.pos();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(25, 15), handle->mapToGlobal(QPointF(25, 15)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_EQ(p.w.pos(), before + QPoint(20, 10));
    p.w.close();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
