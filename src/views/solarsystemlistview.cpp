#include "views/solarsystemlistview.h"

#include "strings/stringtable.h"
#include "views/accessibility.h"
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
        const char* name; // the header's object name; null for the Sun's section, which has no header
        QString header;
        std::vector<SolarSystemObject> bodies;
    };

    std::vector<ListSection> listSections()
    {
        const auto planet = [](Planet p) { return SolarSystemObject::planet(p); };
        return {
            { nullptr, {}, { SolarSystemObject::sun() } },
            { "terrestrial_planets", text("terrestrial_planets"),
                { planet(Planet::mercury), planet(Planet::venus), planet(Planet::earth), planet(Planet::mars) } },
            { "gas_giants", text("gas_giants"), { planet(Planet::jupiter), planet(Planet::saturn) } },
            { "ice_giants", text("ice_giants"), { planet(Planet::uranus), planet(Planet::neptune) } },
            { "dwarf_planets", text("dwarf_planets"), { planet(Planet::pluto) } },
        };
    }

    QLabel* makeHeader(const ListSection& section, QWidget* parent)
    {
        // Shown as written: the table's text keeps its own capitalisation.
        auto* header = new QLabel(section.header, parent);
        header->setObjectName(QLatin1String(section.name));
        header->setTextFormat(Qt::PlainText);
        header->setFixedHeight(SolarSystemListView::headerHeight);
        header->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        header->setContentsMargins(GroupedSection::cornerRadius, 0, 0, 4);
        QFont font = header->font();
        font.setBold(true);
        header->setFont(font);
        QPalette palette = header->palette();
        palette.setColor(QPalette::WindowText, colors::gray);
        header->setPalette(palette);
        return header;
    }

} // namespace

SolarSystemListView::SolarSystemListView(OpenFactWindow openFactWindow, QWidget* parent)
    : QScrollArea(parent)
    , m_openFactWindow(std::move(openFactWindow))
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("content"));
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(margin, 0, margin, margin);
    layout->setSpacing(0);

    int index = 0;
    for (const ListSection& listSection : listSections()) {
        if (listSection.name) {
            layout->addWidget(makeHeader(listSection, content));
        } else {
            // The Sun's section is set apart like the others, by a gap that draws and says nothing.
            layout->addItem(new QSpacerItem(0, headerHeight, QSizePolicy::Minimum, QSizePolicy::Fixed));
        }
        auto* section = new GroupedSection(content);
        section->setObjectName(QStringLiteral("section_%1").arg(index++));
        for (const SolarSystemObject& body : listSection.bodies)
            section->addRow(makeRow(body, section));
        layout->addWidget(section);
    }
    layout->addStretch();
    setWidget(content);
}

QWidget* SolarSystemListView::makeRow(const SolarSystemObject& object, QWidget* parent)
{
    auto* row = new QWidget(parent);
    const std::string_view key = object.localizationKey();
    row->setObjectName(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
    row->setFixedHeight(rowHeight);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(GroupedSection::cornerRadius + 4, 0, 8, 0);
    layout->setSpacing(10);
    auto* image = new BodyImage(object, imageSide, row);
    // The name beside it says the same: a screen reader would read the body twice.
    hideFromAccessibility(image);
    layout->addWidget(image);
    auto* name = new QLabel(localizedName(object), row);
    name->setObjectName(QStringLiteral("name"));
    name->setTextFormat(Qt::PlainText);
    layout->addWidget(name);
    layout->addStretch();

    auto* button = new QPushButton(text("open_fact_sheet"), row);
    button->setObjectName(QStringLiteral("open_fact_sheet"));
    button->setMinimumWidth(button->sizeHint().width() + margin); // room beside the text, which Fusion hugs
    // Ten buttons share one label: each one's accessible name says whose facts it opens, and begins with the label
    // that is shown, so that a user who speaks the label to a voice control finds it.
    button->setAccessibleName(text(TextKey { "open_fact_sheet: %@", localizedName(object).toStdString() }));
    connect(button, &QPushButton::clicked, this, [this, object] {
        if (m_openFactWindow)
            m_openFactWindow(object);
    });
    layout->addWidget(button);
    return row;
}

} // namespace heliora
