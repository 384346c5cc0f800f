#pragma once
// The application object: owns the menu handlers and starts the counter window.
#include <QApplication>
#include <QPointer>

class GUI;
class QAction;

class App : public QApplication
{
    Q_OBJECT
public:
    App(int &argc, char **argv);
    ~App() override;

    // The seven menu handlers, found by menu item name.
    bool _SoundSoundOn_Action();
    bool _SoundSoundOff_Action();
    bool _AppleAbout_Action();
    bool _CheckforUpdateCheckNow_Action();
    bool _PricesShow_Action();
    bool _HelpShow_Action();
    bool _FilePrintHelp_Action();

    // Accessors of the Sound items in the application's bar (the counter window's).
    QAction *SoundSoundOn() const;
    QAction *SoundSoundOff() const;

    // Creates the counter window, whose opening starts the game, and shows it.
    GUI *lateStartUp();

    GUI *gui() const;

private:
    void registerHandlers();
    QPointer<GUI> m_gui;
};
