#include "widget/widgetstrings.h"

#include "strings/stringtable.h"

#include <QByteArray>
#include <QTranslator>

#include <memory>

namespace heliora {

namespace {

    // The table follows the application table's language, so a widget's name and its planets' names never
    // come out in two languages. Loaded once per language: the language changes only in tests.
    const QTranslator* translator()
    {
        static QString loadedLanguage;
        static std::unique_ptr<QTranslator> table;
        const QString language = strings().language();
        if (!table || language != loadedLanguage) {
            table = std::make_unique<QTranslator>();
            if (!table->load(QStringLiteral(":/widget-translations/extension_%1.qm").arg(language))
                && !table->load(QStringLiteral(":/widget-translations/extension_en.qm")))
                table.reset();
            loadedLanguage = language;
        }
        return table.get();
    }

} // namespace

QString widgetText(std::string_view key)
{
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    QString text;
    if (const QTranslator* table = translator())
        text = table->translate(nullptr, id.constData());
    return text.isEmpty() ? QString::fromUtf8(id) : text;
}

} // namespace heliora
