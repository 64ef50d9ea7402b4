#include "app/mainwindow.h"

#include "app/planetsview.h"
#include "artwork/artwork.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "strings/stringtable.h"
#include "views/theme.h"

#include <QToolBar>
#include <QToolButton>

namespace heliora {

MainWindow::MainWindow(RotationState& rotation, QWidget* parent)
    : QMainWindow(parent)
    , m_view(new PlanetsView(rotation, this))
    , m_reset(new QToolButton(this))
{
    setWindowTitle(QStringLiteral("Heliora"));
    setCentralWidget(m_view);
    // The black of the field reaches every edge, the toolbar's too.
    setPalette(blackFieldPalette(palette()));

    auto* toolbar = new QToolBar(this);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setVisible(false);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar->setStyleSheet(QStringLiteral("QToolBar { background: black; border: none; padding: 6px 10px; }"));
    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);

    m_reset->setIcon(artwork::glyphIcon("gobackward", Qt::white));
    m_reset->setIconSize(QSize(16, 16));
    m_reset->setText(heliora::text("reset"));
    m_reset->setAccessibleName(heliora::text("reset"));
    m_reset->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_reset->setCursor(Qt::PointingHandCursor);
    m_reset->setStyleSheet(QStringLiteral("QToolButton { background: rgb(64, 64, 64); color: white; border: none;"
                                          " border-radius: 6px; padding: 4px 10px; }"
                                          "QToolButton:pressed { background: rgb(88, 88, 88); }"));
    connect(m_reset, &QToolButton::clicked, &rotation, [&rotation] { rotation.reset(currentDate()); });
    toolbar->addWidget(m_reset);
    addToolBar(Qt::TopToolBarArea, toolbar);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

bool MainWindow::openLink(const QString& link) { return m_view->openLink(link); }

} // namespace heliora
