// Start-up, memory and idle cost of a program's first window, measured from X
// events: the time from exec to the first MapNotify and Expose of a top-level
// window, the resident memory a second later, and the CPU used over three idle
// seconds. Runs the programs interleaved (A B A B …) on the current DISPLAY,
// each with a fresh HOME and no session bus, and prints medians.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double startMs = -1;
    double rssMb = 0;
    double idleCpuPercent = 0;
};

double rssMb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

double cpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

Sample runOnce(const char *program, int index)
{
    Sample s;
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startup_bench: cannot open the display\n");
        std::exit(2);
    }
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    char home[] = "/tmp/zbench-home-XXXXXX";
    if (!mkdtemp(home))
        std::exit(2);

    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }

    // The window's first Expose marks it visible. A fast program can map and
    // expose its window before this process has asked for the Expose events
    // of the newly created window; then the MapNotify time stands in.
    Window mapped = 0;
    double mapMs = -1;
    const int fd = ConnectionNumber(dpy);
    while (s.startMs < 0) {
        if (!XPending(dpy)) {
            pollfd p{fd, POLLIN, 0};
            const int wait = mapped ? 200 : 10000;
            if (poll(&p, 1, wait) <= 0) {
                if (mapped)
                    s.startMs = mapMs;
                break; // no window within ten seconds, or no Expose after the map
            }
            continue;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        const double now = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
            XSelectInput(dpy, ev.xcreatewindow.window, ExposureMask | StructureNotifyMask);
        } else if (ev.type == MapNotify && !mapped && ev.xmap.event == root) {
            mapped = ev.xmap.window;
            mapMs = now;
        } else if (ev.type == Expose && mapped && ev.xexpose.window == mapped) {
            s.startMs = now;
        }
    }
    XCloseDisplay(dpy);

    if (s.startMs >= 0) {
        usleep(1000 * 1000);
        s.rssMb = rssMb(pid);
        const double c0 = cpuSeconds(pid);
        usleep(3000 * 1000);
        s.idleCpuPercent = (cpuSeconds(pid) - c0) / 3.0 * 100.0;
    } else {
        std::fprintf(stderr, "startup_bench: run %d of %s showed no window\n", index, program);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::string rm = std::string("rm -rf '") + home + "'";
    if (std::system(rm.c_str()) != 0)
        std::fprintf(stderr, "startup_bench: could not remove %s\n", home);
    return s;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM FLOOR [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    std::vector<double> start[2], rss[2], cpu[2];
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 2; ++which) {
            const Sample s = runOnce(argv[1 + which], i);
            if (s.startMs < 0)
                continue;
            start[which].push_back(s.startMs);
            rss[which].push_back(s.rssMb);
            cpu[which].push_back(s.idleCpuPercent);
        }
    }
    const double a = median(start[0]), b = median(start[1]);
    std::printf("%-22s %12s %12s %10s\n", "", "zingaroo", "floor", "ratio");
    std::printf("%-22s %12.1f %12.1f %10.2f\n", "start-up, ms (median)", a, b, b > 0 ? a / b : 0.0);
    std::printf("%-22s %12.1f %12.1f %+10.1f\n", "RSS after 1 s, MB", median(rss[0]), median(rss[1]),
                median(rss[0]) - median(rss[1]));
    std::printf("%-22s %12.2f %12.2f\n", "idle CPU over 3 s, %", median(cpu[0]), median(cpu[1]));
    std::printf("%-22s %12zu %12zu\n", "runs", start[0].size(), start[1].size());
    return start[0].empty() || start[1].empty() ? 1 : 0;
}
