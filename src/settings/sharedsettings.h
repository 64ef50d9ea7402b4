#pragma once

#include <QObject>
#include <QString>

#include <string_view>

namespace heliora {

/// The settings suite that the application and the desktop widgets share, and the file that holds it.
inline constexpr std::string_view settingsSuiteName = "QZ7R4K2M9T.Heliora.macOS";
/// The one key of the suite: whether Pluto and its ring are drawn. Absent means false; the default is never written.
inline constexpr std::string_view showPlutoKey = "show_pluto";

/// Access to the shared settings suite: one holder per view that shows or edits the setting, created with the
/// view. The suite is an INI file, "QZ7R4K2M9T.Heliora.macOS.conf" in the user's configuration folder
/// ($XDG_CONFIG_HOME, else ~/.config), which both programs open by that name. When the suite cannot be
/// opened (no configuration folder can be made, or the suite's name is taken by something that is not a
/// file), the holder uses the program's own file, "heliora/<program>.conf" in the same folder, instead.
///
/// Nothing is cached: every read reads the file. A write replaces the file atomically (a reader in another
/// process sees the old file or the new one, never a part of one), keeps the file's other keys and its
/// permissions (not its comments or lines that are not settings), and waits at most a second for another
/// writer. A file that is not clean settings (unreadable, not UTF-8 text, larger than 1 MiB, or malformed in
/// Qt's INI reader) reads as false and is never rewritten. Every live holder in the process is told of a
/// successful write made through any holder; other processes see the value at their next read.
/// Main thread only.
class SharedSettings : public QObject {
    Q_OBJECT
public:
    explicit SharedSettings(QObject* parent = nullptr);
    ~SharedSettings() override;

    /// The stored value; false when it is absent, unreadable, or anything but "true" or "1" (any case).
    bool showPluto() const;
    /// Stores the value at once. False when the write failed: the value was not stored, the file is unchanged
    /// and no holder is notified.
    bool setShowPluto(bool value);

    /// The file that this holder reads and writes.
    QString filePath() const { return m_path; }

    /// Where the suite's file is for the current environment.
    static QString suiteFilePath();

signals:
    /// Emitted by every live holder after a successful write through any holder, changed or not.
    void showPlutoChanged(bool value);

private:
    QString m_path;
};

} // namespace heliora
