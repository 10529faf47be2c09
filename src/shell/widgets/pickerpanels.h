#pragma once

#include "profiles/profilepicker.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <functional>

class QFrame;

// One picture of the picker with the text the program draws over it: a profile
// button, a category image, a page button or a filler. It reports pointing and
// clicks; what they do is the picker's business.
class PickerTile : public QWidget
{
    Q_OBJECT
public:
    enum class Role { Button, Category, Page, Filler };

    PickerTile(Role role, QWidget *parent);

    void setPicture(const QPixmap &picture, bool hovered);
    void setCaption(const QString &title, const QString &detail = {});
    void setMuted(bool muted) { m_muted = muted; update(); }
    // The picture carries an arrow at the right: the text keeps clear of it.
    void setArrow(bool arrow) { m_arrow = arrow; }
    bool hovered() const { return m_hovered; }
    QString title() const { return m_title; }

signals:
    void pointed();
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Role m_role;
    QPixmap m_picture;
    QString m_title, m_detail;
    bool m_hovered = false;
    bool m_muted = false;
    bool m_arrow = false;
    bool m_pressed = false;
};

// The picker's widgets on the main window: the category column `pl_main`, the
// nineteen panels of buttons `btim_N`, the page buttons and the backdrop
// `pl_back` with `Image13`. Pointing and clicks go to the picker.
class PickerPanels : public QObject, public PickerView
{
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 310;
    static constexpr int kSubPanelWidth = 311;
    static constexpr int kPanelHeight = 358;

    explicit PickerPanels(QWidget *window);

    void setPicker(ProfilePicker *picker) { m_picker = picker; }
    // The skin object `di` moves with the backdrop; the window knows the skin.
    std::function<void(bool, const QRect &)> onBackdrop;
    std::function<void(bool)> onPreviewVisible;

    void setButtonCaption(int number, const QString &title, const QString &detail, bool muted);
    void setCategoryCaption(int category, const QString &caption);
    void setPageCaption(const QString &page, const QString &caption);
    // Every panel at the layout's left and top; `pl_main` is placed by the window.
    void placePanels(int left, int top);

    QWidget *panel(const QString &name) const { return m_panels.value(name); }
    PickerTile *button(int number) const { return m_buttons.value(number); }
    PickerTile *category(int number) const { return m_categories.value(number); }

    // PickerView
    bool panelVisible(const QString &panel) const override;
    void setPanelVisible(const QString &panel, bool visible) override;
    QRect panelRect(const QString &panel) const override;
    void movePanel(const QString &panel, const QPoint &topLeft) override;
    void raisePanel(const QString &panel) override;
    void setPanelFlat(const QString &panel, bool flat) override;
    void moveButton(int number, int top) override;
    bool showButtonPicture(int number, const QString &path, bool hovered) override;
    bool showCategoryPicture(int category, const QString &path, bool hovered) override;
    void placeBackdrop(bool visible, const QRect &rect) override;
    void setPreviewVisible(bool visible) override;

private:
    QWidget *makePanel(const QString &name, int width);
    void buildCategoryColumn();
    void buildPanel(const QString &name);
    void restack();

    QWidget *m_window;
    ProfilePicker *m_picker = nullptr;
    QWidget *m_back = nullptr;
    QHash<QString, QWidget *> m_panels;
    QHash<int, PickerTile *> m_buttons;
    QHash<int, PickerTile *> m_categories;
    QHash<QString, PickerTile *> m_pages;
};
