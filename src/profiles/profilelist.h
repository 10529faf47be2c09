#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The lines of one profile's group in the profile list file: group N holds
// lines 4N-3 .. 4N; line 1 is a label, 2 the sizes, 3 the video bit rates,
// 4 the encoder options.
struct ProfileGroup {
    bool opened = false;
    std::optional<QString> sizes;
    std::optional<QString> videoRates;
    std::optional<QString> options;
};

// Reads up to line 4 of group `number` and no further; lines the file does not
// reach stay empty.
ProfileGroup readProfileGroup(const QString &path, int number);

// Items separated by single blanks. An empty item ends the list and is not
// taken, and a final item of one character is dropped.
QStringList splitProfileItems(const QString &line);
