#include "voice/player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <cstring>
#include <deque>

namespace voice {

namespace {

// The stream the audio output pulls from. It hands out the queued clips back
// to back and silence only when nothing is queued, so the output never runs
// dry in the middle of a sentence (a stream that runs dry loses the first
// milliseconds of the next clip). Opened Unbuffered: a buffered device lets
// Qt read 16 KiB ahead, which would put a third of a second of silence
// between clips.
class ClipStream : public QIODevice
{
    Q_OBJECT
public:
    using QIODevice::QIODevice;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + 4096; }

    // Queues the clip's bytes; returns the stream position at which the last
    // of them has been taken. Positions are 64-bit: a long session easily
    // passes 2 GiB of samples.
    qint64 enqueue(const QByteArray &pcm)
    {
        m_queue.push_back(pcm);
        m_queuedEnd += pcm.size();
        return m_queuedEnd;
    }
    // Drops whatever is still queued (a wait that gave up).
    void discardQueued()
    {
        m_queue.clear();
        m_offset = 0;
        m_queuedEnd = m_taken;
    }
    bool hasQueued() const { return !m_queue.empty(); }
    qint64 taken() const { return m_taken; }

signals:
    void progressed(qint64 taken);

protected:
    qint64 readData(char *data, qint64 maxlen) override
    {
        maxlen &= ~qint64(1); // whole 16-bit frames only
        if (maxlen <= 0)
            return 0;
        if (m_queue.empty()) {
            // Nothing to say: keep the stream alive with a short stretch of
            // silence, short so that a clip queued now starts soon.
            const qint64 n = std::min<qint64>(maxlen, Sound::sampleRate * 2 / 50); // 20 ms
            std::memset(data, 0, size_t(n));
            return n;
        }
        qint64 written = 0;
        while (written < maxlen && !m_queue.empty()) {
            const QByteArray &front = m_queue.front();
            const qint64 n = std::min<qint64>(maxlen - written, front.size() - m_offset);
            std::memcpy(data + written, front.constData() + m_offset, size_t(n));
            written += n;
            m_offset += n;
            if (m_offset == front.size()) {
                m_queue.pop_front();
                m_offset = 0;
            }
        }
        m_taken += written;
        emit progressed(m_taken);
        return written;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    std::deque<QByteArray> m_queue;
    qint64 m_offset = 0;    // into m_queue.front()
    qint64 m_taken = 0;     // clip bytes handed to the output so far
    qint64 m_queuedEnd = 0; // m_taken once everything queued is taken
};

// The real player: one long-lived audio output fed by ClipStream. A wait ends
// when the clip's last byte has been handed to the output, so the next clip
// follows without a gap.
class AudioPlayer : public SoundPlayer
{
public:
    void playAndWait(Clip clip) override
    {
        const Sound *s = sound(clip);
        if (!s || !ensureOutput())
            return;
        m_idle.stop();

        const QPointer<ClipStream> stream = m_stream;
        const qint64 target = stream->enqueue(s->pcm);
        QEventLoop loop;
        bool gaveUp = false;
        QObject::connect(stream, &ClipStream::progressed, &loop, [&](qint64 taken) {
            if (taken >= target)
                loop.quit();
        });
        QObject::connect(m_sink, &QAudioSink::stateChanged, &loop, [&](QAudio::State st) {
            if (st == QAudio::StoppedState) {
                gaveUp = true;
                loop.quit();
            }
        });
        // The watchdog: however the output misbehaves (a server that hangs,
        // a stream that stops pulling) the game goes on after the clip's own
        // length and a margin.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
            gaveUp = true;
            loop.quit();
        });
        watchdog.start(int(s->durationMs()) + watchdogMarginMs);

        // Repaints and timers go on; presses wait until the handler returns,
        // so one handler's clips never overlap another's.
        if (stream->taken() < target && m_sink->state() != QAudio::StoppedState)
            loop.exec(QEventLoop::ExcludeUserInputEvents);

        // A handler that spoke from inside this wait may have replaced the
        // output meanwhile; then this clip's stream is gone and so is the wait.
        if (!stream || stream != m_stream)
            return;
        if (gaveUp && stream->taken() < target) {
            // The output is lost or stuck: drop it; the next clip looks for an
            // output afresh and returns at once if there is none.
            dropOutput();
            return;
        }
        if (!stream->hasQueued())
            m_idle.start();
    }

private:
    static constexpr int watchdogMarginMs = 1500;
    static constexpr int idleSuspendMs = 1000;

    bool ensureOutput()
    {
        if (m_sink && m_sink->state() != QAudio::StoppedState)
            return true;
        dropOutput();
        if (!QCoreApplication::instance())
            return false;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false; // no audio output at all: every clip is skipped at once
        QAudioFormat format;
        format.setSampleRate(Sound::sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return false;
        m_sink = new QAudioSink(device, format, QCoreApplication::instance());
        m_stream = new ClipStream(m_sink);
        m_stream->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        if (!m_idleConnected) {
            m_idle.setSingleShot(true);
            m_idle.setInterval(idleSuspendMs);
            QObject::connect(&m_idle, &QTimer::timeout, [this] { suspendWhenIdle(); });
            m_idleConnected = true;
        }
        m_sink->start(m_stream);
        if (m_sink->state() == QAudio::StoppedState) {
            dropOutput();
            return false;
        }
        return true;
    }

    // Feeding silence costs a little CPU all the time; an idle game should
    // cost none, so the output is let go after a second with nothing to say
    // and opened afresh for the next clip. (Measured: a suspended and resumed
    // output starts sounding ~100 ms late and a restarted one now and then
    // failed to pull; a new one sounds ~20 ms after the call, and follows a
    // change of the default output device as well.)
    void suspendWhenIdle()
    {
        if (m_stream && !m_stream->hasQueued())
            dropOutput();
    }

    void dropOutput()
    {
        m_idle.stop();
        if (m_sink) {
            m_sink->disconnect();
            m_sink->stop();
            m_sink->deleteLater();
        }
        m_sink = nullptr;
        m_stream = nullptr;
    }

    QPointer<QAudioSink> m_sink;     // child of the application; gone with it
    QPointer<ClipStream> m_stream;   // child of m_sink
    QTimer m_idle;
    bool m_idleConnected = false;
};

SoundPlayer *installed = nullptr;

} // namespace

SoundPlayer &player()
{
    if (installed)
        return *installed;
    // Made on first use, so start-up opens neither the audio output nor a clip.
    static AudioPlayer *real = new AudioPlayer; // never destroyed: outlives the application object
    return *real;
}

void setPlayer(SoundPlayer *p)
{
    installed = p;
}

} // namespace voice

#include "player.moc"
