#pragma once

#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringView>
#include <QtPlugin>

#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace heliora::widgetkit {

/// The sizes a desktop widget comes in. The host decides the size in points of each (familySize); a widget
/// names the families it offers.
enum class WidgetFamily { small, medium, large };

inline constexpr std::array<WidgetFamily, 3> allFamilies { WidgetFamily::small, WidgetFamily::medium,
    WidgetFamily::large };

namespace detail {
    struct FamilyFacts {
        const char* name;
        QSize size;
    };
    // In the order of WidgetFamily.
    inline constexpr std::array<FamilyFacts, 3> familyFacts { {
        { "small", { 169, 169 } },
        { "medium", { 360, 169 } },
        { "large", { 360, 379 } },
    } };
} // namespace detail

/// The family's name on command lines and in settings files: "small", "medium", "large".
inline QString familyName(WidgetFamily family)
{
    return QString::fromLatin1(detail::familyFacts.at(static_cast<std::size_t>(family)).name);
}

/// The family named `name` (exactly as familyName writes it), or nothing.
inline std::optional<WidgetFamily> familyFromName(QStringView name)
{
    for (WidgetFamily family : allFamilies) {
        if (name == familyName(family))
            return family;
    }
    return std::nullopt;
}

/// The size of a widget of the family, in points (logical pixels): small 169 × 169, medium 360 × 169,
/// large 360 × 379.
inline constexpr QSize familySize(WidgetFamily family)
{
    return detail::familyFacts.at(static_cast<std::size_t>(family)).size;
}

/// What the host tells a provider about the widget it asks for: its size in points and its family.
struct TimelineContext {
    QSizeF displaySize;
    WidgetFamily family = WidgetFamily::small;
};

/// One picture of a widget's timeline: the instant to show (seconds since 1970) and the size to draw it in.
struct TimelineEntry {
    double date = 0;
    QSizeF displaySize;
};

/// A provider's answer: the entries to show, each from its date on, and when to ask again (seconds since 1970:
/// the host asks for a new timeline at or after that instant).
struct Timeline {
    QList<TimelineEntry> entries;
    double reloadAfter = 0;
};

/// Answers a host's three requests for a widget's entries. Every request answers at once, on the calling thread.
class TimelineProvider {
public:
    virtual ~TimelineProvider() = default;
    /// An entry to draw while nothing better is known (e.g. the gallery's first picture).
    virtual TimelineEntry placeholder(const TimelineContext& context) const = 0;
    /// An entry for a quick look (the gallery's preview, a one-off picture).
    virtual void snapshot(
        const TimelineContext& context, const std::function<void(const TimelineEntry&)>& done) const = 0;
    /// The entries to show from now on and the reload date.
    virtual void timeline(const TimelineContext& context, const std::function<void(const Timeline&)>& done) const = 0;
};

/// One desktop widget that an extension offers: its kind (its stable id), the families it comes in, its name and
/// description for the gallery (in the user's language), its timeline provider, and the view that draws an entry.
class WidgetConfiguration {
public:
    virtual ~WidgetConfiguration() = default;
    virtual QString kind() const = 0;
    virtual QList<WidgetFamily> supportedFamilies() const = 0;
    virtual QString displayName() const = 0;
    virtual QString description() const = 0;
    virtual const TimelineProvider& provider() const = 0;
    /// A new widget that draws the entry at the entry's display size; the caller owns it (through `parent` or
    /// by deleting it). The view reads what it shows when it is built and does not change afterwards.
    virtual QWidget* makeEntryView(
        const TimelineEntry& entry, WidgetFamily family, QWidget* parent = nullptr) const = 0;
};

/// The root object of a widget extension (a Qt plug-in): the widgets it offers, in the order a gallery lists
/// them. The configurations live as long as the bundle.
class WidgetBundle {
public:
    virtual ~WidgetBundle() = default;
    virtual QList<const WidgetConfiguration*> widgets() const = 0;
};

/// The interface id of WidgetBundle; the number after the slash changes whenever the interface above does, so a
/// host never calls into an extension built for another version. Q_DECLARE_INTERFACE and the extension's
/// Q_PLUGIN_METADATA repeat it as a literal (moc reads no constants); a test checks that all three agree.
inline constexpr char widgetBundleIid[] = "app.heliora.WidgetBundle/1";

/// The configuration of `kind` in the bundle, or null.
inline const WidgetConfiguration* findWidget(const WidgetBundle& bundle, const QString& kind)
{
    for (const WidgetConfiguration* widget : bundle.widgets()) {
        if (widget->kind() == kind)
            return widget;
    }
    return nullptr;
}

} // namespace heliora::widgetkit

Q_DECLARE_INTERFACE(heliora::widgetkit::WidgetBundle, "app.heliora.WidgetBundle/1")
