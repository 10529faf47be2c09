#include "shell/widgets/folderdialog.h"
#include "shell/widgets/propertiesdialog.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

TEST(DialogPlacement, EachShowingIsCentredOnTheOwnerWhereverItIsNow)
{
    struct Case {
        const char *name;
        std::function<std::unique_ptr<QDialog>(QWidget *)> make;
    };
    const Case cases[] = {
        {"Tfm_dir", [](QWidget *owner) { return std::make_unique<FolderDialog>(owner); }},
        {"Tfm_info", [](QWidget *owner) { return std::make_unique<PropertiesDialog>(owner); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        owner.resize(600, 500);
        owner.move(0, 0);
        owner.show();
        std::unique_ptr<QDialog> dialog = c.make(&owner);
        for (const QPoint ownerAt : {QPoint(0, 0), QPoint(150, 80), QPoint(20, 60)}) {
            owner.move(ownerAt);
            QApplication::processEvents();
            dialog->show();
            QApplication::processEvents();
            EXPECT_EQ(dialog->frameGeometry().center(), owner.frameGeometry().center());
            dialog->hide();
        }
    }
}

} // namespace
