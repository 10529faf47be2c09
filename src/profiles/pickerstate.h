#pragma once

// What the profile picker shows: which of the two video and audio pages comes
// first, and the highlighted profile button.
struct PickerState {
    bool videoPageFirst = true;
    bool audioPageFirst = true;
    int highlightedButton = -1;
};
