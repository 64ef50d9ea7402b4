#include "widget-host/hoststrings.h"

#include "widget-interface/texttable.h"

#include <QLocale>

#include <array>

namespace heliora::host {

QString hostText(std::string_view key)
{
    static const std::unique_ptr<QTranslator> table = [] {
        const QStringList languages = QLocale::system().uiLanguages();
        const QString first = languages.isEmpty() ? QString() : languages.first();
        const QString language = first.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
        return widgetkit::loadTextTable(QStringLiteral(":/widget-host-translations/host"), language);
    }();
    return widgetkit::tableText(table.get(), key);
}

QString familyTitle(widgetkit::WidgetFamily family)
{
    // In the order of WidgetFamily.
    static constexpr std::array<const char*, 3> keys { "family_small", "family_medium", "family_large" };
    return hostText(keys.at(static_cast<std::size_t>(family)));
}

} // namespace heliora::host
