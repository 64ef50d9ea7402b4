#include "views/accessibilityhidden.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace heliora {

namespace {

    constexpr char hiddenProperty[] = "heliora_accessibilityHidden";

    bool hasHiddenChild(const QWidget* widget)
    {
        for (const QObject* child : widget->children()) {
            if (child->isWidgetType() && isHiddenFromAccessibility(static_cast<const QWidget*>(child)))
                return true;
        }
        return false;
    }

    /// A pane that leaves its hidden children out of the tree. Qt's own interface lists every child widget;
    /// this one asks it for the children and skips the hidden ones.
    class PaneWithHiddenChildren : public QAccessibleWidget {
    public:
        explicit PaneWithHiddenChildren(QWidget* widget)
            : QAccessibleWidget(widget, QAccessible::Pane)
        {
        }

        int childCount() const override { return static_cast<int>(shownChildren().size()); }

        QAccessibleInterface* child(int index) const override
        {
            const QList<QAccessibleInterface*> shown = shownChildren();
            return index >= 0 && index < shown.size() ? shown[index] : nullptr;
        }

        int indexOfChild(const QAccessibleInterface* child) const override
        {
            return static_cast<int>(shownChildren().indexOf(const_cast<QAccessibleInterface*>(child)));
        }

        QAccessibleInterface* childAt(int x, int y) const override
        {
            const QList<QAccessibleInterface*> shown = shownChildren();
            for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
                if ((*it)->rect().contains(x, y))
                    return *it;
            }
            return nullptr;
        }

    private:
        QList<QAccessibleInterface*> shownChildren() const
        {
            QList<QAccessibleInterface*> shown;
            const int all = QAccessibleWidget::childCount();
            for (int i = 0; i < all; ++i) {
                QAccessibleInterface* child = QAccessibleWidget::child(i);
                if (!child)
                    continue;
                const QObject* object = child->object();
                if (object && object->isWidgetType() && isHiddenFromAccessibility(static_cast<const QWidget*>(object)))
                    continue;
                shown.append(child);
            }
            return shown;
        }
    };

    QAccessibleInterface* paneFactory(const QString& className, QObject* object)
    {
        // Asked once per class up the hierarchy; answering only for the object's own class leaves the widgets
        // whose base classes have interfaces of their own (labels, buttons) to Qt.
        if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
            return nullptr;
        auto* widget = static_cast<QWidget*>(object);
        return hasHiddenChild(widget) ? new PaneWithHiddenChildren(widget) : nullptr;
    }

} // namespace

void hideFromAccessibility(QWidget* widget)
{
    static const bool installed = (QAccessible::installFactory(paneFactory), true);
    Q_UNUSED(installed);
    if (widget)
        widget->setProperty(hiddenProperty, true);
}

bool isHiddenFromAccessibility(const QWidget* widget) { return widget && widget->property(hiddenProperty).toBool(); }

} // namespace heliora
