#include "app/hud.h"

#include "artwork/artwork.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/theme.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>

namespace heliora {

namespace {

    /// The check glyph at the height of the text beside it, white.
    class CheckGlyph : public QWidget {
    public:
        explicit CheckGlyph(int side, QWidget* parent)
            : QWidget(parent)
        {
            setFixedSize(side, side);
        }

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter painter(this);
            painter.drawImage(
                QPointF(0, 0), artwork::glyph("checkmark.circle.fill", width(), devicePixelRatioF(), colors::white));
        }
    };

    void defaultScheduler(int ms, QObject* context, std::function<void()> task)
    {
        QTimer::singleShot(ms, context, std::move(task));
    }

} // namespace

Hud::Hud(QWidget* parent)
    : QWidget(parent)
    , m_scheduler(defaultScheduler)
    , m_opacity(new QGraphicsOpacityEffect(this))
    , m_fade(new QPropertyAnimation(m_opacity, "opacity", this))
{
    setObjectName(QStringLiteral("hud"));
    setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* label = new QLabel(text("copied"), this);
    label->setObjectName(QStringLiteral("copied"));
    label->setTextFormat(Qt::PlainText);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, colors::white);
    label->setPalette(white);
    const int glyphSide = label->fontMetrics().height();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(
        contentSideMargin + outerMargin, outerMargin, contentSideMargin + outerMargin, outerMargin);
    layout->setSpacing(glyphSide / 3);
    auto* glyph = new CheckGlyph(glyphSide, this);
    hideFromAccessibility(glyph); // the text says it all
    layout->addWidget(glyph);
    layout->addWidget(label);
    // The overlay is read as one announcement: "Copied".
    setAccessibleName(label->text());

    m_opacity->setOpacity(1.0);
    m_opacity->setEnabled(false); // drawn directly while fully opaque; the effect only serves the fade
    setGraphicsEffect(m_opacity);
    m_fade->setObjectName(QStringLiteral("hud_fade"));
    m_fade->setDuration(fadeMs);
    m_fade->setEasingCurve(QEasingCurve::InOutQuad);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        if (!m_showing)
            hide();
    });
    hide();
}

void Hud::setScheduler(Scheduler scheduler) { m_scheduler = scheduler ? std::move(scheduler) : defaultScheduler; }

QSize Hud::sizeHint() const { return layout() ? layout()->sizeHint() : QWidget::sizeHint(); }

void Hud::present()
{
    m_fade->stop();
    m_opacity->setOpacity(1.0);
    m_opacity->setEnabled(false);
    show();
    raise();
    if (m_showing)
        return;
    m_showing = true;
    emit showingChanged(true);
    m_scheduler(shownMs, this, [this] { hideAnimated(); });
}

void Hud::hideAnimated()
{
    if (!m_showing)
        return;
    m_showing = false;
    emit showingChanged(false);
    m_opacity->setEnabled(true);
    m_fade->start();
}

void Hud::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::orange);
    const QRectF capsule(rect());
    const double radius = capsule.height() / 2;
    painter.drawRoundedRect(capsule, radius, radius);
}

} // namespace heliora
