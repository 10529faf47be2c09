#include "shell/widgets/theme.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace theme
{

void apply(QApplication &app)
{
    if (app.property("marloTheme").toBool())
        return;
    app.setProperty("marloTheme", true);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    app.setFont(font);

    const QColor window(0xf3, 0xf4, 0xf6), surface(Qt::white), text(0x1f, 0x23, 0x28),
        accent(0x24, 0x58, 0xd6), muted(0x54, 0x5b, 0x66);
    QPalette p = app.palette();
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, surface);
    p.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf8, 0xfa));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, surface);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0x23, 0x2b, 0x38));
    p.setColor(QPalette::ToolTipText, QColor(0xee, 0xf0, 0xf4));
    p.setColor(QPalette::PlaceholderText, muted);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8b, 0x91, 0x9a));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8b, 0x91, 0x9a));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8b, 0x91, 0x9a));
    app.setPalette(p);

    app.setStyleSheet(QStringLiteral(R"(
QTreeView#lv {
    background: #ffffff; alternate-background-color: #f7f8fa;
    border: 1px solid #d5d9e0; border-radius: 6px; outline: 0;
    selection-background-color: #2458d6; selection-color: #ffffff;
}
QTreeView#lv::item { height: 24px; }
QTreeView#lv::item:selected { background: #2458d6; color: #ffffff; }
QTreeView#lv QHeaderView::section {
    background: #f3f4f6; color: #545b66; border: none;
    border-bottom: 1px solid #d5d9e0; padding: 4px 6px; font-size: 11px;
}
QLineEdit#ed_output { background: transparent; border: none; color: #1f2328; }
QToolTip { border: 1px solid #232b38; padding: 4px; }
QDialog QPushButton {
    min-width: 72px; min-height: 26px; padding: 0 12px;
    border: 1px solid #c3c9d2; border-radius: 6px; background: #ffffff;
}
QDialog QPushButton:hover { background: #eef2fa; border-color: #aebfe3; }
QDialog QPushButton:pressed { background: #dde5f5; }
QDialog QPushButton:default { background: #2458d6; color: #ffffff; border-color: #2458d6; }
QDialog QPushButton:default:hover { background: #1d4bbd; }
QDialog QPushButton:focus { border: 2px solid #2458d6; }
QDialog QPushButton:disabled { color: #8b919a; background: #f3f4f6; }
QGroupBox {
    border: 1px solid #d5d9e0; border-radius: 6px; margin-top: 14px; padding: 12px 8px 8px 8px;
    background: #ffffff;
}
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: #1f2328; font-weight: bold; }
QComboBox, QLineEdit, QPlainTextEdit, QSpinBox {
    border: 1px solid #c3c9d2; border-radius: 4px; padding: 2px 6px; background: #ffffff; min-height: 20px;
}
QComboBox:focus, QLineEdit:focus, QPlainTextEdit:focus { border-color: #2458d6; }
QLineEdit:read-only { background: #f7f8fa; }
QTreeView#ShellTreeView1 { border: 1px solid #d5d9e0; border-radius: 4px; background: #ffffff; }
)"));
}

} // namespace theme
