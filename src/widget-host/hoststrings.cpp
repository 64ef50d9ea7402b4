#include "widget-host/hoststrings.h"

#include <QByteArray>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace heliora::host {

namespace {

    const QTranslator* table()
    {
        static const std::unique_ptr<QTranslator> translator = [] {
            auto loaded = std::make_unique<QTranslator>();
            const QStringList languages = QLocale::system().uiLanguages();
            const QString first = languages.isEmpty() ? QString() : languages.first();
            const QString language = first.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
            if (!loaded->load(QStringLiteral(":/widget-host-translations/host_%1.qm").arg(language))
                && !loaded->load(QStringLiteral(":/widget-host-translations/host_en.qm")))
                loaded.reset();
            return loaded;
        }();
        return translator.get();
    }

} // namespace

QString hostText(std::string_view key)
{
    const QByteArray id(key.data(), static_cast<qsizetype>(key.size()));
    QString text;
    if (const QTranslator* translator = table())
        text = translator->translate(nullptr, id.constData());
    return text.isEmpty() ? QString::fromUtf8(id) : text;
}

QString familyTitle(widgetkit::WidgetFamily family)
{
    switch (family) {
    case widgetkit::WidgetFamily::small:
        return hostText("family_small");
    case widgetkit::WidgetFamily::medium:
        return hostText("family_medium");
    case widgetkit::WidgetFamily::large:
        return hostText("family_large");
    }
    return {};
}

} // namespace heliora::host
