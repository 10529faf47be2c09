#include "profiles/rememberedchoices.h"

#include "core/choicelist.h"
#include "core/edition.h"
#include "core/formatsettings.h"
#include "platform/inifile.h"

#include <array>
#include <initializer_list>

namespace
{

constexpr int kNotRead = -1;

struct Range {
    int from;
    int to;
};

struct TableRow {
    std::initializer_list<Range> profiles;
    std::array<int, 4> file;
    std::array<int, 4> dvd;
    std::array<bool, 4> stored;
};

constexpr int N = kNotRead;
constexpr std::array<bool, 4> kAll = {true, true, true, true};
constexpr std::array<bool, 4> kAudioOnly = {false, false, true, true};
constexpr std::array<bool, 4> kNone = {false, false, false, false};

const std::array<TableRow, 13> &table()
{
    static const std::array<TableRow, 13> rows = {{
        {{{1, 1}, {112, 114}}, {0, 5, 5, 1}, {0, 2, 2, 1}, kAll},
        {{{2, 3}, {5, 6}, {10, 13}, {102, 108}, {125, 130}}, {4, 5, 5, 1}, {4, 2, 2, 1}, kAll},
        {{{4, 4}, {110, 110}}, {5, 5, 5, 1}, {2, 2, 2, 1}, kAll},
        {{{7, 7}, {14, 14}}, {1, 5, 5, 1}, {1, 2, 2, 1}, kAll},
        {{{8, 9}, {111, 111}}, {2, 5, 5, 1}, {2, 2, 2, 1}, kAll},
        {{{15, 25}, {71, 71}, {80, 80}}, {N, N, 2, 1}, {N, N, 2, 1}, kAudioOnly},
        {{{27, 32},
          {34, 39},
          {41, 44},
          {46, 51},
          {53, 54},
          {56, 57},
          {60, 60},
          {70, 70},
          {72, 73},
          {75, 76},
          {78, 79},
          {81, 81},
          {86, 88},
          {115, 116}},
         {0, 2, 2, 1},
         {0, 2, 2, 1},
         kAll},
        {{{33, 33}, {40, 40}, {45, 45}, {59, 59}}, {N, N, 2, 1}, {N, N, 2, 1}, kNone},
        {{{55, 55}, {58, 58}, {61, 66}, {68, 68}, {91, 97}}, {2, 2, 2, 1}, {2, 2, 2, 1}, kAll},
        {{{69, 69}, {77, 77}, {83, 85}, {89, 89}}, {1, 2, 2, 1}, {1, 2, 2, 1}, kAll},
        {{{99, 100}}, {4, 2, 2, 1}, {4, 2, 2, 1}, kAll},
        {{{118, 123}}, {5, 2, 2, 1}, {2, 2, 2, 1}, kAll},
        {{{131, 131}}, {N, N, N, N}, {4, 2, 2, 1}, kNone},
    }};
    return rows;
}

const QString kKeys[4] = {QStringLiteral("size"), QStringLiteral("video bitrate"),
                          QStringLiteral("audio bitrate"), QStringLiteral("Channel")};

ChoiceList &listAt(FormatSettings &s, int i)
{
    switch (i) {
    case 0:
        return s.cb_size;
    case 1:
        return s.cb_videobitrate;
    case 2:
        return s.cb_audiobitrate;
    default:
        return s.cb_channel;
    }
}

} // namespace

RememberedChoices::RememberedChoices(const Edition &edition, FormatSettings &settings)
    : m_edition(edition), m_settings(settings)
{
}

RememberedChoices::Rule RememberedChoices::ruleFor(int profile)
{
    Rule rule{{N, N, N, N}, {N, N, N, N}, {false, false, false, false}, false};
    for (const TableRow &row : table()) {
        for (const Range &r : row.profiles) {
            if (profile >= r.from && profile <= r.to) {
                for (int i = 0; i < 4; ++i) {
                    rule.file[i] = row.file[size_t(i)];
                    rule.dvd[i] = row.dvd[size_t(i)];
                    rule.stored[i] = row.stored[size_t(i)];
                }
                rule.known = true;
                return rule;
            }
        }
    }
    return rule;
}

void RememberedChoices::storeProfileChoices(int profile)
{
    if (!m_file)
        return;
    const Rule rule = ruleFor(profile);
    const QString section = QString::number(profile);
    for (int i = 0; i < 4; ++i)
        if (rule.stored[i])
            m_file->writeInt(section, kKeys[i], listAt(m_settings, i).selected());
}

void RememberedChoices::restoreProfileChoices(int profile)
{
    const Rule rule = ruleFor(profile);
    const int *defaults = m_edition.isFileEdition() ? rule.file : rule.dvd;
    const QString section = QString::number(profile);
    for (int i = 0; i < 4; ++i) {
        if (defaults[i] == kNotRead)
            continue;
        const int position = m_file ? m_file->readInt(section, kKeys[i], defaults[i]) : defaults[i];
        listAt(m_settings, i).setSelected(position);
    }
}
