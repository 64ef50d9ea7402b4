#include "views/planetslist.h"

#include "strings/stringtable.h"
#include "views/bodyimage.h"
#include "views/fittinglabel.h"

#include <QBoxLayout>

namespace heliora {

namespace {
    // The gap a stack leaves between its items by default.
    constexpr int defaultSpacing = 8;

    QString keyOf(Planet planet)
    {
        const std::string_view key = rawValue(planet);
        return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    }
} // namespace

PlanetsListRow::PlanetsListRow(Planet planet, QWidget* parent)
    : QWidget(parent)
    , m_planet(planet)
{
    setObjectName(keyOf(planet));
    setFixedWidth(rowWidth);
    setAttribute(Qt::WA_TransparentForMouseEvents);

    const SolarSystemObject body = SolarSystemObject::planet(planet);
    auto* name = new FittingLabel(this);
    name->setObjectName(QStringLiteral("name"));
    name->setText(localizedName(body));
    QFont font = name->font();
    font.setPixelSize(namePixelSize);
    font.setBold(true);
    name->setFont(font);
    name->setMinimumScaleFactor(nameMinimumScale);
    name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(defaultSpacing);
    layout->addWidget(new BodyImage(body, imageSide, this), 0, Qt::AlignVCenter);
    // The name takes the rest of the row: that is the width it shrinks and then elides in.
    layout->addWidget(name, 1, Qt::AlignVCenter);
}

PlanetsList::PlanetsList(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(defaultSpacing);
    for (const auto& column : { innerPlanets, outerPlanets }) {
        auto* stack = new QVBoxLayout;
        stack->setSpacing(defaultSpacing);
        for (Planet planet : column)
            stack->addWidget(new PlanetsListRow(planet, this), 0, Qt::AlignLeft);
        layout->addLayout(stack);
    }
}

} // namespace heliora
