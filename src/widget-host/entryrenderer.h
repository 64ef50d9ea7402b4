#pragma once

#include "widget-interface/widgetextension.h"

#include <QImage>

namespace heliora::host {

/// The pixel size of a picture of `size` points at `ratio` device pixels per point: rounded up, so nothing of
/// the widget is cut.
QSize pixelSize(const QSize& size, qreal ratio);

/// Draws one entry of a widget into a new image of the family's size at `ratio` device pixels per point (the
/// image carries that ratio). The entry view is built for this picture alone and deleted after it, as a
/// widget host renders a view and keeps the picture. A null image when the image cannot be allocated.
QImage renderEntry(const widgetkit::WidgetConfiguration& widget, widgetkit::WidgetFamily family,
    const widgetkit::TimelineEntry& entry, qreal ratio);

} // namespace heliora::host
