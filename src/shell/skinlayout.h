#pragma once

#include "platform/inifile.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class Edition;
class TextLookup;

// The skin layout file `Skin.ini` of the program folder: where each ordinary
// control on top of the skin goes, whether it is shown, the pictures of the image
// buttons, and values other parts read (menu places, bar widths, the help link).
// A missing file or key gives the caller's default; integer defaults are 6 unless
// the layout pass says otherwise.
class SkinLayout
{
public:
    explicit SkinLayout(QString programFolder);

    QString path() const { return m_ini.path(); }
    bool exists() const;

    int LayoutInt(const QString &section, const QString &key, int def) const;
    QString LayoutText(const QString &section, const QString &key, const QString &def) const;

    // One image button of the layout pass, in the pass's order.
    struct Button {
        QString name;
        std::optional<QRect> rect;         // absent: the form's place stays
        std::optional<bool> visible;       // absent: the layout file says nothing
        bool picturesAfterVisible = false; // the merge buttons read Visible first
        bool hasPictures = true;           // bt_set keeps the form's pictures
        QString normalPicture, overPicture, disabledPicture;
    };

    // Everything the layout pass applies, read at once; the window applies it in
    // order, and a missing picture ends the pass there.
    struct Plan {
        std::vector<Button> buttons;
        QRect cbAudio, cbSubtitle; // left, top, width; the height stays the form's
        int leftMoveInt = 6;
        QRect edOutput;
        QPoint panel1, plMain;
        int plLeft = 6, plTop = 6; // all nineteen profile panels
        QRect plPlay, lv;
        QString firstColumnCaption;
        // The title strip `pl_appname` with `img_name`: its place (height 24) and
        // picture, or nothing when the edition has no title picture (hidden then).
        std::optional<QRect> title;
        QString titlePicture;
    };

    // Nothing when the file is missing: the controls keep the form's places.
    std::optional<Plan> plan(const Edition &edition, const TextLookup &texts) const;

    // "images/<section>.bmp", "…on.bmp", "…D.bmp" below the program folder.
    QString picture(const QString &section, const QString &suffix) const;

private:
    QRect rectOf(const QString &section, int heightDefault = 6) const;
    QPoint pointOf(const QString &section) const;

    QString m_programFolder;
    IniFile m_ini;
};
