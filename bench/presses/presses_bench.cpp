// How long a press on the counter window keeps the player waiting: each kind
// of press is run through its handler on the real window, shown, with sound
// off, followed by everything it leaves for the event loop (the repaint and the
// flush of the window's contents), and timed in nanoseconds.
//
// Usage: zbench_presses [presses per kind (1000)] [only this kind]
// Prints a table; never fails. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise, with a temporary home and preferences folder of its own.
#include "app/app.h"
#include "counter/gui.h"
#include "shop/prefs.h"
#include "shop/state.h"
#include "voice/player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <time.h>
#include <vector>

namespace {

constexpr double targetUs = 2000;

struct Kind {
    const char *name;
    // Brings the window to the state in which this press is usual (not timed).
    std::function<void(GUI &)> prepare;
    // The press itself; i counts the presses of this kind.
    std::function<void(GUI &, int i)> press;
};

struct Figures {
    double firstUs, medianUs, p95Us, maxUs;
    double cpuMedianUs, cpuP95Us; // the thread's own CPU time: what the press costs, whatever else runs
};

qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Nearest-rank percentile of sorted samples.
double percentile(const std::vector<qint64> &sorted, double p)
{
    if (sorted.empty())
        return 0;
    size_t rank = size_t(p / 100.0 * double(sorted.size()) + 0.999999);
    rank = std::clamp<size_t>(rank, 1, sorted.size());
    return double(sorted[rank - 1]) / 1000.0;
}

Figures measure(GUI &gui, const Kind &kind, int count)
{
    // Nothing left over from the previous kind may land in this one's time.
    QCoreApplication::processEvents();
    kind.prepare(gui);
    QCoreApplication::processEvents();

    std::vector<qint64> ns, cpu;
    ns.reserve(size_t(count));
    cpu.reserve(size_t(count));
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const qint64 cpuStart = threadCpuNs();
        timer.start();
        kind.press(gui, i);
        // Whatever the handler posted (updates of the fields it changed, the
        // flush to the screen) is part of what the player waits for.
        QCoreApplication::processEvents();
        ns.push_back(timer.nsecsElapsed());
        cpu.push_back(threadCpuNs() - cpuStart);
    }
    const double first = double(ns.front()) / 1000.0;
    std::sort(ns.begin(), ns.end());
    std::sort(cpu.begin(), cpu.end());
    return {first, percentile(ns, 50), percentile(ns, 95), double(ns.back()) / 1000.0,
            percentile(cpu, 50), percentile(cpu, 95)};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's own configuration: a home of our own for the whole run.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::printf("  (no temporary folder: press latency not measured)\n");
        return 0;
    }
    const QByteArray homePath = home.path().toLocal8Bit();
    qputenv("HOME", homePath);
    qputenv("XDG_CONFIG_HOME", homePath + "/.config");
    qputenv("XDG_DATA_HOME", homePath + "/.local/share");
    qputenv("XDG_CACHE_HOME", homePath + "/.cache");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QDir().mkpath(home.path() + QStringLiteral("/run"));
        QFile::setPermissions(home.path() + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", homePath + "/run");
    }

    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();

    App app(argc, argv);
    prefModule::setPrefsFolder(home.path() + QStringLiteral("/prefs"));
    // Sound off as the player sets it, and a player that only counts what it
    // is asked to say, so that no press can wait on a sound however the switch is set.
    voice::RecordingPlayer silent;
    voice::setPlayer(&silent);

    GUI *gui = app.lateStartUp();
    app._SoundSoundOff_Action();
    // Let the window appear and paint once, as it would before a first press.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();

    const Kind kinds[] = {
        {"item", [](GUI &g) { g.BevelButton11_Action(); },
         [](GUI &g, int i) { g.BevelButton_Action(1 + i % 8); }},
        {"-1", [](GUI &g) { for (int i = 0; i < 1000; ++i) g.BevelButton_Action(1 + i % 8); },
         [](GUI &g, int i) { g.Canvas_MouseDown(1 + i % 8, 10, 10); }},
        {"money", [](GUI &g) { g.BevelButton11_Action(); g.BevelButton_Action(5); g.BevelButton9_Action(); },
         [](GUI &g, int i) { g.Canvas_MouseDown(9 + i % 7, 22, 22); }},
        {"Total", [](GUI &g) { g.BevelButton11_Action(); g.BevelButton_Action(1); g.BevelButton_Action(5); },
         [](GUI &g, int) { g.BevelButton9_Action(); }},
        {"OK", [](GUI &g) { g.Canvas_MouseDown(9, 22, 22); g.Canvas_MouseDown(9, 22, 22); },
         [](GUI &g, int) { g.OK_Action(); }},
        {"Next Order", [](GUI &) {},
         [](GUI &g, int i) { if (i % 2) g.BevelButton_Action(1); else g.BevelButton11_Action(); }},
    };

    std::printf("  %d presses of each kind on the shown counter window, sound off, repaint included (%s)\n",
                count, qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-11s %9s %9s %9s %9s %9s %9s  %s\n", "press", "first", "median", "p95", "max", "cpu med",
                "cpu p95", "target ≤ 2 ms");
    std::printf("  %-11s %9s %9s %9s %9s %9s %9s\n", "", "µs", "µs", "µs", "µs", "µs", "µs");
    bool allMet = true;
    for (const Kind &kind : kinds) {
        if (!only.isEmpty() && only != kind.name)
            continue;
        const Figures f = measure(*gui, kind, count);
        const bool met = f.maxUs <= targetUs;
        allMet = allMet && met;
        std::printf("  %-11s %9.0f %9.0f %9.0f %9.0f %9.0f %9.0f  %s\n", kind.name, f.firstUs, f.medianUs, f.p95Us,
                    f.maxUs, f.cpuMedianUs, f.cpuP95Us, met ? "met" : "missed (max)");
    }
    std::printf("  clips asked for with sound off: %lld\n", static_cast<long long>(silent.heard.size()));
    if (!allMet)
        std::printf("  a press took over 2 ms: compare the wall times with the thread's CPU time to tell its\n"
                    "  own cost from waiting for a busy machine\n");

    // Close without the closing handler's save: the temporary home goes away anyway.
    delete gui;
    voice::setPlayer(nullptr);
    return 0;
}
