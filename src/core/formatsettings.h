#pragma once

#include "core/choicelist.h"

#include <QStringList>

// The choices of the format settings dialog: live state that the profile
// selection fills and the command line reads for every row.
struct FormatSettings {
    ChoiceList cb_size{true};
    ChoiceList cb_videobitrate;
    ChoiceList cb_audiobitrate;
    ChoiceList cb_channel;

    // The finish choice `rg_finish`: its three captions and the chosen position.
    QStringList finishItems;
    int rg_finish = 0;

    FormatSettings();
    // Captions and items as the window starts with them (English).
    void setDesignedItems();
    void setQualityItems(const QStringList &video, const QStringList &audio);
    void setChannelItems(const QStringList &channels); // selects the second ("Stereo")
};

// Width and height of a picture size text: the width before the first "x", the
// height after it up to the first "(". A missing or non-numeric part gives 0.
int pictureWidth(const QString &text);
int pictureHeight(const QString &text);
