#pragma once

#include "platform/inifile.h"

#include <QString>

#include <functional>
#include <memory>

class Edition;
class OutputFolderField;
class RememberedChoices;
class SkinObjects;
struct PickerState;
struct ProfileState;
struct QueueSettings;

// The settings file and the profile choices file, named after the executable and
// kept in the user's configuration folder.
class SettingsFiles
{
public:
    struct Context {
        const Edition &edition;
        QString configFolder;
        ProfileState &profile;
        PickerState &picker;
        QueueSettings &queue;
        OutputFolderField &outputField;
        RememberedChoices &remembered;
        SkinObjects &skin;
        std::function<void(int)> selectProfile;
        std::function<QString()> defaultOutputFolder;
    };

    explicit SettingsFiles(Context context);

    // "Convert" gives "Convert.ini", "my.video" gives "my.ini"; a trailing ".exe" is dropped first.
    static QString settingsFileName(const QString &exeFileName);
    static QString choicesFileName(const QString &exeFileName)
    {
        return QStringLiteral("pro ") + settingsFileName(exeFileName);
    }

    void LoadSettings();
    void SaveSettings();
    // The close query: saves, remembers the current profile's choices, and never refuses.
    bool closeQuery();

    IniFile *settingsFile() const { return m_settings.get(); }
    IniFile *choicesFile() const { return m_choices.get(); }

private:
    Context m_c;
    std::unique_ptr<IniFile> m_settings;
    std::unique_ptr<IniFile> m_choices;
};
