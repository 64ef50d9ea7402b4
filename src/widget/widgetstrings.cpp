#include "widget/widgetstrings.h"

#include "strings/stringtable.h"
#include "widget-interface/texttable.h"

namespace heliora {

QString widgetText(std::string_view key)
{
    // The table follows the application table's language, so a widget's name and its planets' names never
    // come out in two languages. Loaded once per language: the language changes only in tests.
    static QString loadedLanguage;
    static std::unique_ptr<QTranslator> table;
    const QString language = strings().language();
    if (!table || language != loadedLanguage) {
        table = widgetkit::loadTextTable(QStringLiteral(":/widget-translations/extension"), language);
        loadedLanguage = language;
    }
    return widgetkit::tableText(table.get(), key);
}

} // namespace heliora
