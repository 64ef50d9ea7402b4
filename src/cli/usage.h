#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace heliora::cli {

/// Defaults and limits that the usage names and the commands apply.
namespace limits {
    inline constexpr double defaultRadius = 100; ///< positions --radius
    inline constexpr double defaultDiameter = 400; ///< render --diameter
    inline constexpr double largestDiameter = 4096;
    inline constexpr double smallestScale = 0.5; ///< render --scale
    inline constexpr double largestScale = 4;
    /// The most pixels that render draws into one picture: 8192 × 8192, 256 MiB of memory.
    inline constexpr double largestPixelCount = 8192.0 * 8192.0;
} // namespace limits

/// One option of a command, as its usage shows it and as the parser and the error lines read it.
struct OptionUsage {
    QString name; ///< the long name without dashes: "scale" is --scale
    QString shortName; ///< a one-letter alias ("o" is -o), or empty
    QString value; ///< the value's placeholder in the usage ("S"); empty for a switch
    QString needs; ///< what the value must be, for error lines: "a number from 0.5 to 4"
    QString help; ///< one line for the usage

    /// "--scale", or "-o" when the option has a short name: how error lines name it.
    QString flag() const;
};

/// One argument that stands without an option (BODY, URL).
struct PositionalUsage {
    QString name; ///< the placeholder: "BODY"
    QString needs; ///< what it must be, for error lines: "one of sun, mercury ... pluto"
};

/// One form of a command ("render", "link build"): the one table from which heliora-cli prints its usage and
/// reads its command lines, and which the README's usage block repeats line for line.
struct CommandUsage {
    QString name; ///< "render", "link build"
    QStringList synopsis; ///< what follows "heliora-cli NAME " in the usage, one entry per line
    QString summary; ///< what the command does and prints
    std::vector<PositionalUsage> positionals; ///< required, in order
    std::vector<OptionUsage> options; ///< without --help, which every command takes

    /// The first word of the name: the command that the dispatcher runs ("link" for "link build").
    QString group() const;
};

/// Every form of every command, in the order of the usage.
const std::vector<CommandUsage>& commandUsages();

/// The form with this name ("render", "link build"); dies on a name that the table lacks (a programming error).
const CommandUsage& commandUsage(QStringView name);

/// The names of the commands ("positions", ... "help"), each once, in the order of the usage.
QStringList commandNames();

/// What `heliora-cli help` prints: every synopsis, then what the placeholders mean.
QString overviewText();

/// What `heliora-cli help COMMAND` and `heliora-cli COMMAND --help` print for a command ("link") or one of its
/// forms ("link build"): the synopses, what each form does and its options. Empty for an unknown command.
QString commandHelpText(QStringView command);

} // namespace heliora::cli
