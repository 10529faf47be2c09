#pragma once

#include <QDialog>

// The dialogs that live, hidden, for the whole run.
class NamedDialog : public QDialog
{
    Q_OBJECT
public:
    NamedDialog(const QString &objectName, const QString &title, QWidget *parent = nullptr);
};
