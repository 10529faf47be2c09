#pragma once

#include <QString>

// Modal message boxes shown by the window; tests record the calls instead.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void warning(const QString &text) = 0;     // warning box, OK button
    virtual void information(const QString &text) = 0; // information box, OK button
    virtual bool question(const QString &text) = 0;    // Yes/No; true for Yes
    virtual void error(const QString &text) = 0;       // the application's error box
};
