#pragma once
// The counter window: where orders are taken and paid.
#include <QMainWindow>

class QAction;

class GUI : public QMainWindow
{
    Q_OBJECT
public:
    explicit GUI(QWidget *parent = nullptr);
    ~GUI() override;

    // The opening: runs Start, which loads the preferences and places the window.
    void Event_Open();
    void Start();

    // Menu item accessors of the window's bar.
    QAction *SoundSoundOn() const;
    QAction *SoundSoundOff() const;

    // The single counter window, or nullptr.
    static GUI *instance();

protected:
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Event_Moved();
    void Event_Close();
};
