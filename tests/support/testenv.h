#pragma once

#include <QString>

// Where the tests find the staged program folder, the generated media and the sources.
namespace testenv
{
QString programDir(); // build tree's program folder: the executable, tools and data
QString fixtureDir(); // generated clips and the test DVD
QString sourceDir();  // the repository
QString toolPath(const QString &name); // programDir() + "/" + name
} // namespace testenv
