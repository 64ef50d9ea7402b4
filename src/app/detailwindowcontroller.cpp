#include "app/detailwindowcontroller.h"

#include "app/solarsystemobjectdetailview.h"
#include "strings/stringtable.h"

#include <QAction>
#include <QScrollArea>
#include <QVBoxLayout>

namespace heliora {

DetailWindowController::DetailWindowController(QWidget* rootView)
    : QWidget(nullptr, Qt::Window)
    , m_scrollArea(new QScrollArea(this))
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_scrollArea->setObjectName(QStringLiteral("scroll_area"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidget(rootView);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollArea);
    // The content has a fixed size; the window manager offers no resizing for it.
    setFixedSize(contentSize);

    // Windows without a window manager's title bar (and keyboard users) still need a way to close the window:
    // the platform's Close keys (Ctrl+W) and Escape, as for a window that only shows information.
    auto* close = new QAction(this);
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    keys.append(QKeySequence(Qt::Key_Escape));
    close->setShortcuts(keys);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

DetailWindowController* DetailWindowController::forBody(const SolarSystemObject& object)
{
    auto* window = new DetailWindowController(new SolarSystemObjectDetailView(object));
    window->setWindowTitle(localizedName(object));
    return window;
}

QWidget* DetailWindowController::rootView() const { return m_scrollArea->widget(); }

} // namespace heliora
