#include "shell/captions.h"

#include "core/formatsettings.h"
#include "core/textlookup.h"

#include <QStringList>

namespace captions
{

const std::vector<CaptionEntry> &table()
{
    using K = CaptionEntry;
    static const std::vector<CaptionEntry> entries = {
        {"File", "Add File", "&Add File(A)", "AddFiles2"},
        {"File", "Add Folder", "A&dd Folder(D)", "AddFolder2"},
        {"File", "Properties", "Proper&ties(T)", "Properties1"},
        {"File", "RunBackground", "Run Back&ground(G)", "RunBackground1"},
        {"File", "Exit", "E&xit(X)", "Exit2"},
        {"Edit", "Remove", "&Remove(R)", "Remove1"},
        {"Edit", "Clear", "&Clear(C)", "Clear2"},
        {"Edit", "Rename", "Re&name(N)", "Rename1"},
        {"Edit", "SelectAll", "Select A&ll(L)", "SelectAll1"},
        {"Edit", "UnselectAll", "&Unselect All(U)", "UnselectAll1"},
        {"Actions", "Convert", "Con&vert(V)", "Convert2"},
        {"Actions", "Pause", "&Pause(P)", "Pause1"},
        {"Actions", "Stop", "&Stop(S)", "Stop2"},
        {"Tools", "settings", "Sett&ings(I)", "settings"},
        {"Help", "help", "&Help(H)", "Help1"},
        {"Help", "AboutMarloClipmill", "About Marlo Video Converter", "About1"},
        {"lv", "Columns1", "File Name", "lv#0"},
        {"lv", "Columns2", "Width * Height", "lv#1"},
        {"lv", "Columns3", "Time", "lv#2"},
        {"lv", "Columns4", "Output Size", "lv#3"},
        {"lv", "Columns5", "Status", "lv#4"},
        {"Settings", "Format Settings", "Format Settings", "GroupBox1"},
        {"Settings", "Video Size:", "Video Size:", "Label1"},
        {"Settings", "Video Quality:", "Video Quality:", "Label2"},
        {"Settings", "Channel:", "Channel:", "Label3"},
        {"Settings", "Audio Quality:", "Audio Quality:", "Label4"},
        {"Settings", "Output Settings", "Output Settings", "rg_finish"},
        {"Settings", "OK", "OK", "Button1"},
        {"Settings", "Cancel", "Cancel", "Button2"},
        {"Settings", "OK", "OK", "btn_ok"},
        {"Settings", "Cancel", "Cancel", "btn_cancel"},
        {"Cutlv", "Columns1", "File Name", "Cutlv#0"},
        {"Cutlv", "Columns2", "Begin Time", "Cutlv#1"},
        {"Cutlv", "Columns3", "End Time", "Cutlv#2"},
        {"Hint", "Open", "Open DVD", "bt_dvdopen", K::ToolTip},
        {"Hint", "IFO", "Open IFO", "bt_ifo", K::ToolTip},
        {"Hint", "Remove", "Remove Files", "bt_remove", K::ToolTip},
        {"Hint", "Clear", "Clear file list", "bt_clear", K::ToolTip},
        {"Hint", "Settings", "Settings", "bt_set", K::ToolTip},
        {"Hint", "Chapte", "Show Chapte", "bt_chapte", K::ToolTip},
        {"Hint", "Pause", "Pause", "bt_playpause", K::ToolTip},
        {"Hint", "back", "back", "bt_back", K::ToolTip},
        {"Hint", "play", "play", "bt_play", K::ToolTip},
        {"Hint", "Next", "Forward", "bt_next", K::ToolTip},
        {"Hint", "stopplay", "Stop Play", "bt_playstop", K::ToolTip},
        {"Hint", "Cut", "Cut", "bt_cut", K::ToolTip},
        {"Hint", "images", "save images", "bt_images", K::ToolTip},
        {"Hint", "start", "Start conversion", "bt_start", K::ToolTip},
        {"Hint", "Stopconvert", "Stop conversion", "Bt_Convertstop", K::ToolTip},
        {"info", "Properties", "Properties", "Tfm_info"},
        {"info", "Basic Info", "Basic Info", "GroupBox_info1"},
        {"info", "Basic Info", "Basic Info", "GroupBox_info2"},
        {"info", "Basic Info", "Basic Info", "GroupBox_info3"},
        {"info", "Duration:", "Duration:", "lb_duration"},
        {"info", "Bit Rate:", "Bit Rate:", "lb_videobitrate"},
        {"info", "Bit Rate:", "Bit Rate:", "lb_audiobitrate"},
        {"info", "Format:", "Format:", "lb_videoformat"},
        {"info", "Format:", "Format:", "lb_audioformat"},
        {"info", "Resolution:", "Resolution:", "lb_resolution"},
        {"info", "Frame Rate:", "Frame Rate:", "lb_framerate"},
        {"info", "Sample Rate:", "Sample Rate:", "lb_samplerate"},
        {"info", "Channels:", "Channels:", "lb_channels"},
    };
    return entries;
}

QString lookUp(const TextLookup &texts, const CaptionEntry &entry)
{
    return texts.LookUpText(QString::fromUtf8(entry.section), QString::fromUtf8(entry.key),
                            QString::fromUtf8(entry.english));
}

namespace
{

QStringList lookUpAll(const TextLookup &texts, const char *section,
                      std::initializer_list<const char *> keys)
{
    QStringList out;
    for (const char *k : keys) {
        const QString key = QString::fromUtf8(k);
        out.append(texts.LookUpText(QString::fromUtf8(section), key, key));
    }
    return out;
}

} // namespace

void applyListCaptions(const TextLookup &texts, FormatSettings &settings)
{
    settings.finishItems = lookUpAll(texts, "Output Settings",
                                     {"Do nothing after conversion finished",
                                      "Open the target folder after conversion finished",
                                      "Automatically shut down after conversion finished"});
    const auto qualities = {"Higher Quality", "High Quality", "Normal", "Low Quality",
                            "Lower Quality"};
    settings.setQualityItems(lookUpAll(texts, "Video Quality", qualities),
                             lookUpAll(texts, "Audio Quality", qualities));
    settings.setChannelItems(lookUpAll(texts, "channel", {" Mono", "Stereo"}));
}

} // namespace captions
