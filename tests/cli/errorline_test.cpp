// The one-line error messages of heliora-cli: a line stays one line, and errors carry their whole line.

#include "cli/errorline.h"

#include <gtest/gtest.h>

namespace heliora::cli {
namespace {

    // Text that reaches a message without quoting (a system's error text, a file name in it) cannot break the line.
    TEST(ErrorLine, StaysOneLineWhateverTheMessageHolds)
    {
        const QString line = errorLine(u"render", QStringLiteral("cannot write a\nb: \x1b[31mfull\u2028"));
        EXPECT_EQ(line, QStringLiteral("heliora-cli: render: cannot write a\\nb: \\x1b[31mfull\\u2028"));
    }

    TEST(ErrorLine, ErrorsCarryTheirWholeLine)
    {
        const UsageError usage(u"facts", QStringLiteral("BODY must be one of sun") + got(u"a\nb"));
        EXPECT_STREQ(usage.what(), "heliora-cli: facts: BODY must be one of sun (got \"a\\nb\")");
        // The form that names no command, as the settings command has used it.
        EXPECT_STREQ(UsageError(std::string("settings: expected get")).what(), "heliora-cli: settings: expected get");
    }

} // namespace
} // namespace heliora::cli
