#include "counter/gui.h"

#include "app/menus.h"
#include "app/ui.h"
#include "shop/prefs.h"
#include "shop/state.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>

namespace {
QPointer<GUI> theGui;
}

GUI::GUI(QWidget *parent) : QMainWindow(parent)
{
    theGui = this;
    setObjectName(QStringLiteral("GUI"));
    setWindowTitle(QStringLiteral("GUI"));
    setMenuBar(menus::buildMenuBar1(this));
    auto *content = new QWidget(this);
    content->setObjectName(QStringLiteral("GUIContent"));
    content->setFixedSize(683, 590);
    ui::paintBackground(content);
    setCentralWidget(content);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

GUI::~GUI() = default;

GUI *GUI::instance()
{
    return theGui;
}

QAction *GUI::SoundSoundOn() const
{
    return menus::findItem(menuBar(), QStringLiteral("SoundSoundOn"));
}

QAction *GUI::SoundSoundOff() const
{
    return menus::findItem(menuBar(), QStringLiteral("SoundSoundOff"));
}

void GUI::Event_Open()
{
    Start();
}

void GUI::Start()
{
    prefModule::loadPrefs();
    move(prefModule::Window1Left, prefModule::Window1Top);
}

void GUI::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    Event_Moved();
}

void GUI::Event_Moved()
{
    prefModule::Window1Top = y();
    prefModule::Window1Left = x();
}

void GUI::closeEvent(QCloseEvent *event)
{
    Event_Close();
    event->accept();
}

void GUI::Event_Close()
{
    prefModule::savePrefs();
    QApplication::quit();
}
