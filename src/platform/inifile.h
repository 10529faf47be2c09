#pragma once

#include <QString>

// An INI file read and written one key at a time, as the settings files expect:
// section and key names compare without regard to letter case, keys may hold
// blanks, the first occurrence of a key wins, and a missing file, section or key
// gives the caller's default. Every write reaches the disk at once through a
// temporary file that replaces the old one, so a crash never leaves half a file.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // A value that is not a decimal integer gives the default.
    int readInt(const QString &section, const QString &key, int def) const;
    // Stored as 1 and 0; any non-zero integer reads as true.
    bool readBool(const QString &section, const QString &key, bool def) const;

    // Returns false when the file could not be written; the old file then stays as it was.
    // A section, key or value holding a line break would not read back whole: it is
    // refused, and nothing is written.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInt(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);

    // The text fits on one line of the file: no line feed, no carriage return.
    static bool fitsOneLine(const QString &text);

private:
    QString m_path;
};
