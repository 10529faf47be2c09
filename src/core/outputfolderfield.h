#pragma once

#include <QString>

// The output folder edit box of the main window (`ed_output`).
class OutputFolderField
{
public:
    virtual ~OutputFolderField() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};
