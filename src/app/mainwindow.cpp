#include "app/mainwindow.h"

#include "app/keyhint.h"
#include "artwork/artwork.h"
#include "clock/currentdate.h"
#include "clock/rotationstate.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/theme.h"

#include <QAction>
#include <QLayout>
#include <QToolBar>
#include <QToolButton>

namespace heliora {

MainWindow::MainWindow(RotationState& rotation, PlanetsView::OpenBody openBody, QMenuBar* menuBar, QWidget* parent)
    : QMainWindow(parent)
{
    if (menuBar)
        setMenuBar(menuBar);
    setWindowTitle(QStringLiteral("Heliora"));
    auto* view = new PlanetsView(rotation, std::move(openBody), this);
    view->setObjectName(QStringLiteral("planets_view"));
    setCentralWidget(view);
    // The black of the field reaches every edge, the toolbar's too.
    setPalette(blackFieldPalette(palette()));

    auto* toolbar = new QToolBar(this);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setVisible(false);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar->setStyleSheet(
        QStringLiteral("QToolBar { background: %1; border: none; padding: 6px 10px; }").arg(colors::field.name()));
    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    hideFromAccessibility(spacer);
    toolbar->addWidget(spacer);

    auto* resetKey = new QAction(this);
    resetKey->setShortcut(QKeySequence(Qt::Key_Home));
    resetKey->setShortcutContext(Qt::WindowShortcut);
    addAction(resetKey);
    connect(resetKey, &QAction::triggered, &rotation, [&rotation] { rotation.reset(currentDate()); });

    auto* reset = new QToolButton(this);
    reset->setObjectName(QStringLiteral("reset"));
    reset->setIcon(artwork::glyphIcon("gobackward", colors::white));
    reset->setIconSize(QSize(16, 16));
    reset->setText(heliora::text("reset"));
    nameControlWithKey(reset, heliora::text("reset"), resetKey->shortcut());
    reset->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    reset->setCursor(Qt::PointingHandCursor);
    // No keyboard focus: nothing may hold it unseen, and Home does what a focused button's Space would.
    reset->setFocusPolicy(Qt::NoFocus);
    reset->setStyleSheet(QStringLiteral("QToolButton { background: %1; color: %2; border: none;"
                                        " border-radius: 6px; padding: 4px 10px; }"
                                        "QToolButton:pressed { background: rgb(88, 88, 88); }")
                             .arg(colors::ring.name(), colors::white.name()));
    connect(reset, &QToolButton::clicked, resetKey, &QAction::trigger);
    toolbar->addWidget(reset);
    addToolBar(Qt::TopToolBarArea, toolbar);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Fix the size now, before a platform window exists: fixing it later, while the window is being shown,
    // makes platforms that cannot pass size hints to a window manager (offscreen) print a warning.
    ensurePolished();
    layout()->activate();
}

} // namespace heliora
