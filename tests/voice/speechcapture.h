#pragma once
// Records what the sound server plays (the monitor of its null sink) and finds
// the clips of a sentence in the recording. Shared by the real-sound test and
// the speech benchmark.
#include "voice/player.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QVector>

#include <cmath>
#include <cstring>
#include <utility>

namespace speechcapture {

constexpr int rate = voice::Sound::sampleRate; // the recording's rate
constexpr int window = rate / 200;             // 5 ms envelope windows

// parec on "<sink>.monitor", mono 16-bit at the clips' rate. Each chunk read is
// stamped, so a sample's arrival time can be compared with the program's clock.
class Recorder
{
public:
    explicit Recorder(const QString &sink) : m_sink(sink) {}
    ~Recorder() { stop(); }

    static bool available() { return !QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty(); }

    bool start(const QElapsedTimer *clock)
    {
        m_clock = clock;
        QObject::connect(&m_proc, &QProcess::readyReadStandardOutput, [this] { take(); });
        m_proc.start(QStringLiteral("parec"),
                     {QStringLiteral("-d"), m_sink + QStringLiteral(".monitor"),
                      QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(rate),
                      QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
        return m_proc.waitForStarted(5000);
    }
    void stop()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        take();
        m_proc.terminate();
        if (!m_proc.waitForFinished(3000)) {
            m_proc.kill();
            m_proc.waitForFinished(3000);
        }
    }
    qint64 samples() const { return m_bytes.size() / 2; }
    QVector<qint16> pcm() const
    {
        QVector<qint16> out(samples());
        std::memcpy(out.data(), m_bytes.constData(), size_t(out.size()) * 2);
        return out;
    }
    // Program clock (ms) at which sample i was recorded, from the chunk stamps:
    // a chunk's last sample arrived when the chunk was read.
    double timeOfSample(qint64 i) const
    {
        for (const auto &[endSample, ms] : m_stamps)
            if (i < endSample)
                return ms - double(endSample - 1 - i) * 1000.0 / rate;
        return m_stamps.isEmpty() ? 0 : m_stamps.last().second;
    }

private:
    void take()
    {
        const QByteArray chunk = m_proc.readAllStandardOutput();
        if (chunk.isEmpty())
            return;
        m_bytes += chunk;
        if (m_clock)
            m_stamps.append({samples(), double(m_clock->nsecsElapsed()) / 1e6});
    }

    QString m_sink;
    QProcess m_proc;
    QByteArray m_bytes;
    const QElapsedTimer *m_clock = nullptr;
    QVector<std::pair<qint64, double>> m_stamps;
};

inline QVector<double> envelope(const qint16 *s, qint64 n)
{
    QVector<double> env(n / window);
    for (qint64 w = 0; w < env.size(); ++w) {
        double sum = 0;
        for (int k = 0; k < window; ++k)
            sum += double(s[w * window + k]) * s[w * window + k];
        env[w] = std::sqrt(sum / window);
    }
    return env;
}

inline QVector<double> envelope(const QByteArray &pcm)
{
    return envelope(reinterpret_cast<const qint16 *>(pcm.constData()), pcm.size() / 2);
}

// Pearson correlation of n samples of a against n samples of b (1 = identical
// shape, -1 when either is flat).
template <typename A, typename B>
inline double pearson(const A *a, const B *b, qint64 n)
{
    double ma = 0, mb = 0;
    for (qint64 i = 0; i < n; ++i) {
        ma += a[i];
        mb += b[i];
    }
    ma /= n;
    mb /= n;
    double sab = 0, saa = 0, sbb = 0;
    for (qint64 i = 0; i < n; ++i) {
        const double x = a[i] - ma, y = b[i] - mb;
        sab += x * y;
        saa += x * x;
        sbb += y * y;
    }
    return (saa > 0 && sbb > 0) ? sab / std::sqrt(saa * sbb) : -1;
}

// Pearson correlation of a against b[from .. from + a.size()).
inline double correlation(const QVector<double> &a, const QVector<double> &b, qint64 from)
{
    const qint64 n = a.size();
    if (from < 0 || from + n > b.size() || n == 0)
        return -1;
    return pearson(a.constData(), b.constData() + from, n);
}

struct Found
{
    qint64 startSample = -1; // where the clip was found in the recording
    double match = -1;       // correlation of its waveform there (1 = identical)
    double gapMs = 0;        // silence added before it (0 = right after the previous clip)
};

// Pearson correlation of the clip's samples against rec[from .. from + n).
inline double waveMatch(const qint16 *clip, qint64 n, const QVector<qint16> &rec, qint64 from)
{
    if (from < 0 || from + n > rec.size() || n == 0)
        return -1;
    return pearson(clip, rec.constData() + from, n);
}

// Finds the clips one after another in the recording: the first anywhere, each
// later one from just before where the previous one ended up to maxGapMs after.
// The loudness curves find each clip roughly, the waveforms to the sample.
inline QVector<Found> findClips(const QVector<qint16> &recording, const QVector<QByteArray> &clips,
                                double maxGapMs = 500)
{
    const QVector<double> rec = envelope(recording.constData(), recording.size());
    QVector<Found> found;
    qint64 expected = -1; // sample where the clip should start
    for (const QByteArray &clip : clips) {
        const QVector<double> env = envelope(clip);
        qint64 lo = 0, hi = rec.size() - env.size();
        if (expected >= 0) {
            lo = std::max<qint64>(0, expected / window - 4);
            hi = std::min<qint64>(hi, (expected + qint64(maxGapMs * rate / 1000)) / window + 1);
        }
        qint64 coarse = -1;
        double bestEnv = -2;
        for (qint64 s = lo; s <= hi; ++s) {
            const double c = correlation(env, rec, s);
            if (c > bestEnv) {
                bestEnv = c;
                coarse = s;
            }
        }
        Found best;
        if (coarse >= 0) {
            const auto *samples = reinterpret_cast<const qint16 *>(clip.constData());
            const qint64 n = clip.size() / 2;
            for (qint64 at = coarse * window - 8 * window; at <= coarse * window + 8 * window; ++at) {
                const double c = waveMatch(samples, n, recording, at);
                if (c > best.match) {
                    best.match = c;
                    best.startSample = at;
                }
            }
        }
        if (expected >= 0 && best.startSample >= 0)
            best.gapMs = double(best.startSample - expected) * 1000.0 / rate;
        found.append(best);
        if (best.startSample < 0)
            break;
        expected = best.startSample + clip.size() / 2;
    }
    return found;
}

// First sample louder than the threshold (dBFS), or -1.
inline qint64 firstSound(const qint16 *s, qint64 n, double dbfs = -40)
{
    const double t = 32768.0 * std::pow(10.0, dbfs / 20);
    for (qint64 i = 0; i < n; ++i)
        if (std::abs(int(s[i])) > t)
            return i;
    return -1;
}

// Whether the recording holds some sound followed by at least quietMs of quiet:
// the sentence has come out whole, whatever the server's latency.
inline bool soundThenQuiet(const QVector<qint16> &rec, double quietMs = 400, double dbfs = -40)
{
    const qint64 quiet = qint64(quietMs * rate / 1000);
    if (rec.size() <= quiet || firstSound(rec.constData(), rec.size(), dbfs) < 0)
        return false;
    return firstSound(rec.constData() + rec.size() - quiet, quiet, dbfs) < 0;
}

} // namespace speechcapture
