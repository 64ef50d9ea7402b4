#pragma once

class QWidget;

namespace heliora {

/// Takes a widget and everything inside it out of what assistive technologies see: its parent's accessible
/// interface no longer lists it. For pictures that only decorate (the faded orrery behind the information tab,
/// the widget preview), which a screen reader would otherwise read as a second list of the Sun and the planets.
///
/// Call it before the parent is first shown or asked for its accessible interface: the parent's interface is
/// made once, when it is first needed, and only then learns which of its children are hidden. A parent with a
/// hidden child is presented as a plain pane (its own accessible name and description are kept).
void hideFromAccessibility(QWidget* widget);

/// True when hideFromAccessibility was called for the widget.
bool isHiddenFromAccessibility(const QWidget* widget);

} // namespace heliora
