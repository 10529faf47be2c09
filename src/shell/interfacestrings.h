#pragma once

#include "core/textlookup.h"
#include "platform/inifile.h"

#include <functional>

class Edition;
class MessageBoxes;
class SkinObjects;

// The replaceable texts: `lug.ini` by section and key with the English default,
// and `language.info` by line number. Numbers up to 25 are status-line help and
// are written to the status line as they are read.
class InterfaceStrings : public TextLookup
{
public:
    struct Context {
        QString programFolder;
        const Edition &edition;
        SkinObjects &skin;
        MessageBoxes &boxes;
        std::function<bool()> converting;
    };

    explicit InterfaceStrings(Context context);

    QString LookUpText(const QString &section, const QString &key,
                       const QString &def) const override;
    QString LoadInterfaceString(int n) override;

private:
    Context m_c;
    IniFile m_lug;
};
