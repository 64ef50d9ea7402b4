#include "app/infoview.h"

#include "app/product.h"
#include "strings/stringtable.h"
#include "views/accessibility.h"
#include "views/theme.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace heliora {

namespace {

    // Space around the blocks: the standard padding, shared by neighbouring blocks.
    constexpr int blockPadding = 8;
    constexpr char32_t katakanaMiddleDot = 0x30FB; // the separator between the two legal links
    constexpr char32_t middleDot = 0x00B7;

    QString fromView(std::string_view text)
    {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }

    QString plain(const QString& text) { return text.toHtmlEscaped(); }

    QString link(std::string_view address, const QString& label)
    {
        const QUrl url(fromView(address), QUrl::StrictMode);
        // A fixed address of the product; one that does not parse is a fault of the build.
        Q_ASSERT(url.isValid());
        return QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline;\">%3</a>")
            .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), colors::orange.name(), plain(label));
    }

    /// One line of the block: rich text for the eye, `spoken` for assistive technologies. A line with a link reacts
    /// to the mouse, takes the keyboard's focus and is a link to assistive technologies; a line of text alone is
    /// read as text.
    QLabel* line(const char* name, const QString& html, const QString& spoken, QWidget* parent, bool hasLink = true)
    {
        auto* label = new QLabel(parent);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::RichText);
        // Keeps "Email: " and its address apart as typed: rich text would fold the trailing space away.
        label->setText(QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(html));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
        if (hasLink) {
            label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
            presentAsLink(label, spoken);
        } else {
            label->setTextInteractionFlags(Qt::NoTextInteraction);
            label->setAccessibleName(spoken);
        }
        label->setOpenExternalLinks(false);
        QPalette white = label->palette();
        white.setColor(QPalette::WindowText, colors::white);
        label->setPalette(white);
        QObject::connect(label, &QLabel::linkActivated, label,
            [](const QString& href) { QDesktopServices::openUrl(QUrl(href, QUrl::StrictMode)); });
        return label;
    }

    QLabel* textLine(const char* name, const QString& text, QWidget* parent)
    {
        return line(name, plain(text), text, parent, false);
    }

    QVBoxLayout* block(QVBoxLayout* column, int padding = blockPadding)
    {
        auto* stack = new QVBoxLayout;
        stack->setContentsMargins(padding, padding, padding, padding);
        stack->setSpacing(2);
        column->addLayout(stack);
        return stack;
    }

} // namespace

QString InfoView::fillPlaceholders(QString format, const QStringList& arguments)
{
    const QLatin1String placeholder("%@");
    qsizetype from = 0;
    for (const QString& argument : arguments) {
        const qsizetype at = format.indexOf(placeholder, from);
        if (at < 0)
            break;
        format.replace(at, placeholder.size(), argument);
        from = at + argument.size(); // an argument that itself holds "%@" is not filled again
    }
    return format;
}

InfoView::InfoView(const QString& appName, const QString& appVersion, const QString& appBuild, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(blockPadding, blockPadding, blockPadding, blockPadding);
    column->setSpacing(0);

    // Name and build.
    QVBoxLayout* name = block(column);
    QLabel* nameLine = textLine("name_and_version", fillPlaceholders(text("%@ %@"), { appName, appVersion }), this);
    QFont bold = nameLine->font();
    bold.setBold(true);
    nameLine->setFont(bold);
    name->addWidget(nameLine);
    QLabel* buildLine = textLine("build", fillPlaceholders(text("Build (%@)"), { appBuild }), this);
    QFont callout = buildLine->font();
    if (callout.pointSizeF() > 0)
        callout.setPointSizeF(callout.pointSizeF() * 0.92);
    buildLine->setFont(callout);
    name->addWidget(buildLine);

    // The phone edition.
    const QString phone = text("Heliora for iOS");
    block(column)->addWidget(line("phone_edition", link(product::phoneEditionUrl, phone), phone, this));

    // Contact.
    QVBoxLayout* contact = block(column);
    contact->addWidget(textLine("comments", text("any_comments_are_welcome"), this));
    const QString handle = fromView(product::socialHandle);
    contact->addWidget(line(
        "social", plain(text("Twitter: ")) + link(product::socialPageUrl, handle), text("Twitter: ") + handle, this));
    const QString address = fromView(product::feedbackAddress);
    contact->addWidget(line(
        "email", plain(text("Email: ")) + link(product::feedbackMailto, address), text("Email: ") + address, this));

    // Legal and credit: two lines, each padded, in a block without padding of its own.
    QVBoxLayout* legal = block(column, 0);
    // The katakana middle dot where the font has it; many Latin fonts do not, and a missing glyph would show as
    // a box, so then the Latin middle dot, spaced, which reads the same.
    const QString separator = QFontMetrics(font()).inFontUcs4(katakanaMiddleDot)
        ? QString::fromUcs4(&katakanaMiddleDot, 1)
        : QStringLiteral(" %1 ").arg(QString::fromUcs4(&middleDot, 1));
    const QString privacy = text("privacy_policy");
    const QString terms = text("terms_and_conditions");
    block(legal)->addWidget(
        line("legal", link(product::privacyPolicyUrl, privacy) + plain(separator) + link(product::termsUrl, terms),
            privacy + separator + terms, this));
    const QString developer = text(product::developerNameKey);
    block(legal)->addWidget(
        line("developer", plain(text("By ")) + link(product::developerUrl, developer), text("By ") + developer, this));

    // Data credit.
    QVBoxLayout* data = block(column);
    data->addWidget(textLine("data_credit", text("planetary_positions_are_from_nssdca"), this));
    const QString archive = fromView(product::dataArchiveUrl);
    data->addWidget(line("data_archive", link(product::dataArchiveUrl, archive), archive, this));
}

} // namespace heliora
