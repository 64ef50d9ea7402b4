#include "app/detailwindowcontroller.h"

#include "app/solarsystemobjectdetailview.h"
#include "strings/stringtable.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QVBoxLayout>

namespace heliora {

DetailWindowController::DetailWindowController(QWidget* rootView)
    : QWidget(nullptr, Qt::Window)
    , m_scrollArea(new QScrollArea(this))
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidget(rootView);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollArea);
    // The content has a fixed size; the window manager offers no resizing for it.
    setFixedSize(contentSize);

    // Windows without a window manager's title bar (and keyboard users) still need a way to close the window.
    auto* close = new QAction(this);
    close->setShortcuts(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

QWidget* DetailWindowController::rootView() const { return m_scrollArea->widget(); }

DetailWindowController* openDetailWindow(const SolarSystemObject& object)
{
    auto* controller = new DetailWindowController(new SolarSystemObjectDetailView(object));
    controller->setWindowTitle(localizedName(object));
    controller->show();
    return controller;
}

void deleteOpenDetailWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<DetailWindowController*>(window))
            delete window;
    }
}

} // namespace heliora
