// The widget host tests' one QApplication.

#include "support/widgetapplication.h"

#include <QApplication>

[[maybe_unused]] const auto* const app = heliora::test::addApplication<QApplication>();
