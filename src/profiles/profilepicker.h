#pragma once

#include <QPoint>
#include <QRect>
#include <QSet>
#include <QString>

#include <functional>

class Edition;
class MessageBoxes;
class TextLookup;
struct PickerState;
struct ProfileState;

// What the picker needs from its widgets: panels, buttons `btim_N`, the category
// images of `pl_main`, and the backdrop `pl_back` with the skin object `di`.
class PickerView
{
public:
    virtual ~PickerView() = default;

    // Panels by name: "pl_main", the category panels and the four sub-panels.
    virtual bool panelVisible(const QString &panel) const = 0;
    virtual void setPanelVisible(const QString &panel, bool visible) = 0;
    virtual QRect panelRect(const QString &panel) const = 0;
    virtual void movePanel(const QString &panel, const QPoint &topLeft) = 0;
    virtual void raisePanel(const QString &panel) = 0;
    // A panel shown alone: flat, with a single-line border.
    virtual void setPanelFlat(const QString &panel, bool flat) = 0;
    virtual void moveButton(int number, int top) = 0;

    // A picture from the program folder; false when it cannot be loaded.
    virtual bool showButtonPicture(int number, const QString &path, bool hovered) = 0;
    virtual bool showCategoryPicture(int category, const QString &path, bool hovered) = 0;

    virtual void placeBackdrop(bool visible, const QRect &rect) = 0;
    virtual void setPreviewVisible(bool visible) = 0;
};

// The profile picker: a column of thirteen categories, one panel of profile
// buttons per category and four sub-panels beside the first video page. Pointing
// opens panels and highlights buttons; a click chooses the profile. Keywords in
// the executable's name make it one fixed panel for single-category editions.
class ProfilePicker
{
public:
    struct Context {
        ProfileState &profile;
        PickerState &state;
        const Edition &edition;
        TextLookup &texts;
        MessageBoxes &boxes;
        PickerView &view;
        QString programFolder;
        std::function<bool()> converting;
        std::function<bool()> previewPlaying;
        std::function<void(int)> selectProfile;
        std::function<int()> leftMoveInt; // offset of the sub-panels beside pl_video1
    };

    // How the executable's name shapes the picker.
    enum class Kind { General, Single, PlainSingle, Audio, Closed };
    struct Shape {
        Kind kind = Kind::General;
        QString panel;
    };
    static Shape shapeFor(const QString &exeFileName);

    // The panel holding button N, the category of a panel, the sub-panel an
    // opener 2..5 opens; empty or -1 outside the tables.
    static QString panelOfButton(int number);
    static int categoryOfPanel(const QString &panel);
    static QString subPanelOfOpener(int opener);
    static QString categoryImage(int category);   // control name, "img_gvideo1"…
    static QString categoryPicture(int category); // picture name, "img_video1"…
    static QStringList allPanels();               // category panels and sub-panels
    static int firstButton(const QString &panel);
    static int lastButton(const QString &panel);

    // Which buttons take clicks and which react to the pointer.
    static bool takesClick(int number);
    static bool takesPointer(int number);

    explicit ProfilePicker(Context context);

    void HideProfilePanels();
    void openPicker();
    void placeBackdrop(bool visible, const QRect &rect);
    void unhighlightButton(int number);
    void unhighlightCategory(int category);

    // The pointer and click handlers of the picker's controls.
    void pointAtButton(int number);
    void pointAtBackdrop() { pointAtButton(109); }
    void pointAtCategory(int category);
    void clickButton(int number);
    void clickPageButton(const QString &name); // Image94, Image93, Image2, Image5

    // The start-up load: every button's normal picture, 1 to 132 in order.
    void loadAllButtonPictures();
    // The normal pictures of the thirteen category images, without opening anything.
    void loadCategoryPictures();

private:
    void hoverButton(int number);
    void showCategoryHover(int category);
    void openSubPanel(const QString &subPanel);
    void makeSingle(const QString &panel, int first, int last);
    int mirabelLeft() const;
    void reportMissing(const QString &path);

    Context m_c;
    bool m_reportedMissing = false;
};
