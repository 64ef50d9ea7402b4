#include "views/theme.h"

namespace heliora {

QPalette darkPalette()
{
    // Greys close to a dark desktop's window, control and text colours; white text at a little under full
    // brightness reads better on a dark field than pure white.
    const QColor window(30, 30, 30);
    const QColor text(232, 232, 232);
    const QColor disabledText(110, 110, 112);
    const QColor button(58, 58, 60);
    const QColor accent(10, 132, 255);

    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(22, 22, 22));
    p.setColor(QPalette::AlternateBase, QColor(44, 44, 46));
    p.setColor(QPalette::ToolTipBase, QColor(44, 44, 46));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, colors::gray);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, QColor(242, 242, 242));
    p.setColor(QPalette::BrightText, QColor(255, 69, 58));
    p.setColor(QPalette::Light, QColor(84, 84, 88));
    p.setColor(QPalette::Midlight, QColor(68, 68, 70));
    p.setColor(QPalette::Mid, QColor(52, 52, 54));
    p.setColor(QPalette::Dark, QColor(18, 18, 18));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(77, 163, 255));
    p.setColor(QPalette::LinkVisited, QColor(191, 155, 255));

    p.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(44, 44, 46));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(72, 72, 74));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, disabledText);
    return p;
}

QPalette blackFieldPalette(QPalette base)
{
    base.setColor(QPalette::Window, colors::field);
    return base;
}

} // namespace heliora
