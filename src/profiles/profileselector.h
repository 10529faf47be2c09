#pragma once

#include <QString>

#include <functional>

class Edition;
class MessageBoxes;
class RememberedChoices;
class SkinObjects;
class TextLookup;
struct FormatSettings;
struct ProfileState;

// Makes a profile the active one: shows its description, remembers the choices of
// the profile being left, rebuilds the dialog's lists from the profile list file,
// restores the new profile's choices and refreshes the size estimates.
class ProfileSelector
{
public:
    struct Context {
        ProfileState &profile;
        FormatSettings &settings;
        RememberedChoices &remembered;
        const Edition &edition;
        const TextLookup &texts;
        MessageBoxes &boxes;
        SkinObjects &skin;
        QString programFolder;
        std::function<void()> recomputeOutputSizes;
    };

    explicit ProfileSelector(Context context);

    void selectProfile(int number);

    QString profileListPath() const;

private:
    void fillSizes(int number, const QString &line);
    void fillQualities(int number, const QString &line);

    Context m_c;
};
