// Speech figures of the real player, measured through a sound server's null
// sink: the time from the call to the first sound, the silence added between
// clips, the CPU the program uses while speaking and while idle afterwards.
// Prints figures; never fails.
//
// Usage: zbench_speech [sink] [runs]   (sink defaults to $ZINGAROO_TEST_SINK)
#include "shop/state.h"
#include "speechcapture.h"
#include "voice/player.h"
#include "voice/speak.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0
           + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

double median(QVector<double> v)
{
    if (v.isEmpty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Run
{
    double firstSoundMs = -1; // call to the first sound of the first clip
    double maxGapMs = -1;     // largest silence added between two clips
    double totalGapMs = 0;
    double minMatch = 1;
    double cpuPercent = 0;   // of one core, during the call
    double callMs = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString sink = argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("ZINGAROO_TEST_SINK");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    if (sink.isEmpty() || QMediaDevices::defaultAudioOutput().isNull() || !speechcapture::Recorder::available()) {
        std::printf("speech: no sound server with a null sink (or no parec); nothing measured\n");
        return 0;
    }

    prefModule::MySound = true;
    prefModule::PleaseFlag = true;
    const voice::Clip said[] = {voice::Clip::SndTwelve, voice::Clip::SndDollars, voice::Clip::SndThirty,
                                voice::Clip::SndFour,   voice::Clip::SndCents,   voice::Clip::SndPlease};
    int loadedBefore = 0;
    for (const voice::ClipInfo &info : voice::clipTable)
        loadedBefore += voice::soundLoadTried(info.clip) ? 1 : 0;
    QVector<QByteArray> clips;
    double clipsMs = 0;
    for (voice::Clip c : said) {
        clips.append(voice::sound(c) ? voice::sound(c)->pcm : QByteArray());
        clipsMs += voice::sound(c) ? voice::sound(c)->durationMs() : 0;
    }
    if (clips.contains(QByteArray())) {
        std::printf("speech: clips missing in %s; nothing measured\n", qPrintable(voice::resourcesFolder()));
        return 0;
    }
    // Where the first clip's sound begins within the clip (its padding).
    const auto *firstClip = reinterpret_cast<const qint16 *>(clips[0].constData());
    const double leadMs = speechcapture::firstSound(firstClip, clips[0].size() / 2) * 1000.0 / speechcapture::rate;

    QElapsedTimer clock;
    clock.start();
    speechcapture::Recorder recorder(sink);
    if (!recorder.start(&clock)) {
        std::printf("speech: parec did not start\n");
        return 0;
    }
    QTest::qWait(500);

    QVector<Run> results;
    for (int r = 0; r <= runs; ++r) { // run 0 opens the audio output: reported apart
        // Long enough for the player to let the output go idle, as between orders.
        QTest::qWait(2000);
        const qint64 from = recorder.samples();
        const double t0 = double(clock.nsecsElapsed()) / 1e6;
        const double c0 = cpuMs();
        voice::SpeakPrice(1234);
        const double c1 = cpuMs();
        const double t1 = double(clock.nsecsElapsed()) / 1e6;
        QTest::qWait(1200);

        Run run;
        run.callMs = t1 - t0;
        run.cpuPercent = 100.0 * (c1 - c0) / std::max(1.0, t1 - t0);
        QVector<qint16> rec = recorder.pcm().mid(from);
        const qint64 on = speechcapture::firstSound(rec.constData(), rec.size());
        if (on >= 0)
            run.firstSoundMs = recorder.timeOfSample(from + on) - t0 - leadMs;
        const QVector<speechcapture::Found> found = speechcapture::findClips(rec, clips);
        for (int i = 0; i < found.size(); ++i) {
            run.minMatch = std::min(run.minMatch, found[i].match);
            if (i > 0) {
                run.maxGapMs = std::max(run.maxGapMs, found[i].gapMs);
                run.totalGapMs += found[i].gapMs;
            }
        }
        if (found.size() != clips.size())
            run.minMatch = -1;
        if (r == 0) {
            std::printf("first call of the run (opens the audio output): first sound %.1f ms, "
                        "added gaps %.1f ms in all, call %.0f ms\n",
                        run.firstSoundMs, run.totalGapMs, run.callMs);
            continue;
        }
        results.append(run);
        std::printf("run %d: first sound %.1f ms, largest added gap %.1f ms, added gaps %.1f ms in all, "
                    "clips matched >= %.3f, call %.0f ms\n",
                    r, run.firstSoundMs, run.maxGapMs, run.totalGapMs, run.minMatch, run.callMs);
    }

    // CPU of the program alone: the recorder's reading is work of this
    // process too, so it is stopped first.
    recorder.stop();
    QVector<double> cpu;
    for (int r = 0; r < runs; ++r) {
        QTest::qWait(2000);
        const double t0 = double(clock.nsecsElapsed()) / 1e6;
        const double c0 = cpuMs();
        voice::SpeakPrice(1234);
        const double c1 = cpuMs();
        const double t1 = double(clock.nsecsElapsed()) / 1e6;
        cpu.append(100.0 * (c1 - c0) / std::max(1.0, t1 - t0));
        std::printf("run %d without recorder: CPU %.1f %% of a core over %.0f ms\n", r + 1,
                    cpu.last(), t1 - t0);
    }

    // Idle: the output should have been let go; the program should use no CPU.
    QTest::qWait(1500);
    const double i0 = cpuMs();
    QElapsedTimer idle;
    idle.start();
    {
        // Not QTest::qWait: it wakes every 10 ms and would be measured itself.
        QEventLoop loop;
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const double idleCpu = 100.0 * (cpuMs() - i0) / double(idle.elapsed());

    QVector<double> first, gap;
    for (const Run &r : results) {
        first.append(r.firstSoundMs);
        gap.append(r.maxGapMs);
    }
    std::printf("\n$12.34 with \"please\" (%d clips, %.0f ms of clips), median of %d runs:\n",
                int(clips.size()), clipsMs, int(results.size()));
    std::printf("  added gap between clips (largest): %.1f ms   (target <= 10 ms)\n", median(gap));
    std::printf("  call to first sound:               %.1f ms   (target <= 50 ms)\n", median(first));
    std::printf("  CPU while speaking:                %.1f %% of one core   (target < 3 %%)\n", median(cpu));
    std::printf("  CPU idle afterwards (3 s):         %.2f %% of one core\n", idleCpu);
    std::printf("  clips loaded before the first call: %d\n", loadedBefore);
    return 0;
}
