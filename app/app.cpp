#include "app/app.h"

#include "app/menus.h"
#include "app/ui.h"
#include "buildinfo.h"
#include "counter/gui.h"
#include "help/aboutbox.h"
#include "help/help.h"
#include "prices/prices.h"
#include "shop/state.h"
#include "update/selftest.h"

#include <QAction>
#include <QIcon>
#include <QTimer>

App::App(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Zingaroo"));
    setApplicationVersion(QString::fromLatin1(buildinfo::shortVersion));
    // Lets desktops match the window to the installed launcher and icon.
    setDesktopFileName(QStringLiteral("com.example.zingaroo"));
    // Looking the icon up in the theme costs several milliseconds: do it
    // once the first window is on screen.
    QTimer::singleShot(0, this, [] { setWindowIcon(QIcon::fromTheme(QStringLiteral("zingaroo"))); });
    // The counter window's close ends the program; other windows never do.
    setQuitOnLastWindowClosed(false);
    ui::installFontSubstitutions();
    registerHandlers();
}

GUI *App::gui() const
{
    return m_gui;
}

App::~App()
{
    menus::clearAppHandlers();
    delete m_gui;
}

void App::registerHandlers()
{
    const std::pair<const char *, bool (App::*)()> table[] = {
        {"SoundSoundOn", &App::_SoundSoundOn_Action},
        {"SoundSoundOff", &App::_SoundSoundOff_Action},
        {"AppleAbout", &App::_AppleAbout_Action},
        {"CheckforUpdateCheckNow", &App::_CheckforUpdateCheckNow_Action},
        {"PricesShow", &App::_PricesShow_Action},
        {"HelpShow", &App::_HelpShow_Action},
        {"FilePrintHelp", &App::_FilePrintHelp_Action},
    };
    for (const auto &[name, handler] : table)
        menus::setAppHandler(QString::fromLatin1(name), [this, h = handler] { return (this->*h)(); });
}

GUI *App::lateStartUp()
{
    m_gui = new GUI();
    m_gui->Event_Open();
    m_gui->show();
    return m_gui;
}

QAction *App::SoundSoundOn() const
{
    return m_gui ? m_gui->SoundSoundOn() : nullptr;
}

QAction *App::SoundSoundOff() const
{
    return m_gui ? m_gui->SoundSoundOff() : nullptr;
}

static void setChecked(QAction *action, bool on)
{
    if (action)
        action->setChecked(on);
}

bool App::_SoundSoundOn_Action()
{
    prefModule::MySound = true;
    setChecked(SoundSoundOn(), true);
    setChecked(SoundSoundOff(), false);
    prefModule::SoundFlag = QStringLiteral("SoundOn");
    return false;
}

bool App::_SoundSoundOff_Action()
{
    prefModule::MySound = false;
    setChecked(SoundSoundOff(), true);
    setChecked(SoundSoundOn(), false);
    prefModule::SoundFlag = QStringLiteral("SoundOff");
    return false;
}

bool App::_AppleAbout_Action()
{
    showAbout();
    return false;
}

bool App::_CheckforUpdateCheckNow_Action()
{
    showSelfTest();
    return false;
}

bool App::_PricesShow_Action()
{
    showPrices();
    return false;
}

bool App::_HelpShow_Action()
{
    showHelp();
    return false;
}

bool App::_FilePrintHelp_Action()
{
    return printHelpFromApp();
}
