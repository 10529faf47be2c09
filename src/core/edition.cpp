#include "core/edition.h"

bool Edition::isFileEdition() const
{
    return !lowerName().contains(QLatin1String("dvd"));
}

QString Edition::exeBaseName() const
{
    if (m_exeFileName.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return m_exeFileName.left(m_exeFileName.size() - 4);
    return m_exeFileName;
}

QString exeFileNameFromArgv0(const QString &argv0)
{
    const qsizetype slash = argv0.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? argv0 : argv0.mid(slash + 1);
}
