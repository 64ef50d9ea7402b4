#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QList>
#include <QObject>

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

} // namespace heliora::test
