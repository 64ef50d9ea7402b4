#pragma once

#include "model/planet.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

namespace heliora {

class SolarSystemView;

/// What assistive technologies see of the orrery: a pane named "Solar system" (in the user's language, unless the
/// view has an accessible name of its own) whose children are the Sun and the planets shown, in that order; its
/// focus child is the body with keyboard focus. The children live in Qt's accessibility cache; this interface owns
/// them and drops them when the view goes away.
class OrreryAccessible : public QAccessibleWidget {
public:
    explicit OrreryAccessible(SolarSystemView* view);
    ~OrreryAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;

    /// The interface of one body, created on first use and then kept.
    QAccessibleInterface* bodyInterface(const SolarSystemObject& body) const;

private:
    SolarSystemView* view() const;

    mutable std::map<int, QAccessible::Id> m_children; ///< by body: 0 for the Sun, 1 + index for a planet
};

/// One body of the orrery: a button with a press action when its callback is set (focusable, and focused while it
/// has keyboard focus), a picture otherwise. Named with the body's localized name; its rectangle is the drawn
/// picture.
class OrreryBodyAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    OrreryBodyAccessible(SolarSystemView* view, const SolarSystemObject& body);

    SolarSystemObject body() const { return m_body; }

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    bool isClickable() const;

    QPointer<SolarSystemView> m_view;
    SolarSystemObject m_body;
};

/// The factory that gives every SolarSystemView an OrreryAccessible; installAccessibleInterfaces() installs it.
QAccessibleInterface* orreryAccessibleFactory(const QString& className, QObject* object);

} // namespace heliora
