#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

namespace heliora::test {

/// The bytes of a file; "<unreadable>" when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Replaces a file's bytes (creating the file); false when that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// Every entry of a folder, hidden ones, links, FIFOs and sockets too: what a test left behind.
inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace heliora::test
