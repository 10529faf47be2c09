#include "app/converterapp.h"
#include "platform/inifile.h"
#include "shell/skin/imagebutton.h"
#include "shell/skin/skinengine.h"
#include "shell/widgets/formatsettingsdialog.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"

#include "support/testenv.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

void app() {} // the application object lives in main, around every test

QString labelText(MainWindow &w, const char *name)
{
    return w.objectText(QString::fromLatin1(name));
}

// An enabled control of the window: an image button, or a button of the skin.
bool enabled(MainWindow &w, const char *name)
{
    const QString object = QString::fromLatin1(name);
    if (skin::ImageButton *b = w.button(object))
        return b->isEnabled();
    skin::SkinObject *o = w.skinned() ? w.skinned()->FindObject(object) : nullptr;
    return o && o->isEnabled();
}

} // namespace

TEST(Startup, CreatesTheWindowsInOrderAndBuildsTheMainWindowOnce)
{
    app();
    QTemporaryDir config;
    ConverterApp converter(QStringLiteral("/usr/bin/marlo-video-converter"), testenv::programDir(),
                           config.path());
    MainWindow &w = converter.mainWindow();
    EXPECT_EQ(w.objectName(), QStringLiteral("Tfm_main"));
    QStringList dialogs;
    for (QObject *child : w.children())
        if (qobject_cast<QDialog *>(child))
            dialogs << child->objectName();
    EXPECT_EQ(dialogs,
              (QStringList{"Tfm_dir", "Tfm_about", "Tfm_set", "Tfm_info", "Tfm_dvdcutter"}));
    EXPECT_FALSE(converter.startupDone());
    EXPECT_TRUE(converter.edition().exeFileName().isEmpty());

    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(converter.startupDone());
    EXPECT_EQ(converter.edition().exeFileName(), QStringLiteral("marlo-video-converter"));
    EXPECT_TRUE(converter.edition().isFileEdition());
    EXPECT_EQ(labelText(w, "profilestext"), QStringLiteral("ASF-Advanced Streaming Format(*.asf)"));
    EXPECT_TRUE(w.jobListView()->isHidden());
    EXPECT_FALSE(w.objectShown(QStringLiteral("convertinfo")));
    EXPECT_TRUE(w.findChild<QLineEdit *>(QStringLiteral("ed_output"))
                    ->text()
                    .endsWith(QStringLiteral("/My Video/")));
    // An empty list: only adding works; Start is shown but disabled, Stop is hidden.
    for (const char *name : {"bt_dvdopen", "bt_ifo", "openfiles", "openfolder"})
        EXPECT_TRUE(enabled(w, name)) << name;
    for (const char *name : {"bt_remove", "bt_clear", "bt_set", "bt_start", "bt_pause"})
        EXPECT_FALSE(enabled(w, name)) << name;
    EXPECT_FALSE(w.button(QStringLiteral("bt_start"))->isHidden());
    EXPECT_TRUE(w.button(QStringLiteral("Bt_Convertstop"))->isHidden());
    EXPECT_FALSE(w.action(QStringLiteral("Convert2"))->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("AddFiles2"))->isEnabled());

    // Coming back (from the tray) does not run the start-up again.
    w.SetObjectText(QStringLiteral("profilestext"), QStringLiteral("changed"));
    w.hide();
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(labelText(w, "profilestext"), QStringLiteral("changed"));

    QDir().mkpath(testenv::programDir() + QStringLiteral("/../screenshots"));
    w.grab().save(testenv::programDir() + QStringLiteral("/../screenshots/main.png"));
    w.close();
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("marlo-video-converter.ini"))));
}

TEST(Startup, ALinkWithDvdInItsNameIsTheDvdEdition)
{
    app();
    QTemporaryDir config;
    ConverterApp converter(QStringLiteral("./Marlo-DVD-Converter"), testenv::programDir(),
                           config.path());
    converter.mainWindow().show();
    QApplication::processEvents();
    EXPECT_FALSE(converter.edition().isFileEdition());
    converter.mainWindow().close();
    EXPECT_TRUE(QFile::exists(config.filePath(QStringLiteral("Marlo-DVD-Converter.ini"))));
}

TEST(Startup, AddedFilesShowInTheJobList)
{
    QTemporaryDir config;
    QTemporaryDir folder;
    const QString clips = testenv::fixtureDir() + QStringLiteral("/clips/");
    QFile::copy(clips + QStringLiteral("clip.avi"),
                folder.filePath(QStringLiteral("holiday 2009.avi")));
    QFile::copy(clips + QStringLiteral("clip.mp4"), folder.filePath(QStringLiteral("ünïcødé.mp4")));
    ConverterApp converter(QStringLiteral("marlo-video-converter"), testenv::programDir(),
                           config.path());
    MainWindow &w = converter.mainWindow();
    w.show();
    QApplication::processEvents();
    converter.importer().addFolderPath(folder.path());
    QApplication::processEvents();

    JobListView *list = w.jobListView();
    QAbstractItemModel *model = list->model();
    const auto text = [model](int row, int column) {
        return model->index(row, column).data().toString();
    };
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(text(0, 0), QStringLiteral("holiday 2009"));
    EXPECT_EQ(text(0, 1), QStringLiteral("320x240"));
    EXPECT_EQ(text(0, 2).left(7), QStringLiteral("00:00:0"));
    EXPECT_TRUE(text(0, 3).endsWith(QStringLiteral("MB")));
    EXPECT_EQ(text(1, 4), QStringLiteral("Status"));
    EXPECT_EQ(model->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Width * Height"));
    EXPECT_TRUE(w.button(QStringLiteral("bt_start"))->isEnabled());
    // The first row is selected in the job list and in the view alike.
    EXPECT_TRUE(converter.jobs().isSelected(0));
    EXPECT_TRUE(list->selectionModel()->isRowSelected(0, QModelIndex()));

    // Unticking a row in the view reaches the job list.
    ASSERT_TRUE(model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(converter.jobs().isChecked(1));
    // Selecting in the view reaches it too, and the commands follow the selection.
    EXPECT_TRUE(w.button(QStringLiteral("bt_remove"))->isEnabled());
    list->selectionModel()->clearSelection();
    EXPECT_FALSE(converter.jobs().anySelected());
    EXPECT_FALSE(w.button(QStringLiteral("bt_remove"))->isEnabled());
    EXPECT_FALSE(w.action(QStringLiteral("Properties1"))->isEnabled());
    EXPECT_TRUE(w.button(QStringLiteral("bt_clear"))->isEnabled());
    EXPECT_TRUE(w.action(QStringLiteral("Convert2"))->isEnabled());
    list->selectionModel()->select(model->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_FALSE(converter.jobs().isSelected(0));
    EXPECT_TRUE(converter.jobs().isSelected(1));
    EXPECT_TRUE(w.button(QStringLiteral("bt_remove"))->isEnabled());

    QDir().mkpath(testenv::programDir() + QStringLiteral("/../screenshots"));
    w.grab().save(testenv::programDir() + QStringLiteral("/../screenshots/list.png"));
    w.close();
}

TEST(Startup, ClosingDuringAConversionLeavesOnlyWholeFiles)
{
    QTemporaryDir config;
    QTemporaryDir folder;
    QTemporaryDir output;
    QFile::copy(testenv::fixtureDir() + QStringLiteral("/clips/long_640x480.mp4"),
                folder.filePath(QStringLiteral("long.mp4")));
    {
        // MP4 output: a file cut off without its index does not open at all.
        QFile settings(config.filePath(QStringLiteral("marlo-video-converter.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[profiles]\nselcetsubindex=4\n");
    }
    QFile::copy(testenv::fixtureDir() + QStringLiteral("/clips/clip.avi"),
                folder.filePath(QStringLiteral("short.avi")));
    {
        ConverterApp converter(QStringLiteral("marlo-video-converter"), testenv::programDir(),
                               config.path());
        MainWindow &w = converter.mainWindow();
        w.show();
        QApplication::processEvents();
        w.setText(output.path());
        w.button(QStringLiteral("bt_mergeno"))->click(); // merge on
        converter.importer().addFolderPath(folder.path());
        ASSERT_EQ(converter.jobs().rowCount(), 2);
        converter.queue().startConversion();
        ASSERT_TRUE(converter.queue().converting());
        QElapsedTimer timer;
        timer.start();
        while (!converter.jobs().status(0).endsWith('%') &&
               converter.jobs().status(0) != QLatin1String("Finish") && timer.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        w.close();
    } // the program ends here, in the middle of the first row

    const QStringList files = QDir(output.path()).entryList(QDir::Files);
    EXPECT_TRUE(files.contains(QStringLiteral("long.mp4"))) << files.join(' ').toStdString();
    for (const QString &name : files) {
        QProcess probe;
        probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"),
                                                QStringLiteral("file:") + output.filePath(name)});
        ASSERT_TRUE(probe.waitForFinished(30000));
        EXPECT_EQ(probe.exitCode(), 0)
            << name.toStdString() << ": " << probe.readAllStandardError().toStdString();
    }
}

TEST(Startup, SettingsDialogShowsAndChangesTheFormatChoices)
{
    QTemporaryDir config;
    ConverterApp converter(QStringLiteral("marlo-video-converter"), testenv::programDir(),
                           config.path());
    converter.mainWindow().show();
    QApplication::processEvents();
    FormatSettingsDialog &dialog = converter.settingsDialog();
    dialog.show();
    QApplication::processEvents();

    // Profile 1, file edition: its sizes plus the source-size item, the source-quality items.
    QComboBox *size = dialog.combo(QStringLiteral("cb_size"));
    QComboBox *video = dialog.combo(QStringLiteral("cb_videobitrate"));
    QComboBox *channel = dialog.combo(QStringLiteral("cb_channel"));
    ASSERT_TRUE(size && video && channel);
    EXPECT_TRUE(size->isEditable());
    EXPECT_EQ(size->itemText(size->count() - 1), QStringLiteral("The original width and height"));
    EXPECT_EQ(size->currentIndex(), 0);
    EXPECT_EQ(video->count(), 6);
    EXPECT_EQ(video->currentText(), QStringLiteral("The Original Video Quliay"));
    EXPECT_EQ(channel->currentText(), QStringLiteral("Stereo"));

    dialog.grab().save(testenv::programDir() + QStringLiteral("/../screenshots/settings.png"));
    video->setCurrentIndex(1);
    emit video->activated(1);
    size->setEditText(QStringLiteral("400x300"));
    dialog.findChild<QRadioButton *>(QStringLiteral("rg_finish_1"))->click();
    dialog.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(dialog.isVisible());

    // The choices are the profile's now, and stored with it.
    converter.mainWindow().close();
    IniFile choices(config.filePath(QStringLiteral("pro marlo-video-converter.ini")));
    EXPECT_EQ(choices.readInt(QStringLiteral("1"), QStringLiteral("video bitrate"), -9), 1);
    EXPECT_EQ(choices.readInt(QStringLiteral("1"), QStringLiteral("size"), -9), -1);
    IniFile settings(config.filePath(QStringLiteral("marlo-video-converter.ini")));
    EXPECT_EQ(settings.readInt(QStringLiteral("profiles"), QStringLiteral("FinishSelcet"), -9), 1);
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
