#include "app/solarsystemobjectdetailview.h"

#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/bodyimage.h"
#include "views/groupedsection.h"
#include "views/theme.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace heliora {

namespace {

    constexpr int headerImageSide = 100;
    // The padding a list puts around its header content and its rows.
    constexpr int padding = 16;
    constexpr int rowHorizontalMargin = 12;
    constexpr int rowVerticalMargin = 7;

    QLabel* makeLabel(const QString& text, const char* name, QWidget* parent)
    {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        return label;
    }

    // Font of captions and of the ratio and AU lines: a step smaller than the body text.
    QFont captionFont(const QFont& bodyFont)
    {
        QFont font = bodyFont;
        // About the ratio of a caption to body text on a desktop (10 to 13), but never below a readable 8 points.
        if (font.pointSizeF() > 0)
            font.setPointSizeF(std::max(8.0, font.pointSizeF() * 0.85));
        else if (font.pixelSize() > 0)
            font.setPixelSize(std::max(11, static_cast<int>(font.pixelSize() * 0.85)));
        return font;
    }

    void makeSecondary(QLabel* label)
    {
        label->setFont(captionFont(label->font()));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colors::gray);
        label->setPalette(palette);
    }

} // namespace

SolarSystemObjectDetailView::SolarSystemObjectDetailView(const SolarSystemObject& object, QWidget* parent)
    : QWidget(parent)
    , m_object(object)
{
    setWindowTitle(localizedName(object));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, 0, padding, 0);
    layout->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, padding, 0, padding);
    header->addStretch();
    auto* image = new BodyImage(object, headerImageSide, this);
    image->setObjectName(QStringLiteral("header_image"));
    header->addWidget(image);
    header->addStretch();
    layout->addLayout(header);

    // The rows come in display order, grouped by section. A section without rows (seen from Earth, for Earth)
    // is left out together with the gap that would separate it.
    GroupedSection* section = nullptr;
    int sectionIndex = -1;
    for (const FactRow& row : factRows(object)) {
        if (!section || factSection(row.id) != sectionIndex) {
            if (section)
                layout->addItem(makeEmptySectionHeader());
            sectionIndex = factSection(row.id);
            section = new GroupedSection(this);
            section->setObjectName(QStringLiteral("section_%1").arg(sectionIndex));
            layout->addWidget(section);
        }
        section->addRow(makeRow(row));
    }

    layout->addSpacing(padding);
    layout->addWidget(makeSourceLine());
    layout->addSpacing(padding);
    layout->addStretch();
}

QWidget* SolarSystemObjectDetailView::makeRow(const FactRow& row)
{
    const Strings& table = strings();
    auto* widget = new QWidget(this);
    widget->setObjectName(QString::fromUtf8(rowName(row.id).data(), static_cast<qsizetype>(rowName(row.id).size())));

    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(rowHorizontalMargin, rowVerticalMargin, rowHorizontalMargin, rowVerticalMargin);
    layout->setSpacing(padding);

    auto* left = new QVBoxLayout;
    left->setSpacing(1);
    QString title = table.text(row.titleKey);
    if (row.unitSuffixKey)
        title += table.text(*row.unitSuffixKey);
    left->addWidget(makeLabel(title, "title", widget));
    if (!row.captionKeys.empty()) {
        // A caption made of several keys (the rotation with the retrograde note) is one text, read as one.
        const QString text = table.joined(row.captionKeys);
        QLabel* caption = makeLabel(text, "caption", widget);
        caption->setWordWrap(true);
        caption->setAccessibleName(text);
        makeSecondary(caption);
        left->addWidget(caption);
    }
    layout->addLayout(left, 1);

    // The value and its second line stay together, centred against the title and caption beside them.
    auto* right = new QVBoxLayout;
    right->setSpacing(1);
    right->addStretch();
    QLabel* value = makeLabel(table.joined(row.value), "value", widget);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right->addWidget(value, 0, Qt::AlignRight);
    if (row.secondary) {
        // The ratio's number and "Earth" sit side by side with no gap, so one label holds both and is read as
        // one element.
        const QString text = table.joined(row.secondary->pieces);
        QLabel* secondary = makeLabel(text, "secondary", widget);
        secondary->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        secondary->setAccessibleName(text);
        makeSecondary(secondary);
        right->addWidget(secondary, 0, Qt::AlignRight);
    }
    right->addStretch();
    layout->addLayout(right);
    return widget;
}

QLabel* SolarSystemObjectDetailView::makeSourceLine()
{
    const Strings& table = strings();
    const QUrl url(QString::fromStdString(m_object.factSheetURL()), QUrl::StrictMode);
    // The address is built from fixed parts; one that does not parse is a programming error.
    Q_ASSERT(url.isValid());

    const QString link = QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline;\">%3</a>")
                             .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), colors::orange.name(),
                                 table.text("NSSDCA").toHtmlEscaped());
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("source_line"));
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<span style=\"white-space:pre\">%1%2</span>%3")
                       .arg(table.text("source").toHtmlEscaped(), table.text(" ").toHtmlEscaped(), link));
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    presentAsLink(label, table.joined(std::vector<std::string> { "source", " ", "NSSDCA" }));
    connect(label, &QLabel::linkActivated, this, [url](const QString&) { QDesktopServices::openUrl(url); });
    return label;
}

} // namespace heliora
