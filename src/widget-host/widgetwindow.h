#pragma once

#include "widget-interface/widgetextension.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

class QTimer;

namespace heliora::host {

/// A placed desktop widget: a frameless top-level window of the family's size that shows the picture the host
/// drew for it. It stays below normal windows, on every desktop, out of task bars and pagers (x11hints.h), takes
/// no keyboard focus, moves when dragged (through the window manager when there is one), and offers a context
/// menu with Remove and Open Heliora. It knows nothing of timelines: the host gives it pictures.
/// Named "widget_<kind>_<family>"; its title and accessible name are the widget's display name.
class WidgetWindow : public QWidget {
    Q_OBJECT
public:
    WidgetWindow(int id, const QString& kind, widgetkit::WidgetFamily family, const QString& displayName);

    int id() const { return m_id; }
    QString kind() const { return m_kind; }
    widgetkit::WidgetFamily family() const { return m_family; }

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

signals:
    void removeRequested(int id);
    void openAppRequested();
    /// The window came to rest at a new place after a drag (or the window manager moved it).
    void moved(int id);
    /// The window is now on a screen of another pixel ratio: its picture wants drawing again.
    void pixelRatioChanged(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int m_id;
    QString m_kind;
    widgetkit::WidgetFamily m_family;
    QImage m_picture;
    std::optional<QPoint> m_grab; ///< where the pointer holds the window during a drag without a window manager
    QTimer* m_settle;
    qreal m_ratio = 0;
    bool m_watchingScreen = false;
};

} // namespace heliora::host
