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

// Texts the program places into lists ("No Video", the source-quality items, the
// added-row status): section "Add", keyed by the English text. Special list items
// are recognised later by this same text.
inline QString addText(const TextLookup &texts, const QString &english)
{
    return texts.LookUpText(QStringLiteral("Add"), english, english);
}
