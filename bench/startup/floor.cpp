// The floor for start-up figures: the smallest Qt Widgets program that opens
// a window of the counter's size with one line of text, and loads QtMultimedia,
// as any Qt program with sound does. The text matters: the first text drawn
// starts the font system, which every window with words pays for.
#include <QApplication>
#include <QAudioFormat>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QAudioFormat format; // an out-of-line call keeps QtMultimedia loaded
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    QLabel window(QStringLiteral("Welcome"));
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(683, 589 + format.bytesForFrames(1));
    window.show();
    return app.exec();
}
