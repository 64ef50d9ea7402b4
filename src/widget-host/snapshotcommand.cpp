#include "widget-host/snapshotcommand.h"

#include "widget-host/entryrenderer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cstdio>

namespace heliora::host {

namespace {

    int usageError(const QString& message)
    {
        std::fprintf(stderr, "heliora-widgets: %s\n", qPrintable(message));
        return 2;
    }

    QString kindsOf(const widgetkit::WidgetBundle& bundle)
    {
        QStringList kinds;
        for (const widgetkit::WidgetConfiguration* widget : bundle.widgets())
            kinds.append(widget->kind());
        return kinds.join(QLatin1String(", "));
    }

    QString familiesOf(const widgetkit::WidgetConfiguration& widget)
    {
        QStringList names;
        for (const widgetkit::WidgetFamily family : widget.supportedFamilies())
            names.append(familyName(family));
        return names.join(QLatin1String(", "));
    }

    void print(const QJsonObject& object)
    {
        std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
    }

} // namespace

int runWidgetCommand(const widgetkit::WidgetBundle& bundle, const HostOptions& options)
{
    const widgetkit::WidgetConfiguration* widget = widgetkit::findWidget(bundle, options.kind);
    if (!widget)
        return usageError(QStringLiteral("unknown widget kind %1 (known: %2)").arg(options.kind, kindsOf(bundle)));
    const std::optional<widgetkit::WidgetFamily> family = widgetkit::familyFromName(options.family);
    if (!family || !widget->supportedFamilies().contains(*family))
        return usageError(
            QStringLiteral("%1 comes in %2, not %3").arg(options.kind, familiesOf(*widget), options.family));

    const widgetkit::TimelineContext context { QSizeF(widgetkit::familySize(*family)), *family };
    widgetkit::Timeline timeline;
    widget->provider().timeline(context, [&timeline](const widgetkit::Timeline& answer) { timeline = answer; });

    if (options.mode == HostOptions::Mode::timeline) {
        QJsonArray entries;
        for (const widgetkit::TimelineEntry& entry : timeline.entries) {
            entries.append(QJsonObject { { "date", entry.date }, { "width", entry.displaySize.width() },
                { "height", entry.displaySize.height() } });
        }
        print(QJsonObject { { "kind", options.kind }, { "family", options.family }, { "entries", entries },
            { "reloadAfter", timeline.reloadAfter } });
        return 0;
    }

    widgetkit::TimelineEntry entry
        = timeline.entries.isEmpty() ? widget->provider().placeholder(context) : timeline.entries.first();
    if (options.date)
        entry.date = *options.date;
    const QImage image = renderEntry(*widget, *family, entry, options.scale);
    QSaveFile file(options.file);
    if (image.isNull() || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return usageError(QStringLiteral("cannot write %1").arg(options.file));
    print(QJsonObject {
        { "kind", options.kind },
        { "family", options.family },
        { "width", image.width() },
        { "height", image.height() },
        { "scale", options.scale },
        { "date", entry.date },
        { "nextReload", timeline.reloadAfter },
        { "file", options.file },
    });
    return 0;
}

} // namespace heliora::host
