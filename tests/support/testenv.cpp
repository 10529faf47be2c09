#include "support/testenv.h"

namespace testenv
{
QString programDir()
{
    return QStringLiteral(MARLO_PROGRAM_DIR);
}
QString fixtureDir()
{
    return QStringLiteral(MARLO_FIXTURE_DIR);
}
QString sourceDir()
{
    return QStringLiteral(MARLO_SOURCE_DIR);
}
QString toolPath(const QString &name)
{
    return programDir() + QLatin1Char('/') + name;
}
} // namespace testenv
