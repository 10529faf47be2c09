#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's contents as one step: the data goes to a temporary file in
// the same folder, is flushed to the disk, and then renamed over the old file.
// Any failure (a full disk, a size limit, no rights) leaves the old file as it
// was and removes the temporary file.
bool writeFileAtomically(const QString &path, const QByteArray &data);
