#pragma once

#include "shell/skin/windowdrag.h"

#include "shell/skin/skindefinition.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

namespace skin
{

// The facets a skin object offers. An object gives each facet its kind supports.
class SkinBoxFacet
{
public:
    virtual ~SkinBoxFacet() = default;
    virtual QRect rect() const = 0;
    virtual void setRect(const QRect &rect) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void redraw() = 0;
};

class SkinTextFacet
{
public:
    virtual ~SkinTextFacet() = default;
    virtual void setText(const QString &text) = 0;
};

class SkinSliderFacet
{
public:
    virtual ~SkinSliderFacet() = default;
    static constexpr int kMax = 10000;
    virtual int position() const = 0; // 0..10000
    virtual void setPosition(int position) = 0;
};

class SkinnedWindow;

// One named object of a skinned window.
class SkinObject final : public SkinBoxFacet, public SkinTextFacet, public SkinSliderFacet
{
public:
    SkinObject(SkinnedWindow &window, ObjectDef def);

    const QString &name() const { return m_def.name; }
    const ObjectDef &definition() const { return m_def; }

    SkinBoxFacet *box() { return this; }
    SkinTextFacet *textFacet() { return m_def.kind == ObjectKind::Slider ? nullptr : this; }
    SkinSliderFacet *slider() { return m_def.kind == ObjectKind::Slider ? this : nullptr; }

    QRect rect() const override { return m_rect; }
    void setRect(const QRect &rect) override;
    void setVisible(bool visible) override;
    void redraw() override;
    void setText(const QString &text) override;
    int position() const override { return m_position; }
    void setPosition(int position) override;

    const QString &text() const { return m_text; }
    bool isVisible() const { return m_visible; }
    bool isEnabled() const { return m_enabled; }
    // A disabled button shows its disabled picture and is not clicked.
    void setEnabled(bool enabled);

private:
    friend class SkinnedWindow;
    SkinnedWindow &m_window;
    ObjectDef m_def;
    QRect m_rect;
    QString m_text;
    bool m_visible = true;
    bool m_enabled = true;
    int m_position = 0;
    QPixmap m_normal, m_over, m_down, m_disabled, m_picture;
};

// The skin's face of one window: a surface over the whole client area, below
// every ordinary control, which paints the form and reports pointer events by
// object.
class SkinnedWindow : public QWidget
{
    Q_OBJECT
public:
    SkinnedWindow(QWidget *window, const SkinDef &skin, const QString &folder);

    const QString &formName() const { return m_form.name; }
    QSize formSize() const { return m_form.size; }
    // The object of that name, or nothing; names are compared whole and with case.
    SkinObject *FindObject(const QString &name) const;
    const std::vector<std::unique_ptr<SkinObject>> &objects() const { return m_objects; }

    // Gives the window a form of the skin; the same form again changes nothing.
    void applyForm(const FormDef &form);

    // The object the pointer is over: the topmost shown one there.
    SkinObject *objectAt(const QPoint &pos) const;
    bool isShown(const SkinObject &object) const;

signals:
    void OnClick(skin::SkinObject *source);
    void OnMouseDown(skin::SkinObject *source, Qt::MouseButton button, int x, int y);
    void OnMouseMove(skin::SkinObject *source, int x, int y);
    void OnMouseUp(skin::SkinObject *source, Qt::MouseButton button, int x, int y);
    void OnScrollTrack(skin::SkinObject *source, int newPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    friend class SkinObject;
    void update(const QRect &area) { QWidget::update(area.adjusted(-1, -1, 1, 1)); }
    void paintObject(QPainter &p, const SkinObject &o) const;
    void trackSlider(SkinObject &o, int x);
    void setHover(SkinObject *o);
    void loadPictures();

    QString m_folder;
    QString m_font;
    FormDef m_form;
    QPixmap m_background;
    std::vector<std::unique_ptr<SkinObject>> m_objects;
    SkinObject *m_hover = nullptr;
    SkinObject *m_pressed = nullptr;
    WindowDrag m_drag; // the form's drag area moves the window
};

// The skin engine: loads a skin file and gives windows its forms.
class SkinEngine : public QObject
{
    Q_OBJECT
public:
    explicit SkinEngine(QObject *parent = nullptr);

    // False when the file cannot be read; errorString() says why.
    bool OpenSkinFile(const QString &path);
    QString errorString() const { return m_error; }
    const SkinDef *skin() const { return m_skin ? &*m_skin : nullptr; }

    // Skins a window with the default form, or a named one. Nothing when no skin
    // is open or the form is unknown (errorString() says so).
    SkinnedWindow *SkinWindow(QWidget *window);
    SkinnedWindow *SkinWindowAs(QWidget *window, const QString &form);
    SkinnedWindow *SkinnedWindowOf(QWidget *window) const;

signals:
    // The events of every skinned window, by object.
    void OnClick(skin::SkinObject *source);
    void OnMouseDown(skin::SkinObject *source, Qt::MouseButton button, int x, int y);
    void OnMouseMove(skin::SkinObject *source, int x, int y);
    void OnMouseUp(skin::SkinObject *source, Qt::MouseButton button, int x, int y);
    void OnScrollTrack(skin::SkinObject *source, int newPosition);

private:
    std::optional<SkinDef> m_skin;
    QString m_folder;
    QString m_error;
    std::vector<QPointer<SkinnedWindow>> m_windows;
};

} // namespace skin
