// The shared setting's read and write, per call, as the programs pay them: a holder reads the file afresh on every
// read; a write takes the lock, reads, stages, syncs and renames. Files: what QSettings writes (small), a file with
// many other lines (64 KiB), the nested-variant attack (330 KB) and the largest file that is read (1 MiB).

#include "settings/settingstext.h"
#include "settings/sharedsettings.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

using namespace heliora;

enum FileKind { Small, ManyLines, NestedVariant, Largest };

QByteArray contents(int kind)
{
    switch (kind) {
    case Small:
        return "[General]\nshow_pluto=true\n";
    case ManyLines: {
        QByteArray bytes = "[General]\n";
        for (int i = 0; bytes.size() < 64 * 1024; ++i)
            bytes += "key" + QByteArray::number(i) + "=some value of a hand-edited file\n";
        return bytes + "show_pluto=true\n[window]\nwidth=500\n";
    }
    case NestedVariant:
        return "[General]\nshow_pluto=" + QByteArray("@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(11'000)
            + QByteArray(11'000, ')') + "\n";
    default:
        return "[General]\nshow_pluto=true\n;" + QByteArray(int(largestSettingsFile) - 29, 'x') + "\n";
    }
}

// A configuration folder of the benchmark's own, holding the file of one kind.
struct Folder {
    explicit Folder(int kind)
    {
        setenv("XDG_CONFIG_HOME", folder.path().toUtf8().constData(), 1);
        QFile file(SharedSettings::suiteFilePath());
        if (file.open(QIODevice::WriteOnly))
            file.write(contents(kind));
    }
    ~Folder() { unsetenv("XDG_CONFIG_HOME"); }
    QTemporaryDir folder;
};

void read(benchmark::State& state)
{
    const Folder folder(static_cast<int>(state.range(0)));
    const SharedSettings holder;
    for (auto _ : state)
        benchmark::DoNotOptimize(holder.showPluto());
}
BENCHMARK(read)->ArgName("file")->DenseRange(Small, Largest);

// What the scan itself costs, without the system calls.
void scanInMemory(benchmark::State& state)
{
    const std::string bytes = contents(static_cast<int>(state.range(0))).toStdString();
    for (auto _ : state)
        benchmark::DoNotOptimize(readSettingsText(bytes).showPluto);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(scanInMemory)->ArgName("file")->DenseRange(Small, Largest);

// Alternating values, so that every write changes the file (a write of the stored value changes nothing).
void write(benchmark::State& state)
{
    const Folder folder(static_cast<int>(state.range(0)));
    SharedSettings holder;
    bool value = true;
    for (auto _ : state) {
        value = !value;
        if (!holder.setShowPluto(value)) {
            state.SkipWithError(holder.lastError().toUtf8().constData());
            break;
        }
    }
}
BENCHMARK(write)->ArgName("file")->Arg(Small)->Arg(ManyLines)->Arg(Largest)->UseRealTime();

} // namespace
