#pragma once

#include "planet.h"

#include <QString>
#include <QWidget>

#include <ostream>

namespace heliora {

/// Names a body in test names and failure messages.
inline void PrintTo(const SolarSystemObject& object, std::ostream* os) { *os << object.localizationKey(); }

} // namespace heliora

namespace heliora::test {

/// The app tests share one QApplication with Heliora's look, English texts and United States numbers, made
/// before the first test. This guard switches texts and numbers to another locale for one test.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const char* posixLocale);
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
};

/// The text of the label named `name` inside `parent`, or a note that there is none.
QString labelText(const QWidget* parent, const char* name);

/// What assistive technologies read for the widget.
QString accessibleName(QWidget* widget);

} // namespace heliora::test
