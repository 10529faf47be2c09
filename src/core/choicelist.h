#pragma once

#include <QObject>
#include <QStringList>

// The state of one list of the format settings dialog: its items, the selected
// position (or none), whether it is enabled, and the text its edit box shows. The
// dialog's combo boxes show this state; the command line reads it.
class ChoiceList : public QObject
{
    Q_OBJECT
public:
    explicit ChoiceList(bool editable = false, QObject *parent = nullptr);

    const QStringList &items() const { return m_items; }
    int count() const { return int(m_items.size()); }
    void clear();
    void addItem(const QString &text);
    void removeItem(int index);
    int indexOf(const QString &text) const { return int(m_items.indexOf(text)); }
    bool contains(const QString &text) const { return m_items.contains(text); }
    QString lastItem() const { return m_items.isEmpty() ? QString() : m_items.last(); }

    // -1 when nothing is selected. A position outside the list selects nothing
    // and empties the text.
    int selected() const { return m_selected; }
    void setSelected(int index);
    QString selectedItem() const;

    // What the box shows: the selected item, or what the user typed (editable list).
    QString text() const { return m_text; }
    // Typing into an editable list: a text equal to an item selects it.
    void setTypedText(const QString &text);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    bool isEditable() const { return m_editable; }

signals:
    void changed();

private:
    QStringList m_items;
    int m_selected = -1;
    QString m_text;
    bool m_enabled = true;
    bool m_editable = false;
};
