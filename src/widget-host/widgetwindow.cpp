#include "widget-host/widgetwindow.h"

#include "widget-host/hoststrings.h"
#include "widget-host/x11hints.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace heliora::host {

namespace {
    // A drag reports many small moves; the place is remembered once the window has rested this long.
    constexpr int settleMs = 400;
} // namespace

WidgetWindow::WidgetWindow(int id, const QString& kind, widgetkit::WidgetFamily family, const QString& displayName)
    : QWidget(nullptr,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus
            | Qt::NoDropShadowWindowHint)
    , m_id(id)
    , m_kind(kind)
    , m_family(family)
    , m_settle(new QTimer(this))
{
    setObjectName(QStringLiteral("widget_%1_%2").arg(kind, familyName(family)));
    setWindowTitle(displayName);
    setAccessibleName(displayName);
    setFixedSize(widgetkit::familySize(family));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMs);
    connect(m_settle, &QTimer::timeout, this, [this] { emit moved(m_id); });
}

void WidgetWindow::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void WidgetWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!m_picture.isNull())
        painter.drawImage(QPoint(0, 0), m_picture);
}

void WidgetWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A window manager moves the window itself, with its own snapping and limits; without one the window follows
    // the pointer.
    if (windowHandle() && windowHandle()->startSystemMove())
        m_grab.reset();
    else
        m_grab = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void WidgetWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_grab && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *m_grab);
}

void WidgetWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grab.reset();
}

void WidgetWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("widget_menu"));
    QAction* remove = menu.addAction(hostText("remove_widget"));
    remove->setObjectName(QStringLiteral("remove"));
    QAction* open = menu.addAction(hostText("open_heliora"));
    open->setObjectName(QStringLiteral("open_heliora"));
    QAction* chosen = menu.exec(event->globalPos());
    // Signals last: removing closes and deletes this window.
    if (chosen == open)
        emit openAppRequested();
    else if (chosen == remove)
        emit removeRequested(m_id);
}

void WidgetWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        m_settle->start();
}

void WidgetWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_watchingScreen || !windowHandle())
        return;
    m_watchingScreen = true;
    m_ratio = devicePixelRatioF();
    connect(windowHandle(), &QWindow::screenChanged, this, [this] {
        if (devicePixelRatioF() != m_ratio) {
            m_ratio = devicePixelRatioF();
            emit pixelRatioChanged(m_id);
        }
    });
}

} // namespace heliora::host
