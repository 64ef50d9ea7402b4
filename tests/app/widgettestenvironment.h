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

/// Every app test runs in one QApplication with Heliora's look, English texts and United States numbers; the
/// environment is made before the first test and torn down after the last.
/// Tests that switch the language restore it with this guard.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const char* posixLocale);
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    QString m_previous;
};

/// Runs deferred deletions, as the event loop would after a window closed.
void processDeferredDeletes();

/// The text of a named label inside `parent`, or a note that it is missing.
QString labelText(const QWidget* parent, const char* name);

} // namespace heliora::test
