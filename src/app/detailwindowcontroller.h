#pragma once

#include "model/planet.h"

#include <QSize>
#include <QWidget>

class QScrollArea;

namespace heliora {

/// A top-level window that hosts one view (in Heliora always a fact view) in a scrolling area (object name
/// "scroll_area") whose content is 400 × 600. The window owns its view and itself: it is deleted when the user
/// closes it (Ctrl+W and Escape close it too). Every window is independent of the others and of the clock; the
/// application object opens them and deletes those still open when it ends.
class DetailWindowController : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize { 400, 600 };

    /// Takes ownership of the root view.
    explicit DetailWindowController(QWidget* rootView);

    /// A new fact window for the body, titled with its localized name, not yet shown.
    static DetailWindowController* forBody(const SolarSystemObject& object);

    QWidget* rootView() const;

private:
    QScrollArea* m_scrollArea;
};

} // namespace heliora
