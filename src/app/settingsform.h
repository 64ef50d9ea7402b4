#pragma once

#include <QFont>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace heliora {

class FittingLabel;

/// The pieces that the settings window's forms share, so that the General and Viewing tabs look alike.
namespace settingsform {

    /// The standard padding around and between the parts of a form.
    inline constexpr int padding = 16;
    /// The date picker is never narrower than this, even in a locale with short dates.
    inline constexpr int datePickerMinimumWidth = 86;

    /// A section's header: the key's text in the headline font (bold), named after the key.
    QLabel* headerForKey(const char* key, QWidget* parent);
    /// A grey note under a control: one line that shrinks to half its size before it cuts the text. Named after
    /// the key.
    FittingLabel* noteForKey(const char* key, QWidget* parent);
    /// A push button with the key's text and room on either side of it (Fusion's buttons hug long texts).
    QPushButton* buttonForKey(const char* key, const char* name, QWidget* parent);
    /// A hairline across the form with the standard padding above and below.
    void addDivider(QBoxLayout* layout, QWidget* parent);
    /// The body font in the monospaced design.
    QFont monospacedFont(const QFont& body);

} // namespace settingsform
} // namespace heliora
