#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QList>
#include <QObject>
#include <QStringList>

#include <string>
#include <vector>

namespace heliora::test {

/// Every accessible element below `root` (root included), as assistive technologies walk the tree: from parent
/// to child through child(i). Bounded in depth, so a cycle cannot hang a test.
inline QList<QAccessibleInterface*> accessibleTree(QObject* root, int maxDepth = 32)
{
    QList<QAccessibleInterface*> found;
    QList<std::pair<QAccessibleInterface*, int>> pending { { QAccessible::queryAccessibleInterface(root), 0 } };
    while (!pending.isEmpty()) {
        const auto [element, depth] = pending.takeLast();
        if (!element)
            continue;
        found.append(element);
        if (depth >= maxDepth)
            continue;
        for (int i = 0; i < element->childCount(); ++i)
            pending.append({ element->child(i), depth + 1 });
    }
    return found;
}

/// The objects behind the elements of accessibleTree(root).
inline QList<QObject*> accessibleObjects(QObject* root)
{
    QList<QObject*> objects;
    for (QAccessibleInterface* element : accessibleTree(root))
        objects.append(element->object());
    return objects;
}

/// What assistive technologies should not meet below a shown `root`, one line per fault: an element that is
/// hidden or has no area; a window, a control or a text without a name; a container with neither a name nor
/// children; a control whose description repeats its name. Closed menus are left alone: they stay in the tree, as
/// in every toolkit, so that their commands can be listed.
inline std::vector<std::string> exposureFaults(QObject* root)
{
    static const QList<QAccessible::Role> containers { QAccessible::Client, QAccessible::Pane, QAccessible::Grouping,
        QAccessible::LayeredPane, QAccessible::ToolBar, QAccessible::MenuBar, QAccessible::PageTabList };
    static const QList<QAccessible::Role> unnamed { QAccessible::Separator, QAccessible::ScrollBar };
    static const QList<QAccessible::Role> controls { QAccessible::Button, QAccessible::CheckBox,
        QAccessible::RadioButton, QAccessible::Link, QAccessible::PageTab, QAccessible::MenuItem };
    std::vector<std::string> faults;
    for (QAccessibleInterface* element : accessibleTree(root)) {
        bool inMenu = false;
        for (QAccessibleInterface* up = element; up && !inMenu; up = up->parent())
            inMenu = up->role() == QAccessible::PopupMenu;
        if (inMenu)
            continue;
        const QString name = element->text(QAccessible::Name);
        const QString description = element->text(QAccessible::Description);
        const std::string what
            = QStringLiteral("%1 \"%2\" (role %3)")
                  .arg(element->object() ? element->object()->objectName() : QStringLiteral("-"), name)
                  .arg(element->role())
                  .toStdString();
        if (element->state().invisible || element->rect().isEmpty())
            faults.push_back(what + ": hidden or without area");
        const bool structure
            = unnamed.contains(element->role()) || (containers.contains(element->role()) && element->childCount() > 0);
        if (name.isEmpty() && !structure)
            faults.push_back(what + ": no name");
        if (controls.contains(element->role()) && !name.isEmpty() && description.contains(name))
            faults.push_back(what + ": the description \"" + description.toStdString() + "\" repeats it");
    }
    return faults;
}

} // namespace heliora::test
