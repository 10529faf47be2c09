#include "shell/widgets/folderdialog.h"

#include "modalrun.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

namespace
{

class FolderDialogTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        root = QDir::cleanPath(temp.path());
        for (const char *folder : {"alpha/inner", "beta", ".hidden"})
            ASSERT_TRUE(QDir(root).mkpath(QString::fromLatin1(folder)));
        QFile file(path("notes.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QString path(const QString &relative) const { return root + QLatin1Char('/') + relative; }

    QPushButton *button(const char *name) const
    {
        return dialog.findChild<QPushButton *>(QString::fromLatin1(name));
    }

    // One modal showing through ShowFolderDialog, ended by `end`.
    QString showAndEnd(const QString &caption, const std::function<void()> &end)
    {
        QString returned;
        runModal(
            dialog, [&] { returned = dialog.ShowFolderDialog(caption); },
            [&] {
                EXPECT_EQ(dialog.windowTitle(), caption);
                end();
            });
        return returned;
    }

    void chooseWithOk(const QString &folder)
    {
        ASSERT_TRUE(dialog.selectPath(folder));
        QTest::mouseClick(button("btn_ok"), Qt::LeftButton);
    }

    QTemporaryDir temp;
    QString root;
    FolderDialog dialog;
};

TEST_F(FolderDialogTest, OkWithNothingSelectedKeepsTheDialogOpen)
{
    dialog.show();
    dialog.tree()->clearSelection();
    QTest::mouseClick(button("btn_ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.result().isEmpty());

    // A folder chosen afterwards still closes it.
    chooseWithOk(path("beta"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), path("beta"));
}

TEST_F(FolderDialogTest, TheSecondShowingEndsWithTheResultItsEndingLeaves)
{
    struct Case {
        const char *name;
        std::function<void(FolderDialogTest &)> end;
        QString expected; // relative to the temporary folder; empty for no result
    };
    const Case cases[] = {
        {"Cancel empties it",
         [](FolderDialogTest &t) { QTest::mouseClick(t.button("btn_cancel"), Qt::LeftButton); },
         QString()},
        {"the close box keeps the earlier folder", [](FolderDialogTest &t) { t.dialog.close(); },
         QStringLiteral("alpha")},
        {"Escape keeps the earlier folder",
         [](FolderDialogTest &t) { QTest::keyClick(&t.dialog, Qt::Key_Escape); },
         QStringLiteral("alpha")},
        {"OK on another folder takes it",
         [](FolderDialogTest &t) { t.chooseWithOk(t.path("beta")); }, QStringLiteral("beta")},
        {"Enter in the tree presses the default button OK",
         [](FolderDialogTest &t) {
             ASSERT_TRUE(t.dialog.selectPath(t.path("alpha/inner")));
             t.dialog.tree()->setFocus();
             QTest::keyClick(t.dialog.tree(), Qt::Key_Return);
         },
         QStringLiteral("alpha/inner")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString first =
            showAndEnd(QStringLiteral("Output Directory"), [&] { chooseWithOk(path("alpha")); });
        ASSERT_EQ(first, path("alpha"));

        const QString second = showAndEnd(QStringLiteral("string 32"), [&] { c.end(*this); });
        const QString expected = c.expected.isEmpty() ? QString() : path(c.expected);
        EXPECT_EQ(second, expected);
        EXPECT_EQ(dialog.result(), expected);
    }
}

TEST_F(FolderDialogTest, RightClickSelectsTheFolder)
{
    dialog.show();
    ASSERT_TRUE(dialog.selectPath(path("alpha"))); // opens the temporary folder
    QTreeView *tree = dialog.tree();
    const QModelIndex alpha = tree->currentIndex();
    const QModelIndex beta = alpha.siblingAtRow(alpha.row() + 1);
    ASSERT_EQ(beta.data().toString(), QStringLiteral("beta"));
    tree->scrollTo(beta);

    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualRect(beta).center());
    QTest::mouseClick(button("btn_ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), path("beta"));
}

TEST_F(FolderDialogTest, TheTreeHoldsFoldersButNoFilesOrHiddenFolders)
{
    struct Case {
        QString path;
        bool held;
    };
    const Case cases[] = {
        {path("alpha"), true},    {path("alpha/inner"), true}, {path("alpha/../beta"), true},
        {path(".hidden"), false}, {path("notes.txt"), false},  {path("missing"), false},
        {QDir::homePath(), true}, {QStringLiteral("/"), true}, {QString(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        dialog.tree()->clearSelection();
        EXPECT_EQ(dialog.selectPath(c.path), c.held);
        EXPECT_EQ(dialog.selectedPath(), c.held ? QDir::cleanPath(c.path) : QString());
    }
}

TEST_F(FolderDialogTest, AFolderMadeWhileTheDialogWasHiddenCanBeChosen)
{
    dialog.show();
    ASSERT_TRUE(dialog.selectPath(path("alpha"))); // the temporary folder is listed now
    dialog.hide();
    ASSERT_TRUE(QDir(root).mkdir(QStringLiteral("gamma")));

    dialog.show();
    EXPECT_EQ(dialog.selectedPath(), path("alpha")); // still where the user left it
    EXPECT_TRUE(dialog.selectPath(path("gamma")));
}

} // namespace
