#pragma once

#include <QString>

// What the desktop does for the program: open a folder or document, power off.
class ShellActions
{
public:
    virtual ~ShellActions() = default;
    virtual void openFolder(const QString &path) = 0;
    virtual void openDocument(const QString &path) = 0;
    virtual void powerOff() = 0;
};
