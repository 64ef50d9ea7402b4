#include "settings/sharedsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace heliora {

namespace {

    constexpr int writeLockTimeoutMs = 1000;
    constexpr qint64 largestSettingsFile = 1 << 20;

    QString fromView(std::string_view text)
    {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }

    // $XDG_CONFIG_HOME when it is an absolute path (the XDG rule for ignoring relative ones), else ~/.config.
    // Read afresh on every call: QSettings' own user paths are fixed at first use.
    QString configFolder()
    {
        const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
            return QDir::cleanPath(configured);
        return QDir::homePath() + QStringLiteral("/.config");
    }

    bool canHoldFile(const QString& path)
    {
        const QFileInfo info(path);
        return (!info.exists() || info.isFile()) && QDir().mkpath(info.absolutePath());
    }

    QString ownFilePath()
    {
        QString program = QCoreApplication::applicationName();
        if (program.isEmpty())
            program = QStringLiteral("heliora");
        return configFolder() + QStringLiteral("/heliora/") + program + QStringLiteral(".conf");
    }

    // The holders alive in this process, told of every successful write.
    std::vector<SharedSettings*>& holders()
    {
        static std::vector<SharedSettings*> live;
        return live;
    }

    bool readsAsTrue(const QVariant& value)
    {
        if (value.typeId() == QMetaType::Bool)
            return value.toBool();
        const QString text = value.toString().trimmed();
        return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1");
    }

    // Everything the file holds, when it is one that Heliora may read and rewrite: absent (no keys), or UTF-8
    // text of at most 1 MiB that Qt's INI reader parses without error. Nothing for any other file.
    //
    // The bytes are read once and parsed from a private copy. QSettings reports no error for binary garbage (it
    // finds no keys in it), and reports a malformed file only the first time that it parses it in a process:
    // later instances share the parsed file and say NoError. A fresh copy is parsed afresh every time.
    std::optional<QVariantMap> readCleanSettings(const QString& path)
    {
        QFile file(path);
        if (!file.exists())
            return QVariantMap {};
        if (file.size() > largestSettingsFile || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray bytes = file.read(largestSettingsFile + 1);
        // Invalid UTF-8 does not survive the round trip through QString.
        if (bytes.size() > largestSettingsFile || bytes.contains('\0') || QString::fromUtf8(bytes).toUtf8() != bytes)
            return std::nullopt;
        QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/heliora-settings-XXXXXX.conf"));
        if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
            return std::nullopt;
        const QSettings parsed(copy.fileName(), QSettings::IniFormat);
        if (parsed.status() != QSettings::NoError)
            return std::nullopt;
        QVariantMap values;
        const QStringList keys = parsed.allKeys();
        for (const QString& key : keys)
            values.insert(key, parsed.value(key));
        return values;
    }

    // Writes one key by building the whole new file beside the old one and renaming it over the old one, rather
    // than through QSettings::setValue and sync() on the file itself, for three reasons: sync() waits forever
    // for a lock that it cannot take (a stuck writer, or a directory where the lock file should be); a failed
    // sync() leaves the unsaved value in Qt's per-process cache of the file, where every later reader in the
    // process would see it; and a rename is atomic for readers in other processes.
    bool writeValue(const QString& path, const QString& key, const QVariant& value)
    {
        const QFileInfo info(path);
        if (info.exists() && !(info.isFile() && info.isReadable() && info.isWritable()))
            return false;
        if (!QDir().mkpath(info.absolutePath()))
            return false;
        // The lock file that QSettings itself uses, so that writers through plain QSettings wait for us too.
        QLockFile lock(path + QStringLiteral(".lock"));
        if (!lock.tryLock(writeLockTimeoutMs))
            return false;

        const auto current = readCleanSettings(path);
        if (!current)
            return false; // keep what cannot be read back as it is
        QTemporaryFile staging(path + QStringLiteral(".XXXXXX"));
        if (!staging.open())
            return false;
        staging.close();
        {
            QSettings next(staging.fileName(), QSettings::IniFormat);
            for (auto each = current->cbegin(); each != current->cend(); ++each)
                next.setValue(each.key(), each.value());
            next.setValue(key, value);
            next.sync();
            if (next.status() != QSettings::NoError)
                return false;
        }
        if (info.exists())
            QFile::setPermissions(staging.fileName(), info.permissions());
        // rename(2) replaces the old file in one step; QFile::rename refuses to replace an existing file.
        return std::rename(QFile::encodeName(staging.fileName()).constData(), QFile::encodeName(path).constData()) == 0;
    }

} // namespace

SharedSettings::SharedSettings(QObject* parent)
    : QObject(parent)
    , m_path(suiteFilePath())
{
    if (!canHoldFile(m_path))
        m_path = ownFilePath();
    holders().push_back(this);
}

SharedSettings::~SharedSettings() { std::erase(holders(), this); }

QString SharedSettings::suiteFilePath()
{
    return configFolder() + QLatin1Char('/') + fromView(settingsSuiteName) + QStringLiteral(".conf");
}

bool SharedSettings::showPluto() const
{
    const auto values = readCleanSettings(m_path);
    return values && readsAsTrue(values->value(fromView(showPlutoKey)));
}

bool SharedSettings::setShowPluto(bool value)
{
    if (!writeValue(m_path, fromView(showPlutoKey), value))
        return false;
    // A slot may destroy holders (closing a window): each is checked before it is told.
    std::vector<QPointer<SharedSettings>> toTell(holders().begin(), holders().end());
    for (const QPointer<SharedSettings>& holder : toTell) {
        if (holder)
            emit holder->showPlutoChanged(value);
    }
    return true;
}

} // namespace heliora
