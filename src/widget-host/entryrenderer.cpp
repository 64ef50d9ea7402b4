#include "widget-host/entryrenderer.h"

#include <QLayout>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <memory>

namespace heliora::host {

QSize pixelSize(const QSize& size, qreal ratio)
{
    return QSize(static_cast<int>(std::ceil(size.width() * ratio - 1e-9)),
        static_cast<int>(std::ceil(size.height() * ratio - 1e-9)));
}

QImage renderEntry(const widgetkit::WidgetConfiguration& widget, widgetkit::WidgetFamily family,
    const widgetkit::TimelineEntry& entry, qreal ratio)
{
    const QSize size = widgetkit::familySize(family);
    QImage image(pixelSize(size, ratio), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);

    const std::unique_ptr<QWidget> view(widget.makeEntryView(entry, family, nullptr));
    if (!view)
        return image;
    view->resize(size);
    // The view is never shown: its layouts are laid out here, parents before children, as showing would.
    view->ensurePolished();
    for (QWidget* child : view->findChildren<QWidget*>())
        child->ensurePolished();
    if (QLayout* layout = view->layout())
        layout->activate();
    for (QWidget* child : view->findChildren<QWidget*>()) {
        if (QLayout* layout = child->layout())
            layout->activate();
    }
    QPainter painter(&image);
    view->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace heliora::host
