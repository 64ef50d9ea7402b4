#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace heliora {

/// The information block of the settings window's information tab: white text, centred, in five blocks from
/// top to bottom: the name with its version and the build; the link to the phone edition; the invitation to
/// comment with the social page and the feedback address; the privacy and terms links and the developer
/// credit; the credit for the planetary data with the archive's address. The addresses are Heliora's own
/// (app/product.h).
///
/// Every link is drawn orange and underlined and opens with the desktop's handler for its scheme (browser,
/// mail program); nothing else in the block reacts to clicks. Each line that holds a link is one label, read
/// by assistive technologies as one phrase: "Email: feedback@heliora.app", "Privacy Policy・Terms and
/// Conditions", ...
///
/// Labels that tests and tools look up by object name: "name_and_version", "build", "phone_edition",
/// "comments", "social", "email", "legal", "developer", "data_credit", "data_archive".
class InfoView : public QWidget {
    Q_OBJECT
public:
    InfoView(const QString& appName, const QString& appVersion, const QString& appBuild, QWidget* parent = nullptr);

    /// Fills the "%@" placeholders of a format in order ("%@ %@" with "Heliora", "1.0.0" gives "Heliora 1.0.0").
    /// Placeholders beyond the arguments stay as they are; arguments beyond the placeholders are dropped.
    static QString fillPlaceholders(QString format, const QStringList& arguments);
};

} // namespace heliora
