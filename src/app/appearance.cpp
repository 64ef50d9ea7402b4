#include "app/appearance.h"

#include "views/theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <optional>

namespace heliora {

namespace {

    bool isButton(const QWidget* widget) { return qobject_cast<const QAbstractButton*>(widget) != nullptr; }

    // Fusion marks a focused button by its outline or a focus rectangle whenever the option carries
    // State_HasFocus, so the flag is removed from a copy of the option. The copy must keep the option's real
    // type: the style casts the option back to it and would read past a sliced copy.
    template <typename Option, typename Draw> bool drawWithoutFocus(const QStyleOption* option, Draw&& draw)
    {
        const auto* typed = qstyleoption_cast<const Option*>(option);
        if (!typed)
            return false;
        Option copy(*typed);
        copy.state &= ~QStyle::State_HasFocus;
        draw(&copy);
        return true;
    }

    template <typename Draw> void drawUnfocused(const QStyleOption* option, Draw&& draw)
    {
        if (drawWithoutFocus<QStyleOptionButton>(option, draw)
            || drawWithoutFocus<QStyleOptionToolButton>(option, draw))
            return;
        if (option->type == QStyleOption::SO_Default && option->version == QStyleOption::Version) {
            drawWithoutFocus<QStyleOption>(option, draw);
            return;
        }
        // An option type that buttons do not use: drawn unchanged rather than sliced.
        draw(option);
    }

    constexpr int scrollBarExtent = 10;
    constexpr int scrollBarMinimumThumb = 28;
    constexpr int scrollBarThumbInset = 2;

    // The thumb's place along the groove: its length in proportion to the visible part of the content, its
    // start in proportion to the value.
    QRect scrollBarThumb(const QStyleOptionSlider& bar)
    {
        const QRect groove = bar.rect;
        const bool horizontal = bar.orientation == Qt::Horizontal;
        const int grooveLength = horizontal ? groove.width() : groove.height();
        const qint64 range = qint64(bar.maximum) - bar.minimum;
        int length = grooveLength;
        if (range > 0) {
            const qint64 page = std::max(bar.pageStep, 1);
            length = static_cast<int>(page * grooveLength / (range + page));
            length = std::clamp(length, std::min(scrollBarMinimumThumb, grooveLength), grooveLength);
        }
        const int start = QStyle::sliderPositionFromValue(
            bar.minimum, bar.maximum, bar.sliderPosition, grooveLength - length, bar.upsideDown);
        return horizontal ? QRect(groove.x() + start, groove.y(), length, groove.height())
                          : QRect(groove.x(), groove.y() + start, groove.width(), length);
    }

    // A standard icon that the base style makes when it is first drawn, measured or asked about. Every menu bar
    // and toolbar gets a hidden extension button for the items that do not fit, and the base style loads its
    // icon from PNG files through Qt's image readers, which load every image-format plug-in to ask it first: four
    // libraries and 3 ms of Heliora's start-up, for a button that Heliora's bars, which always fit, never show.
    class DeferredStandardIcon : public QIconEngine {
    public:
        DeferredStandardIcon(const QStyle* base, QStyle::StandardPixmap which, Qt::LayoutDirection direction)
            : m_base(const_cast<QStyle*>(base))
            , m_which(which)
            , m_direction(direction)
        {
        }

        void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
        {
            icon().paint(painter, rect, Qt::AlignCenter, mode, state);
        }
        QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
        {
            return icon().actualSize(size, mode, state);
        }
        QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
        {
            return icon().pixmap(size, 1.0, mode, state);
        }
        QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
        {
            return icon().pixmap((QSizeF(size) / scale).toSize(), scale, mode, state);
        }
        QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
        {
            return icon().availableSizes(mode, state);
        }
        QString iconName() override { return icon().name(); }
        bool isNull() override { return icon().isNull(); }
        QIconEngine* clone() const override
        {
            auto* copy = new DeferredStandardIcon(m_base, m_which, m_direction);
            copy->m_icon = m_icon;
            return copy;
        }

    private:
        const QIcon& icon()
        {
            if (!m_icon) {
                QStyleOption option;
                option.direction = m_direction;
                m_icon = m_base ? m_base->standardIcon(m_which, &option) : QIcon();
            }
            return *m_icon;
        }

        QPointer<QStyle> m_base; // owned by the proxy style; an icon that outlives it draws nothing
        QStyle::StandardPixmap m_which;
        Qt::LayoutDirection m_direction;
        std::optional<QIcon> m_icon;
    };

} // namespace

HelioraStyle::HelioraStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int HelioraStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return scrollBarExtent;
    case PM_ScrollBarSliderMin:
        return scrollBarMinimumThumb;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect HelioraStyle::subControlRect(
    ComplexControl control, const QStyleOptionComplex* option, SubControl subControl, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, subControl, widget);

    // No arrow buttons: the groove is the whole bar, and clicking beside the thumb pages.
    const QRect thumb = scrollBarThumb(*bar);
    const bool horizontal = bar->orientation == Qt::Horizontal;
    const QRect all = bar->rect;
    switch (subControl) {
    case SC_ScrollBarGroove:
        return all;
    case SC_ScrollBarSlider:
        return thumb;
    case SC_ScrollBarSubPage:
        return horizontal ? QRect(all.left(), all.top(), thumb.left() - all.left(), all.height())
                          : QRect(all.left(), all.top(), all.width(), thumb.top() - all.top());
    case SC_ScrollBarAddPage:
        return horizontal ? QRect(thumb.right() + 1, all.top(), all.right() - thumb.right(), all.height())
                          : QRect(all.left(), thumb.bottom() + 1, all.width(), all.bottom() - thumb.bottom());
    default:
        return QRect();
    }
}

void HelioraStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    if (!option || !isButton(widget) || !(option->state & State_HasFocus)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (element == PE_FrameFocusRect)
        return;
    drawUnfocused(option,
        [&](const QStyleOption* unfocused) { QProxyStyle::drawPrimitive(element, unfocused, painter, widget); });
}

void HelioraStyle::drawControl(
    ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    if (!option || !isButton(widget) || !(option->state & State_HasFocus)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    drawUnfocused(
        option, [&](const QStyleOption* unfocused) { QProxyStyle::drawControl(element, unfocused, painter, widget); });
}

void HelioraStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget) const
{
    if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option); bar && control == CC_ScrollBar) {
        drawScrollBar(*bar, painter);
        return;
    }
    if (!option || !isButton(widget) || !(option->state & State_HasFocus)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const auto draw = [&](const QStyleOption* unfocused) {
        QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(unfocused), painter, widget);
    };
    if (!drawWithoutFocus<QStyleOptionToolButton>(option, draw))
        draw(option);
}

QIcon HelioraStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The base style picks the arrow by the option's direction, or the application's without an option.
    const Qt::LayoutDirection direction = option ? option->direction : QGuiApplication::layoutDirection();
    return QIcon(new DeferredStandardIcon(baseStyle(), icon, direction));
}

void HelioraStyle::drawScrollBar(const QStyleOptionSlider& bar, QPainter* painter) const
{
    painter->save();
    painter->fillRect(bar.rect, bar.palette.color(QPalette::Window));
    if (bar.maximum > bar.minimum) {
        // The thumb brightens under the pointer and while dragged.
        const bool active
            = (bar.activeSubControls & SC_ScrollBarSlider) && (bar.state & (State_MouseOver | State_Sunken));
        QColor thumbColour = bar.palette.color(QPalette::WindowText);
        thumbColour.setAlphaF(active ? 0.55f : 0.3f);
        const QRectF thumb
            = QRectF(scrollBarThumb(bar))
                  .adjusted(scrollBarThumbInset, scrollBarThumbInset, -scrollBarThumbInset, -scrollBarThumbInset);
        const qreal radius = std::min(thumb.width(), thumb.height()) / 2;
        QPainterPath path;
        path.addRoundedRect(thumb, radius, radius);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(path, thumbColour);
    }
    painter->restore();
}

void applyDarkAppearance(QApplication& app)
{
    // The palette is set explicitly after the style: a style's standard palette would otherwise win, and a
    // desktop's light theme must not leak into any window.
    app.setStyle(new HelioraStyle);
    app.setPalette(darkPalette());
}

} // namespace heliora
