#include "shell/commandstatetable.h"

#include <array>

namespace
{

// One line of the table: the item and its state in the rows A to E.
struct Line {
    const char *name;
    std::array<bool, 5> rows; // A empty, B rows, C selected, D preview, E converting
};

constexpr bool E = true;
constexpr bool o = false;

constexpr Line kLines[] = {
    {"AddFiles2", {E, E, E, o, o}},   {"AddFolder2", {E, E, E, o, o}},
    {"Properties1", {o, o, E, o, o}}, {"Remove1", {o, o, E, o, o}},
    {"Clear2", {o, E, E, o, o}},      {"Rename1", {o, o, E, o, o}},
    {"SelectAll1", {o, E, E, o, o}},  {"UnselectAll1", {o, E, E, o, o}},
    {"Convert2", {o, E, E, o, o}},    {"Pause1", {o, o, o, o, E}},
    {"Stop2", {o, o, o, o, E}},       {"bt_dvdopen", {E, E, E, o, o}},
    {"bt_ifo", {E, E, E, o, o}},      {"bt_remove", {o, o, E, o, o}},
    {"bt_clear", {o, E, E, o, o}},    {"bt_chapte", {o, E, E, o, o}},
    {"bt_set", {o, E, E, o, o}},      {"bt_back", {o, o, o, E, o}},
    {"bt_play", {o, o, E, o, o}},     {"bt_next", {o, o, o, E, o}},
    {"bt_playstop", {o, o, o, E, o}}, {"bt_playpause", {o, o, o, E, o}},
    {"bt_cut", {o, o, E, o, o}},      {"bt_images", {o, o, o, E, o}},
    {"bt_start", {o, E, E, o, o}},    {"Bt_Convertstop", {o, o, o, o, E}},
    {"bt_pause", {o, o, o, o, E}},
};

} // namespace

const QStringList &CommandStateTable::items()
{
    static const QStringList names = [] {
        QStringList list;
        for (const Line &line : kLines)
            list << QString::fromLatin1(line.name);
        return list;
    }();
    return names;
}

CommandStateTable::States CommandStateTable::compute(const Inputs &in)
{
    States s;
    const auto apply = [&s](int row) {
        for (const Line &line : kLines)
            s.enabled[QString::fromLatin1(line.name)] = line.rows[size_t(row)];
    };
    // Rows B and C never both apply; D and E go over whichever of A, B, C did.
    apply(!in.hasRows ? 0 : in.anySelected ? 2 : 1);
    if (in.previewPlaying)
        apply(3);
    if (in.converting) {
        apply(4);
        s.startShown = false;
        s.stopShown = true;
    } else if (in.settling) {
        for (auto it = s.enabled.begin(); it != s.enabled.end(); ++it)
            it.value() = false;
    }
    return s;
}
