#include "views/planetslistwidgetview.h"

#include "settings/sharedsettings.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/planetslist.h"
#include "views/solarsystemview.h"
#include "views/theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace heliora {

namespace {
    // The padding a stack puts around its content by default.
    constexpr int padding = 16;
    constexpr int invitationPixelSize = 15;
} // namespace

WidgetPreview::WidgetPreview(QWidget* parent)
    : QWidget(parent)
    , m_orrery(new SolarSystemView(this))
    , m_list(new PlanetsList(this))
{
    setObjectName(QStringLiteral("preview"));
    setFixedSize(size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hideFromAccessibility(this);

    m_orrery->setObjectName(QStringLiteral("orrery"));
    m_orrery->setDiameter(orreryDiameter);
    m_list->setObjectName(QStringLiteral("planets_list"));
    placeBesideList(*m_orrery, *m_list, QWidget::size());
}

void placeBesideList(SolarSystemView& orrery, PlanetsList& list, const QSize& size)
{
    // Placed by hand rather than by a layout: the orrery's widget is its square plus the margin that planets
    // may stick out by, and it is the square that sits beside the list.
    const double diameter = orrery.inputs().diameter;
    const QSize listSize = list.sizeHint();
    const double left = (size.width() - (diameter + WidgetPreview::spacing + listSize.width())) / 2;
    const QSize orrerySize = orrery.sizeHint();
    orrery.setGeometry(QRect(
        QPoint(qRound(left + (diameter - orrerySize.width()) / 2), qRound((size.height() - orrerySize.height()) / 2.0)),
        orrerySize));
    list.setGeometry(QRect(
        QPoint(qRound(left + diameter + WidgetPreview::spacing), qRound((size.height() - listSize.height()) / 2.0)),
        listSize));
}

void WidgetPreview::resizeEvent(QResizeEvent*) { placeBesideList(*m_orrery, *m_list, QWidget::size()); }

void WidgetPreview::paintEvent(QPaintEvent*)
{
    // The outline is drawn here, under the children; they never reach the edge, so it shows as an overlay would.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, colors::field);

    QColor outline = colors::white;
    outline.setAlphaF(0.2);
    QPen pen(outline, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    // Half a pixel in, so that the one-pixel line lies on the shape's edge inside it, crisp at any ratio.
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
}

PlanetsListWidgetView::PlanetsListWidgetView(std::function<double()> now, QWidget* parent)
    : QWidget(parent)
    , m_now(std::move(now))
    , m_settings(new SharedSettings(this))
{
    auto* invitation = new QLabel(text("view_solar_system_on_your_widgets"), this);
    invitation->setObjectName(QStringLiteral("invitation"));
    invitation->setTextFormat(Qt::PlainText);
    invitation->setWordWrap(true);
    invitation->setAlignment(Qt::AlignCenter);
    invitation->setContentsMargins(padding, padding, padding, padding);
    QFont title = invitation->font();
    title.setPixelSize(invitationPixelSize);
    title.setBold(true);
    invitation->setFont(title);

    auto* preview = new WidgetPreview(this);
    m_orrery = preview->orrery();

    auto* caption = new QLabel(text("planetslist_widget_display_name"), this);
    caption->setObjectName(QStringLiteral("caption"));
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignCenter);
    QPalette gray = caption->palette();
    gray.setColor(QPalette::WindowText, colors::gray);
    caption->setPalette(gray);

    auto* pictureStack = new QVBoxLayout;
    pictureStack->setSpacing(10);
    pictureStack->addWidget(preview, 0, Qt::AlignHCenter);
    pictureStack->addWidget(caption, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(invitation);
    layout->addLayout(pictureStack);

    connect(m_settings, &SharedSettings::showPlutoChanged, this, &PlanetsListWidgetView::rebuild);
    rebuild();
}

void PlanetsListWidgetView::rebuild()
{
    m_orrery->setShowPluto(m_settings->showPluto());
    m_orrery->setDate(m_now ? m_now() : 0);
}

} // namespace heliora
