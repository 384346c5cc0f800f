#include "shop/state.h"

#include "shop/rules.h"

#include <array>

namespace prefModule {

QString &item(int n)
{
    static const std::array<QString *, 8> all{&Item1, &Item2, &Item3, &Item4,
                                              &Item5, &Item6, &Item7, &Item8};
    Q_ASSERT(n >= 1 && n <= 8);
    return *all[static_cast<size_t>(n - 1)];
}

QString &itemSale(int n)
{
    static const std::array<QString *, 8> all{&Item1Sale, &Item2Sale, &Item3Sale, &Item4Sale,
                                              &Item5Sale, &Item6Sale, &Item7Sale, &Item8Sale};
    Q_ASSERT(n >= 1 && n <= 8);
    return *all[static_cast<size_t>(n - 1)];
}

bool saleIsOn()
{
    return shop::sameText(SaleFlag, QStringLiteral("SaleOn"));
}

bool soundIsOn()
{
    return shop::sameText(SoundFlag, QStringLiteral("SoundOn"));
}

void resetToProgramStart()
{
    for (int n = 1; n <= 8; ++n) {
        item(n).clear();
        itemSale(n).clear();
    }
    SaleFlag.clear();
    SoundFlag.clear();
    MySound = false;
    PleaseFlag = false;
    subtotal = 0;
    number = 0;
    Money = 0;
    Dollars = 0;
    Window1Top = 0;
    Window1Left = 0;
    gDirectives.clear();
}

} // namespace prefModule
