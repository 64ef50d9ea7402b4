#include "widget-host/gallerywindow.h"

#include "widget-host/entryrenderer.h"
#include "widget-host/hoststrings.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace heliora::host {

namespace {

    constexpr int rowSpacing = 18;
    constexpr int textWidth = 220;
    constexpr int widestPreview = 360;

    QString rowName(const QString& kind, widgetkit::WidgetFamily family)
    {
        return QStringLiteral("row_%1_%2").arg(kind, familyName(family));
    }

} // namespace

GalleryWindow::GalleryWindow(const widgetkit::WidgetBundle& bundle, QWidget* parent)
    : QWidget(parent)
    , m_bundle(bundle)
{
    setObjectName(QStringLiteral("gallery"));
    setWindowTitle(hostText("gallery_title"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* hint = new QLabel(hostText("gallery_hint"), this);
    hint->setWordWrap(true);
    hint->setTextFormat(Qt::PlainText);

    auto* list = new QWidget;
    auto* rows = new QVBoxLayout(list);
    rows->setSpacing(rowSpacing);
    for (const widgetkit::WidgetConfiguration* widget : bundle.widgets()) {
        for (const widgetkit::WidgetFamily family : widget->supportedFamilies()) {
            auto* row = new QWidget(list);
            row->setObjectName(rowName(widget->kind(), family));
            auto* preview = new QLabel(row);
            preview->setObjectName(QStringLiteral("preview"));
            preview->setFixedSize(widgetkit::familySize(family));
            preview->setAccessibleName(widget->displayName());

            auto* name = new QLabel(widget->displayName(), row);
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
            auto* description = new QLabel(widget->description(), row);
            description->setWordWrap(true);
            auto* size = new QLabel(familyTitle(family), row);
            auto* add = new QPushButton(hostText("add_widget"), row);
            add->setObjectName(QStringLiteral("add"));
            add->setAccessibleDescription(widget->displayName() + QLatin1String(", ") + familyTitle(family));
            const QString kind = widget->kind();
            connect(add, &QPushButton::clicked, this, [this, kind, family] { emit addRequested(kind, family); });

            auto* text = new QVBoxLayout;
            text->addWidget(name);
            text->addWidget(description);
            text->addWidget(size);
            text->addStretch(1);
            text->addWidget(add, 0, Qt::AlignLeft);
            auto* textBox = new QWidget(row);
            textBox->setLayout(text);
            textBox->setFixedWidth(textWidth);

            // The texts line up whatever the preview's width: the preview column is as wide as the widest family.
            auto* line = new QHBoxLayout(row);
            line->addWidget(preview, 0, Qt::AlignTop);
            line->addSpacing(widestPreview - preview->width());
            line->addWidget(textBox);
            rows->addWidget(row);
        }
    }
    rows->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(scroll, 1);
    list->adjustSize();
    resize(list->sizeHint().width() + 40, 640);
}

void GalleryWindow::refreshPreviews()
{
    const qreal ratio = devicePixelRatioF();
    for (const widgetkit::WidgetConfiguration* widget : m_bundle.widgets()) {
        for (const widgetkit::WidgetFamily family : widget->supportedFamilies()) {
            auto* row = findChild<QWidget*>(rowName(widget->kind(), family));
            auto* preview = row ? row->findChild<QLabel*>(QStringLiteral("preview")) : nullptr;
            if (!preview)
                continue;
            widgetkit::TimelineEntry entry;
            widget->provider().snapshot({ QSizeF(widgetkit::familySize(family)), family },
                [&entry](const widgetkit::TimelineEntry& snapshot) { entry = snapshot; });
            preview->setPixmap(QPixmap::fromImage(renderEntry(*widget, family, entry, ratio)));
        }
    }
}

void GalleryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshPreviews();
}

} // namespace heliora::host
