#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class JobList;
class TextLookup;
struct DvdTables;

// The audio and subtitle stream of each DVD row: the two lists show the streams
// of the selected row's information file with the row's choice, and a change
// stores the choice and the stream id in the row's DVD record.
class StreamChoice
{
public:
    struct Context {
        JobList &jobs;
        DvdTables &tables;
        const TextLookup &texts;
        // Refills a list and selects an item in it.
        std::function<void(const QStringList &items, int current)> showAudio;
        std::function<void(const QStringList &items, int current)> showSubtitles;
    };

    explicit StreamChoice(Context context);

    void fillStreamLists(int row);
    void cb_audioChange(int index);
    void cb_subtitleChange(int index);

    // The text before the first "(", empty when there is none.
    static QString streamNameOf(const QString &description);

private:
    Context m_c;
    QStringList m_audioTable;
    QStringList m_subtitleTable; // position 0 is No Subtitle
};
