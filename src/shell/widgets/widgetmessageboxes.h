#pragma once

#include "core/messageboxes.h"

#include <QPointer>
#include <QWidget>

// Message boxes over the main window.
class WidgetMessageBoxes : public MessageBoxes
{
public:
    explicit WidgetMessageBoxes(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void warning(const QString &text) override;
    void information(const QString &text) override;
    bool question(const QString &text) override;
    void error(const QString &text) override;

private:
    QPointer<QWidget> m_parent;
};
