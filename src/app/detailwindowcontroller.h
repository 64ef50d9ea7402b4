#pragma once

#include "model/planet.h"

#include <QSize>
#include <QWidget>

class QScrollArea;

namespace heliora {

/// A top-level window that hosts one view (in Heliora always a fact view) in a scrolling area whose content
/// is 400 × 600. The window owns itself: it is deleted when the user closes it (Ctrl+W closes it too), and
/// nothing else keeps a pointer to it. Every window is independent of the others and of the main window.
class DetailWindowController : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize { 400, 600 };

    /// Takes ownership of the root view.
    explicit DetailWindowController(QWidget* rootView);

    QWidget* rootView() const;
    QScrollArea* scrollArea() const { return m_scrollArea; }

private:
    QScrollArea* m_scrollArea;
};

/// Opens a new fact window for the body, titled with its localized name, and shows it. Every call opens a
/// further window, also for a body whose window is already open. The result is not owned by the caller and is
/// valid only until the user closes that window.
DetailWindowController* openDetailWindow(const SolarSystemObject& object);

/// Deletes every fact window that is still open. They free themselves when closed, but windows still open when
/// the event loop ends are never closed; the application calls this after the loop, before it quits.
void deleteOpenDetailWindows();

} // namespace heliora
