#include "app/settingswindow.h"

#include "app/aboutsettingsview.h"
#include "app/generalsettingsview.h"
#include "app/viewingview.h"
#include "artwork/artwork.h"
#include "strings/stringtable.h"
#include "views/solarsystemlistview.h"
#include "views/theme.h"

#include <QAction>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

namespace heliora {

namespace {

    struct TabInfo {
        SettingsTab tab;
        const char* objectName;
        const char* glyph;
    };

    constexpr std::array<TabInfo, 4> tabInfos { {
        { SettingsTab::general, "general", "gear" },
        { SettingsTab::viewing, "viewing", "eyeglasses" },
        { SettingsTab::solarSystem, "solar_system", "list.bullet" },
        { SettingsTab::info, "about", "info.circle" },
    } };

    QString tabLabel(SettingsTab tab)
    {
        switch (tab) {
        case SettingsTab::general:
            return text("general");
        case SettingsTab::viewing:
            return text("viewing");
        case SettingsTab::solarSystem:
            return text("solar_system");
        case SettingsTab::info:
            return text("about");
        }
        return {};
    }

} // namespace

SettingsWindow::SettingsWindow(
    RotationState& rotation, OpenFactWindow openFactWindow, std::function<double()> now, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_tabs(new QTabWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("settings_window"));
    setWindowTitle(text("settings"));

    const std::array<QWidget*, 4> pages { new GeneralSettingsView(rotation), new ViewingView(std::move(now)),
        new SolarSystemListView(std::move(openFactWindow)), new AboutSettingsView };
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setDocumentMode(true);
    for (const TabInfo& info : tabInfos) {
        QWidget* page = pages[static_cast<std::size_t>(info.tab)];
        page->setObjectName(QLatin1String(info.objectName));
        m_tabs->addTab(page, artwork::glyphIcon(info.glyph, colors::white), tabLabel(info.tab));
    }
    m_tabs->setCurrentIndex(static_cast<int>(SettingsTab::general));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->addWidget(m_tabs);
    setFixedSize(contentSize);

    // Windows without a window manager's title bar (and keyboard users) still need a way to close the window.
    auto* close = new QAction(this);
    close->setShortcuts(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

SettingsTab SettingsWindow::currentTab() const { return static_cast<SettingsTab>(m_tabs->currentIndex()); }

void SettingsWindow::setCurrentTab(SettingsTab tab) { m_tabs->setCurrentIndex(static_cast<int>(tab)); }

} // namespace heliora
