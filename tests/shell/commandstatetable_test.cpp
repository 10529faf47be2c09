#include "shell/commandstatetable.h"

#include <gtest/gtest.h>

namespace
{

QStringList enabledItems(const CommandStateTable::States &s)
{
    QStringList names;
    for (const QString &name : CommandStateTable::items())
        if (s.isEnabled(name))
            names << name;
    return names;
}

using Inputs = CommandStateTable::Inputs;

} // namespace

TEST(CommandStates, EachRowEnablesExactlyItsItems)
{
    const struct {
        const char *name;
        Inputs in;
        QStringList enabled;
        bool startShown;
    } cases[] = {
        {"an empty list: only the two ways of adding a DVD",
         {},
         {"AddFiles2", "AddFolder2", "bt_dvdopen", "bt_ifo"},
         true},
        {"rows, none selected",
         {.hasRows = true},
         {"AddFiles2", "AddFolder2", "Clear2", "SelectAll1", "UnselectAll1", "Convert2",
          "bt_dvdopen", "bt_ifo", "bt_clear", "bt_chapte", "bt_set", "bt_start"},
         true},
        {"a selected row",
         {.hasRows = true, .anySelected = true},
         {"AddFiles2", "AddFolder2", "Properties1", "Remove1", "Clear2", "Rename1", "SelectAll1",
          "UnselectAll1", "Convert2", "bt_dvdopen", "bt_ifo", "bt_remove", "bt_clear", "bt_chapte",
          "bt_set", "bt_play", "bt_cut", "bt_start"},
         true},
        {"a preview, whatever the selection: only the player's buttons",
         {.hasRows = true, .anySelected = true, .previewPlaying = true},
         {"bt_back", "bt_next", "bt_playstop", "bt_playpause", "bt_images"},
         true},
        {"a conversion: Stop in Start's place, with Pause",
         {.hasRows = true, .anySelected = true, .converting = true},
         {"Pause1", "Stop2", "Bt_Convertstop", "bt_pause"},
         false},
        {"a conversion goes over a preview",
         {.hasRows = true, .previewPlaying = true, .converting = true},
         {"Pause1", "Stop2", "Bt_Convertstop", "bt_pause"},
         false},
        {"a stopped encoder still finishing, or an import: nothing",
         {.hasRows = true, .anySelected = true, .settling = true},
         {},
         true},
    };
    for (const auto &c : cases) {
        const CommandStateTable::States s = CommandStateTable::compute(c.in);
        EXPECT_EQ(enabledItems(s), c.enabled) << c.name;
        EXPECT_EQ(s.startShown, c.startShown) << c.name;
        EXPECT_EQ(s.stopShown, !c.startShown) << c.name;
    }
}

TEST(CommandStates, EveryItemIsNamedOnce)
{
    QStringList items = CommandStateTable::items();
    EXPECT_EQ(items.removeDuplicates(), 0);
    EXPECT_FALSE(CommandStateTable::compute({}).isEnabled(QStringLiteral("no such item")));
}
