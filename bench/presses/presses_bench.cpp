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
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <time.h>
#include <vector>

namespace {

constexpr double targetUs = 2000;

struct Kind {
    const char *name;
    // Brings the window to the state in which this press is usual (not timed).
    std::function<void(GUI &)> prepare;
    // Before press i, untimed: gives the press something new to show.
    std::function<void(GUI &, int i)> before;
    // The press itself.
    std::function<void(GUI &, int i)> press;
};

struct Figures {
    double firstUs, medianUs, p95Us, maxUs;
    double cpuP95Us, cpuMaxUs; // the thread's own CPU time: what the press costs, whatever else runs
};

qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Nearest-rank percentile of sorted samples, in microseconds.
double percentileUs(const std::vector<qint64> &sorted, double p)
{
    if (sorted.empty())
        return 0;
    size_t rank = size_t(p / 100.0 * double(sorted.size()) + 0.999999);
    rank = std::clamp<size_t>(rank, 1, sorted.size());
    return double(sorted[rank - 1]) / 1000.0;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Out of line, so that a profiler can collect the presses alone
// (valgrind --tool=callgrind --toggle-collect='*::timedPress(*').
[[gnu::noinline]] void timedPress(GUI &gui, const Kind &kind, int i)
{
    kind.press(gui, i);
    // Whatever the handler left posted (updates of the fields it changed, the
    // flush to the screen) is part of what the player waits for.
    QCoreApplication::processEvents();
}

Figures measure(GUI &gui, const Kind &kind, int count)
{
    settle(); // nothing left over from the previous kind lands in this one's time
    kind.prepare(gui);
    settle();

    std::vector<qint64> ns, cpu;
    ns.reserve(size_t(count));
    cpu.reserve(size_t(count));
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        if (kind.before) {
            kind.before(gui, i);
            settle();
        }
        const qint64 cpuStart = threadCpuNs();
        timer.start();
        timedPress(gui, kind, i);
        ns.push_back(timer.nsecsElapsed());
        cpu.push_back(threadCpuNs() - cpuStart);
    }
    const double first = double(ns.front()) / 1000.0;
    std::sort(ns.begin(), ns.end());
    std::sort(cpu.begin(), cpu.end());
    return {first, percentileUs(ns, 50), percentileUs(ns, 95), double(ns.back()) / 1000.0,
            percentileUs(cpu, 95), double(cpu.back()) / 1000.0};
}

// Whether what the window shows (its flushed contents) right after the last
// timed press is what a full render of it gives: a press that looks fast
// because it left part of its repaint for later shows "no".
const char *shownMatchesRender(GUI &gui)
{
    QScreen *screen = gui.screen();
    if (!screen)
        return "?";
    const QImage shown = screen->grabWindow(gui.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage rendered = gui.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (shown.isNull() || shown.size() != rendered.size())
        return "?";
    return shown == rendered ? "yes" : "no";
}

// With sound on the handlers paint before they speak, and the speech holds
// the thread: a player that compares the screen with a full render whenever a
// clip starts tells whether the faster paths still show everything in time.
struct ScreenWitness : voice::SoundPlayer {
    GUI *gui = nullptr;
    int clips = 0, stale = 0;
    void playAndWait(voice::Clip) override
    {
        ++clips;
        if (std::strcmp(shownMatchesRender(*gui), "yes") != 0)
            ++stale;
    }
};

double loadAverage()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
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
        const QString run = home.path() + QStringLiteral("/run");
        QDir().mkpath(run);
        QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", run.toLocal8Bit());
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
    settle(); // the window appears and paints once, as before a player's first press

    // Each press has something new to show: a Total after another item, an OK
    // after another coin.
    const Kind kinds[] = {
        {"item", [](GUI &g) { g.BevelButton11_Action(); }, {},
         [](GUI &g, int i) { g.BevelButton_Action(1 + i % 8); }},
        {"-1", [count](GUI &g) { for (int i = 0; i < count; ++i) g.BevelButton_Action(1 + i % 8); }, {},
         [](GUI &g, int i) { g.Canvas_MouseDown(1 + i % 8, 10, 10); }},
        {"money", [](GUI &g) { g.BevelButton11_Action(); g.BevelButton_Action(5); g.BevelButton9_Action(); }, {},
         [](GUI &g, int i) { g.Canvas_MouseDown(9 + i % 7, 22, 22); }},
        {"Total", [](GUI &g) { g.BevelButton11_Action(); },
         [](GUI &g, int i) { g.BevelButton_Action(1 + i % 8); },
         [](GUI &g, int) { g.BevelButton9_Action(); }},
        {"OK", [](GUI &g) { g.BevelButton11_Action(); g.BevelButton_Action(5); g.BevelButton9_Action(); },
         [](GUI &g, int i) { g.Canvas_MouseDown(9 + i % 7, 22, 22); },
         [](GUI &g, int) { g.OK_Action(); }},
        {"Next Order", [](GUI &) {},
         [](GUI &g, int i) { g.BevelButton_Action(1 + i % 8); },
         [](GUI &g, int) { g.BevelButton11_Action(); }},
    };

    std::printf("  %d presses of each kind on the shown counter window, sound off, repaint included\n"
                "  (platform %s, load average %.1f on %d cores)\n",
                count, qgetenv("QT_QPA_PLATFORM").constData(), loadAverage(), int(sysconf(_SC_NPROCESSORS_ONLN)));
    std::printf("  %-10s %8s %8s %8s %8s %8s %8s  %-6s %s\n", "press", "first", "median", "p95", "max", "cpu p95",
                "cpu max", "shown", "target ≤ 2 ms");
    std::printf("  %-10s %8s %8s %8s %8s %8s %8s  %-6s\n", "", "µs", "µs", "µs", "µs", "µs", "µs", "right");
    bool waited = false;
    for (const Kind &kind : kinds) {
        if (!only.isEmpty() && only != kind.name)
            continue;
        const Figures f = measure(*gui, kind, count);
        const char *verdict = "met";
        if (f.maxUs > targetUs) {
            verdict = f.cpuMaxUs <= targetUs ? "met in CPU; wall max waited for the CPU" : "MISSED";
            waited = waited || f.cpuMaxUs <= targetUs;
        }
        std::printf("  %-10s %8.0f %8.0f %8.0f %8.0f %8.0f %8.0f  %-6s %s\n", kind.name, f.firstUs, f.medianUs,
                    f.p95Us, f.maxUs, f.cpuP95Us, f.cpuMaxUs, shownMatchesRender(*gui), verdict);
    }
    std::printf("  clips asked for with sound off: %lld\n", static_cast<long long>(silent.heard.size()));

    // The same presses with sound on, untimed, each clip checked as it starts.
    ScreenWitness witness;
    witness.gui = gui;
    voice::setPlayer(&witness);
    app._SoundSoundOn_Action();
    const int checked = std::min(count, 50);
    for (const Kind &kind : kinds) {
        if (!only.isEmpty() && only != kind.name)
            continue;
        settle();
        kind.prepare(*gui);
        for (int i = 0; i < checked; ++i) {
            if (kind.before)
                kind.before(*gui, i);
            settle();
            kind.press(*gui, i);
        }
    }
    app._SoundSoundOff_Action();
    voice::setPlayer(&silent);
    std::printf("  sound on, %d presses of each kind: the screen was up to date when %d of %d clips started\n",
                checked, witness.clips - witness.stale, witness.clips);
    if (waited)
        std::printf("  (a wall time over 2 ms whose CPU time is under it is the thread waiting for a busy machine)\n");

    // Close without the closing handler's save: the temporary home goes away anyway.
    delete gui;
    voice::setPlayer(nullptr);
    return 0;
}
