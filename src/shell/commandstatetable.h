#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Which commands of the window are enabled, from the state of the job list, the
// preview and the conversion. Rows apply one after another, a later one over an
// earlier one: the list is empty (A), has rows but no selection (B), has a selected
// row (C); then a preview plays (D); then a conversion runs (E). Last comes one row
// of our own: a stopped encoder still finishing its file, or files being probed
// into the list, enable nothing, so no run starts and the list keeps still.
class CommandStateTable
{
public:
    struct Inputs {
        bool hasRows = false;
        bool anySelected = false;
        bool previewPlaying = false;
        bool converting = false;
        bool settling = false; // a stopped encoder has not ended, or an import runs
    };

    struct States {
        QHash<QString, bool> enabled; // by the menu item's or the button's name
        bool startShown = true;       // `bt_start`
        bool stopShown = false;       // `Bt_Convertstop`, shown in its place
        bool isEnabled(const QString &name) const { return enabled.value(name, false); }
    };

    static States compute(const Inputs &in);
    // Every item of the table, in its order.
    static const QStringList &items();
};
