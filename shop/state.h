#pragma once
// The shop state shared by every window, as module-wide variables. Only the
// user-interface thread touches them.
#include <QList>
#include <QString>
#include <QtGlobal>

struct directiveClass {
    QString text; // everything after the first blank
    QString name; // between "#" and the first blank, lower-cased
};

namespace prefModule {

inline QString Item1, Item2, Item3, Item4, Item5, Item6, Item7, Item8;
inline QString Item1Sale, Item2Sale, Item3Sale, Item4Sale, Item5Sale, Item6Sale, Item7Sale, Item8Sale;
inline QString SaleFlag;
inline QString SoundFlag;
inline bool MySound = false;
inline bool PleaseFlag = false;
inline qint32 subtotal = 0;
inline double number = 0;
inline qint32 Money = 0;
inline double Dollars = 0;
inline qint32 Window1Top = 0;
inline qint32 Window1Left = 0;
inline QList<directiveClass> gDirectives;

// Item n's regular and sale price by number (n = 1 … 8), for table-driven code.
QString &item(int n);
QString &itemSale(int n);

// Whether the saved switch texts mean "on" (compared without regard to case).
bool saleIsOn();
bool soundIsOn();

// Back to the values at program start (used by tests that start the game twice).
void resetToProgramStart();

} // namespace prefModule
