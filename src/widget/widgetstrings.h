#pragma once

#include <QString>

#include <string_view>

namespace heliora {

/// The text of one of the widget extension's own keys (the widgets' names and descriptions for the gallery), in
/// the language of the application's string table (the user's language, English when there is no table for it).
/// A key that the table lacks shows as the key itself.
QString widgetText(std::string_view key);

} // namespace heliora
