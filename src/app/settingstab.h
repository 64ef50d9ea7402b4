#pragma once

#include <QString>

#include <optional>

namespace heliora {

/// The settings window's tabs, in their order.
enum class SettingsTab { general, viewing, solarSystem, info };

/// The tab's name on the command line: "general", "viewing", "solar-system", "about".
QString settingsTabName(SettingsTab tab);
/// The tab with that command-line name (exactly as written); nothing for any other text.
std::optional<SettingsTab> settingsTabFromName(const QString& name);

} // namespace heliora
