#pragma once

#include <QString>

// Where the program finds its installation data and keeps its settings.
namespace paths
{

// Folder of the resolved running executable, without trailing separator.
QString programFolder();

// $XDG_CONFIG_HOME/marlo-video-converter (default ~/.config/marlo-video-converter).
QString configFolder();

// The user's videos folder + "/My Video/".
QString defaultOutputFolder();

} // namespace paths
