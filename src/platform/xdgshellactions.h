#pragma once

#include "platform/shellactions.h"

// Shell actions of a freedesktop session: xdg-open and systemctl, started
// detached with argument vectors (never through a shell).
class XdgShellActions : public ShellActions
{
public:
    void openFolder(const QString &path) override;
    void openDocument(const QString &path) override;
    void powerOff() override;
};
