#pragma once

#include <QAccessible>

#include <functional>
#include <map>

class QLabel;
class QString;
class QWidget;

namespace heliora {

/// Installs, once, Heliora's accessible interfaces: what assistive technologies (AT-SPI on Linux) see where Qt's own
/// interfaces show too much or name too little.
/// - Only what is on screen: a plain widget, a tool bar or a stack of pages lists only the children that are not
///   hidden (a tab's page while another tab is shown, an overlay between its appearances, a tool bar's unused
///   extension button), not empty, and not taken out with hideFromAccessibility.
/// - A top-level plain widget is a window (AT-SPI role frame) named by its title, not an unnamed filler.
/// - A line (a QFrame that is a horizontal or vertical line) is a separator, not a frame.
/// - A tab bar lists its tabs; its scroll buttons only while they are shown.
/// - A BodyImage is a picture; a label given to presentAsLink is a link.
///
/// Call it before the first accessible interface is made: Qt makes each widget's interface once, when it is first
/// asked for, and keeps it. prepareApplication() calls it; so do the views that rely on it.
void installAccessibleInterfaces();

/// Takes a widget and everything inside it out of what assistive technologies see: its parent's accessible
/// interface no longer lists it. For pictures that only decorate (the faded orrery behind the information tab,
/// the widget preview, the small pictures beside the names of a list), which a screen reader would otherwise read
/// as a second list of the Sun and the planets. The parent must be a plain widget, a tool bar or a page stack.
void hideFromAccessibility(QWidget* widget);

/// True when hideFromAccessibility was called for the widget.
bool isHiddenFromAccessibility(const QWidget* widget);

/// Presents a rich-text label that holds links as one link to assistive technologies: role link, named `name` (the
/// whole line as one phrase, "Email: feedback@heliora.app"), and pressable. Its first action, press, opens the first
/// link as a click on it does; a line with further links ("Privacy Policy・Terms and Conditions") has one more action
/// for each, named with that link's text. Call it while the label is being built (it replaces an interface that Qt
/// made for the label before), in place of setAccessibleName.
void presentAsLink(QLabel* label, const QString& name);

/// The accessible interface kept under `key`, or else a new one from `make`, registered with Qt (which owns it) and
/// kept under `key`. For the children that an accessible interface makes itself: a tab bar's tabs, the orrery's
/// bodies. An interface that Qt has deleted since (its object went) is made anew.
QAccessibleInterface* keptInterface(
    std::map<int, QAccessible::Id>& kept, int key, const std::function<QAccessibleInterface*()>& make);

} // namespace heliora
