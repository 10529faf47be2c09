#include "core/choicelist.h"

ChoiceList::ChoiceList(bool editable, QObject *parent) : QObject(parent), m_editable(editable) {}

void ChoiceList::clear()
{
    m_items.clear();
    m_selected = -1;
    m_text.clear();
    emit changed();
}

void ChoiceList::addItem(const QString &text)
{
    m_items.append(text);
    emit changed();
}

void ChoiceList::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    m_items.removeAt(index);
    if (m_selected == index) {
        m_selected = -1;
        m_text.clear();
    } else if (m_selected > index) {
        --m_selected;
    }
    emit changed();
}

void ChoiceList::setSelected(int index)
{
    if (index < 0 || index >= count()) {
        m_selected = -1;
        m_text.clear();
    } else {
        m_selected = index;
        m_text = m_items[index];
    }
    emit changed();
}

QString ChoiceList::selectedItem() const
{
    return m_selected >= 0 && m_selected < count() ? m_items[m_selected] : QString();
}

void ChoiceList::setTypedText(const QString &text)
{
    m_text = text;
    m_selected = int(m_items.indexOf(text));
    emit changed();
}

void ChoiceList::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    emit changed();
}
