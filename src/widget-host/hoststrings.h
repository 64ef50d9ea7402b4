#pragma once

#include "widget-interface/widgetextension.h"

#include <QString>

#include <string_view>

namespace heliora::host {

/// A text of the host's own window (gallery, menus) from its English and German table, in the user's language
/// as Qt reads it from the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG); English for any other language.
/// A key the table lacks shows as itself. The widgets' own names come from the extension, not from here.
QString hostText(std::string_view key);

/// The family's name for people ("Small", "Mittel").
QString familyTitle(widgetkit::WidgetFamily family);

} // namespace heliora::host
