// The cli tests' one application: they run heliora-cli's commands in their own process too, which paint without
// widgets, as the program does.

#include "support/widgetapplication.h"

#include <QGuiApplication>

[[maybe_unused]] const auto* const app = heliora::test::addApplication<QGuiApplication>();
