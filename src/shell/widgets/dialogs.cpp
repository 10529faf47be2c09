#include "shell/widgets/dialogs.h"

NamedDialog::NamedDialog(const QString &objectName, const QString &title, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);
}
