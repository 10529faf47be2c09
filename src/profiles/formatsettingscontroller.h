#pragma once

#include <functional>

class MessageBoxes;
class RememberedChoices;
class TextLookup;
struct FormatSettings;
struct ProfileState;
struct QueueSettings;

// What the format settings dialog does besides showing its lists: the finish
// choice on show and OK, the stored positions on OK, and the size check.
class FormatSettingsController
{
public:
    struct Context {
        FormatSettings &settings;
        QueueSettings &queue;
        const ProfileState &profile;
        RememberedChoices &remembered;
        const TextLookup &texts;
        MessageBoxes &boxes;
        std::function<void()> recomputeOutputSizes;
    };

    explicit FormatSettingsController(Context context);

    void show();         // each time the dialog opens
    void Button1Click(); // OK; the window closes the dialog afterwards
    void Button2Click(); // Cancel: nothing is stored or undone
    void cb_sizeExit();  // the size box loses the focus

private:
    Context m_c;
};
