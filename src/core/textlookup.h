#pragma once

#include <QString>

// The two replaceable string tables: texts by section and key, and numbered texts.
class TextLookup
{
public:
    virtual ~TextLookup() = default;
    virtual QString LookUpText(const QString &section, const QString &key,
                               const QString &def) const = 0;
    virtual QString LoadInterfaceString(int n) = 0;
};
