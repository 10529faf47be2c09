#pragma once

#include <QString>

class Edition;
class IniFile;
struct FormatSettings;

// Remembers, per profile, the positions chosen in the four lists of the format
// settings dialog, in the profile choices file (one section per profile number).
class RememberedChoices
{
public:
    RememberedChoices(const Edition &edition, FormatSettings &settings);

    // The file is opened with the settings; until then nothing is stored and
    // every restore gives the defaults.
    void setFile(IniFile *file) { m_file = file; }

    void storeProfileChoices(int profile);
    void restoreProfileChoices(int profile);

    // Default positions of a profile (size, video, audio, channel) in the
    // current edition; -1 where the key is not read.
    struct Rule {
        int file[4];
        int dvd[4];
        bool stored[4];
        bool known = false;
    };
    static Rule ruleFor(int profile);

private:
    const Edition &m_edition;
    FormatSettings &m_settings;
    IniFile *m_file = nullptr;
};
