#pragma once

#include <functional>

class JobList;
class MessageBoxes;
class PropertiesDialog;
class TextLookup;

// The properties command `Properties1Click` (menu item `Properties1`, Ctrl+T): the
// properties dialog for the first selected row, or a note that no row is selected.
class PropertiesCommand
{
public:
    struct Context {
        const JobList &jobs;
        MessageBoxes &boxes;
        TextLookup &texts;
        PropertiesDialog &dialog;
    };
    // Shows the filled dialog; modal when not given. A test looks at the dialog instead.
    using ShowDialog = std::function<void(PropertiesDialog &)>;

    explicit PropertiesCommand(Context context, ShowDialog show = {});

    void Properties1Click();

private:
    Context m_c;
    ShowDialog m_show;
};
