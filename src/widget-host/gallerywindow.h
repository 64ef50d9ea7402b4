#pragma once

#include "widget-interface/widgetextension.h"

#include <QWidget>

namespace heliora::host {

/// The gallery: a window that lists every widget of the extension in every family it offers, each with its
/// name, description, family, a picture of the present moment and an "Add" button. Named "gallery"; the rows are
/// "row_<kind>_<family>" with the preview "preview" and the button "add". It reads the bundle, which outlives it.
class GalleryWindow : public QWidget {
    Q_OBJECT
public:
    explicit GalleryWindow(const widgetkit::WidgetBundle& bundle, QWidget* parent = nullptr);

    /// Draws every preview again for the present moment (and the shared setting as it is now).
    void refreshPreviews();

signals:
    void addRequested(const QString& kind, widgetkit::WidgetFamily family);

protected:
    void showEvent(QShowEvent* event) override;

private:
    const widgetkit::WidgetBundle& m_bundle;
};

} // namespace heliora::host
