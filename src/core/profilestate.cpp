#include "core/profilestate.h"

QString extensionOfDescription(const QString &description)
{
    const qsizetype star = description.indexOf(QLatin1Char('*'));
    if (star < 0 || description.size() - star - 2 <= 0)
        return {};
    return description.mid(star + 1, description.size() - star - 2);
}

QString ProfileState::profileExtension() const
{
    return extensionOfDescription(profileDescription);
}
