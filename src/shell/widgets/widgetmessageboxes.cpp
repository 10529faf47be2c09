#include "shell/widgets/widgetmessageboxes.h"

#include <QApplication>
#include <QMessageBox>

namespace
{
QString title()
{
    return QApplication::applicationDisplayName();
}
} // namespace

void WidgetMessageBoxes::warning(const QString &text)
{
    QMessageBox::warning(m_parent, title(), text, QMessageBox::Ok);
}

void WidgetMessageBoxes::information(const QString &text)
{
    QMessageBox::information(m_parent, title(), text, QMessageBox::Ok);
}

bool WidgetMessageBoxes::question(const QString &text)
{
    return QMessageBox::question(m_parent, title(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void WidgetMessageBoxes::error(const QString &text)
{
    QMessageBox::critical(m_parent, title(), text, QMessageBox::Ok);
}
