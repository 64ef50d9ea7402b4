#include "app/solarsystemlistview.h"

#include "app/detailwindowcontroller.h"
#include "app/solarsystemobjectdetailview.h"
#include "strings/stringtable.h"
#include "views/bodyimage.h"
#include "views/groupedsection.h"
#include "views/theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace heliora {

namespace {

    struct ListSection {
        const char* headerKey; // null: a section without a title
        std::vector<SolarSystemObject> bodies;
    };

    std::vector<ListSection> listSections()
    {
        const auto planet = [](Planet p) { return SolarSystemObject::planet(p); };
        return {
            { nullptr, { SolarSystemObject::sun() } },
            { "terrestrial_planets",
                { planet(Planet::mercury), planet(Planet::venus), planet(Planet::earth), planet(Planet::mars) } },
            { "gas_giants", { planet(Planet::jupiter), planet(Planet::saturn) } },
            { "ice_giants", { planet(Planet::uranus), planet(Planet::neptune) } },
            { "dwarf_planets", { planet(Planet::pluto) } },
        };
    }

    constexpr int imageSide = 24;

} // namespace

SolarSystemListView::SolarSystemListView(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);

    for (const ListSection& listSection : listSections()) {
        if (listSection.headerKey) {
            // Shown as written: the table's text keeps its own capitalisation.
            auto* header = new QLabel(heliora::text(listSection.headerKey), this);
            header->setTextFormat(Qt::PlainText);
            header->setFixedHeight(headerHeight);
            header->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
            header->setContentsMargins(GroupedSection::cornerRadius, 0, 0, 4);
            QFont font = header->font();
            font.setBold(true);
            header->setFont(font);
            QPalette palette = header->palette();
            palette.setColor(QPalette::WindowText, colors::gray);
            header->setPalette(palette);
            layout->addWidget(header);
        } else {
            layout->addItem(new QSpacerItem(0, headerHeight, QSizePolicy::Minimum, QSizePolicy::Fixed));
        }
        auto* section = new GroupedSection(this);
        for (const SolarSystemObject& body : listSection.bodies)
            section->addRow(makeRow(body));
        layout->addWidget(section);
    }
    layout->addStretch();
}

QWidget* SolarSystemListView::makeRow(const SolarSystemObject& object)
{
    auto* row = new QWidget(this);
    row->setObjectName(
        QString::fromUtf8(object.localizationKey().data(), static_cast<qsizetype>(object.localizationKey().size())));
    row->setFixedHeight(rowHeight);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(GroupedSection::cornerRadius + 4, 0, 8, 0);
    layout->setSpacing(10);
    layout->addWidget(new BodyImage(object, imageSide, row));
    auto* name = new QLabel(localizedName(object), row);
    name->setTextFormat(Qt::PlainText);
    layout->addWidget(name);
    layout->addStretch();

    auto* button = new QPushButton(heliora::text("open_fact_sheet"), row);
    button->setObjectName(QStringLiteral("open_fact_sheet"));
    // Ten buttons share one label; the description says whose facts each one opens.
    button->setAccessibleDescription(localizedName(object));
    connect(button, &QPushButton::clicked, this, [object] { openDetailWindow(object); });
    layout->addWidget(button);
    return row;
}

} // namespace heliora
