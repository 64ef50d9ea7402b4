#include "app/settingstab.h"

#include <array>
#include <utility>

namespace heliora {

namespace {
    constexpr std::array<std::pair<SettingsTab, const char*>, 4> names { {
        { SettingsTab::general, "general" },
        { SettingsTab::viewing, "viewing" },
        { SettingsTab::solarSystem, "solar-system" },
        { SettingsTab::info, "about" },
    } };
} // namespace

QString settingsTabName(SettingsTab tab) { return QLatin1String(names[static_cast<std::size_t>(tab)].second); }

std::optional<SettingsTab> settingsTabFromName(const QString& name)
{
    for (const auto& [tab, tabName] : names) {
        if (name == QLatin1String(tabName))
            return tab;
    }
    return std::nullopt;
}

} // namespace heliora
