#pragma once

#include <QString>

#include <vector>

class TextLookup;
struct FormatSettings;

// One caption, hint or menu text that the window takes from the interface strings.
struct CaptionEntry {
    const char *section;
    const char *key;
    const char *english;
    const char *target; // object name of the control; "lv#N" for column N of a list
    enum Kind { Text, ToolTip } kind = Text;
};

namespace captions
{

// Everything the start-up pass applies to named controls, in order.
const std::vector<CaptionEntry> &table();

// The texts of the table as looked up now.
QString lookUp(const TextLookup &texts, const CaptionEntry &entry);

// The items of the quality, channel and finish lists of the format settings dialog.
void applyListCaptions(const TextLookup &texts, FormatSettings &settings);

} // namespace captions
