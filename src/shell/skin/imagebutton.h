#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace skin
{

// A button drawn from pictures: normal, pointer over, pressed and disabled, with
// its label drawn as text over them, so captions can be translated.
class ImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ImageButton(QWidget *parent = nullptr);

    // Loads the three pictures of the layout file and the pressed one beside them
    // ("…down.bmp"); false, with nothing changed, when one of the three is missing.
    bool loadPictures(const QString &normal, const QString &over, const QString &disabled,
                      QString *missing = nullptr);

    // Where the label goes, relative to the button, and its colour; an empty
    // rectangle centres it on the whole button.
    void setLabelPlace(const QRect &rect, Qt::Alignment align = Qt::AlignCenter);
    void setLabelColor(const QColor &color) { m_labelColor = color; update(); }
    void setLabelPixelSize(int size);

    QSize sizeHint() const override;

signals:
    void entered();
    void left();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPixmap m_normal, m_over, m_down, m_disabled;
    QRect m_labelRect;
    Qt::Alignment m_labelAlign = Qt::AlignCenter;
    QColor m_labelColor = QColor(0x1f, 0x23, 0x28);
    bool m_over_ = false;
    bool m_keyboardFocus = false; // the ring shows for focus reached by keyboard
};

} // namespace skin
