#include "shell/interfacestrings.h"

#include "core/edition.h"
#include "core/messageboxes.h"
#include "core/skinobjects.h"

#include <QFile>

InterfaceStrings::InterfaceStrings(Context context)
    : m_c(std::move(context)), m_lug(m_c.programFolder + QStringLiteral("/lug.ini"))
{
}

QString InterfaceStrings::LookUpText(const QString &section, const QString &key,
                                     const QString &def) const
{
    return m_lug.readString(section, key, def);
}

QString InterfaceStrings::LoadInterfaceString(int n)
{
    if (m_c.converting && m_c.converting() && n != 26)
        return {};
    const QString path = m_c.programFolder + QStringLiteral("/language.info");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_c.boxes.error(QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
        return {};
    }
    QString result;
    for (int lineNo = 1; !file.atEnd(); ++lineNo) {
        QByteArray raw = file.readLine();
        if (lineNo < n)
            continue;
        if (raw.endsWith('\n'))
            raw.chop(1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        result = QString::fromUtf8(raw);
        break;
    }
    if (n == 25)
        m_c.skin.SetStatusText(result + QLatin1Char(' ') + m_c.edition.exeBaseName() +
                               QLatin1Char('.'));
    else if (n < 25)
        m_c.skin.SetStatusText(result);
    return result;
}
