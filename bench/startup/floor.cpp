// The floor for start-up figures: the smallest Qt Widgets program that opens
// a window of the counter's size and links QtMultimedia, as any Qt program
// with sound does.
#include <QApplication>
#include <QAudioFormat>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QAudioFormat format; // keeps QtMultimedia linked and loaded
    format.setSampleRate(16000);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.resize(683, 590 + format.sampleRate() / 16000 - 1);
    window.show();
    return app.exec();
}
