#include "platform/inifile.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <optional>

namespace
{

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QString> sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

struct KeyLine {
    QString key;
    QString value;
};

std::optional<KeyLine> keyOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    return KeyLine{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool parseStrictInt(const QString &text, int &out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        out = v;
    return ok;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    bool inSection = false;
    for (const QString &line : readLines(m_path)) {
        if (auto s = sectionOf(line)) {
            inSection = sameName(*s, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = keyOf(line); k && sameName(k->key, key))
            return k->value;
    }
    return def;
}

int IniFile::readInt(const QString &section, const QString &key, int def) const
{
    int v = def;
    if (!parseStrictInt(readString(section, key, QString()), v))
        return def;
    return v;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInt(section, key, def ? 1 : 0) != 0;
}

bool IniFile::fitsOneLine(const QString &text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (!fitsOneLine(section) || !fitsOneLine(key) || !fitsOneLine(value))
        return false;
    QStringList lines = readLines(m_path);
    const QString newLine = key.trimmed() + QLatin1Char('=') + value;

    qsizetype sectionStart = -1; // line index of the first matching section header
    qsizetype sectionEnd = -1;   // one past the last line of that section
    bool replaced = false;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        if (auto s = sectionOf(lines[i])) {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = sameName(*s, section);
            if (inSection && sectionStart < 0)
                sectionStart = i;
            continue;
        }
        if (inSection) {
            if (auto k = keyOf(lines[i]); k && sameName(k->key, key)) {
                lines[i] = k->key + QLatin1Char('=') + value;
                replaced = true;
            }
        }
    }
    if (!replaced) {
        if (sectionStart < 0) {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(newLine);
        } else {
            if (sectionEnd < 0)
                sectionEnd = lines.size();
            // Keep blank lines that separate sections after the new key.
            qsizetype at = sectionEnd;
            while (at > sectionStart + 1 && lines[at - 1].trimmed().isEmpty())
                --at;
            lines.insert(at, newLine);
        }
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const QByteArray data = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return writeFileAtomically(m_path, data);
}

bool IniFile::writeInt(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeInt(section, key, value ? 1 : 0);
}
