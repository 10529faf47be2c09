#pragma once

#include <QString>

// The executable's own name decides the edition: a name containing "dvd" (any
// letter case) works on DVDs, any other name on files. Links with other names
// therefore select other editions of the same program.
class Edition
{
public:
    const QString &exeFileName() const { return m_exeFileName; }
    void setExeFileName(const QString &name) { m_exeFileName = name; }

    bool isFileEdition() const;

    // The executable name without a trailing ".exe"; names of settings files and
    // the greeting are built from it.
    QString exeBaseName() const;

    // Lower-cased name for the keyword tests of profiles and layout.
    QString lowerName() const { return m_exeFileName.toLower(); }

private:
    QString m_exeFileName;
};

// File-name part of a path as the program was started (argv[0]).
QString exeFileNameFromArgv0(const QString &argv0);
