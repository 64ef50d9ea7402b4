#include "views/orreryaccessible.h"

#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/solarsystemview.h"

#include <algorithm>

namespace heliora {

namespace {

    int bodyKey(const SolarSystemObject& body)
    {
        const auto planet = body.asPlanet();
        return planet ? static_cast<int>(indexOf(*planet)) + 1 : 0;
    }

} // namespace

OrreryAccessible::OrreryAccessible(SolarSystemView* view)
    : QAccessibleWidget(view, QAccessible::Pane)
{
}

OrreryAccessible::~OrreryAccessible()
{
    // The body interfaces are registered in Qt's cache, which would otherwise keep them after the view dies.
    for (const auto& [key, id] : m_children)
        QAccessible::deleteAccessibleInterface(id);
}

SolarSystemView* OrreryAccessible::view() const { return static_cast<SolarSystemView*>(widget()); }

int OrreryAccessible::childCount() const { return static_cast<int>(view()->currentLayout().bodies().size()); }

QAccessibleInterface* OrreryAccessible::child(int index) const
{
    const std::vector<SolarSystemObject> bodies = view()->currentLayout().bodies();
    if (index < 0 || index >= static_cast<int>(bodies.size()))
        return nullptr;
    return bodyInterface(bodies[static_cast<std::size_t>(index)]);
}

int OrreryAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* body = dynamic_cast<const OrreryBodyAccessible*>(child);
    if (!body)
        return -1;
    const std::vector<SolarSystemObject> bodies = view()->currentLayout().bodies();
    const auto it = std::find(bodies.begin(), bodies.end(), body->body());
    return it == bodies.end() ? -1 : static_cast<int>(it - bodies.begin());
}

QAccessibleInterface* OrreryAccessible::childAt(int x, int y) const
{
    const auto body = view()->bodyAt(view()->mapFromGlobal(QPoint(x, y)));
    return body ? bodyInterface(*body) : nullptr;
}

QAccessibleInterface* OrreryAccessible::focusChild() const
{
    const auto body = view()->focusedBody();
    return body && view()->hasFocus() ? bodyInterface(*body) : nullptr;
}

QString OrreryAccessible::text(QAccessible::Text t) const
{
    const QString own = QAccessibleWidget::text(t);
    return t == QAccessible::Name && own.isEmpty() ? heliora::text("solar_system_orrery") : own;
}

QAccessibleInterface* OrreryAccessible::bodyInterface(const SolarSystemObject& body) const
{
    return keptInterface(m_children, bodyKey(body), [&] { return new OrreryBodyAccessible(view(), body); });
}

OrreryBodyAccessible::OrreryBodyAccessible(SolarSystemView* view, const SolarSystemObject& body)
    : m_view(view)
    , m_body(body)
{
}

bool OrreryBodyAccessible::isValid() const { return m_view && !m_view->currentLayout().imageRect(m_body).isNull(); }

QObject* OrreryBodyAccessible::object() const { return nullptr; }

QWindow* OrreryBodyAccessible::window() const
{
    QAccessibleInterface* owner = parent();
    return owner ? owner->window() : nullptr;
}

QAccessibleInterface* OrreryBodyAccessible::focusChild() const { return nullptr; }

QAccessibleInterface* OrreryBodyAccessible::childAt(int, int) const { return nullptr; }

QAccessibleInterface* OrreryBodyAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface* OrreryBodyAccessible::child(int) const { return nullptr; }

int OrreryBodyAccessible::childCount() const { return 0; }

int OrreryBodyAccessible::indexOfChild(const QAccessibleInterface*) const { return -1; }

QString OrreryBodyAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? localizedName(m_body) : QString();
}

void OrreryBodyAccessible::setText(QAccessible::Text, const QString&) { }

QRect OrreryBodyAccessible::rect() const
{
    if (!m_view)
        return {};
    const QRectF local = m_view->bodyRect(m_body);
    return local.translated(m_view->mapToGlobal(QPointF(0, 0))).toAlignedRect();
}

QAccessible::Role OrreryBodyAccessible::role() const
{
    return isClickable() ? QAccessible::Button : QAccessible::Graphic;
}

QAccessible::State OrreryBodyAccessible::state() const
{
    QAccessible::State state;
    state.invisible = !m_view || !m_view->isVisible();
    state.focusable = isClickable();
    state.focused = state.focusable && m_view->hasFocus() && m_view->focusedBody() == m_body;
    return state;
}

void* OrreryBodyAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface && isClickable())
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList OrreryBodyAccessible::actionNames() const
{
    return isClickable() ? QStringList { pressAction() } : QStringList {};
}

void OrreryBodyAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && m_view)
        m_view->press(m_body);
}

QStringList OrreryBodyAccessible::keyBindingsForAction(const QString&) const { return {}; }

bool OrreryBodyAccessible::isClickable() const { return m_view && m_view->isClickable(m_body); }

QAccessibleInterface* orreryAccessibleFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(SolarSystemView::staticMetaObject.className()))
        return nullptr;
    if (auto* view = qobject_cast<SolarSystemView*>(object))
        return new OrreryAccessible(view);
    return nullptr;
}

} // namespace heliora
