#include "help/printing.h"

#include "app/ui.h"
#include "help/help.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace helpprint {

namespace {

PrintSetup *currentSetup = nullptr;

// A font at a size in real points on the printer (the screen's layout sizes
// are pixels, which on a printer would be tiny).
QFont printFont(const QString &family, bool bold)
{
    QFont f = ui::font(family, 10, bold);
    f.setPointSizeF(10);
    return f;
}

} // namespace

std::unique_ptr<QPrinter> PrintSetup::makePrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageOrientation(QPageLayout::Portrait);
    return printer;
}

bool PrintSetup::askUser(QPrinter &printer)
{
    QPrintDialog dialog(&printer, nullptr);
    return dialog.exec() == QDialog::Accepted;
}

PrintSetup &printSetup()
{
    static PrintSetup real;
    return currentSetup ? *currentSetup : real;
}

void setPrintSetup(PrintSetup *setup)
{
    currentSetup = setup;
}

PdfPrintSetup::PdfPrintSetup(QString path, bool answer) : pdfPath(std::move(path)), accept(answer) {}

std::unique_ptr<QPrinter> PdfPrintSetup::makePrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath);
    printer->setPageLayout(QPageLayout(QPageSize(QSizeF(pageWidth, pageHeight), QPageSize::Point),
                                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printer;
}

bool PdfPrintSetup::askUser(QPrinter &)
{
    ++asked;
    return accept;
}

QString footerText(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.time(), QLocale::ShortFormat) + QStringLiteral(", ")
           + locale.toString(when.date(), QLocale::ShortFormat);
}

int printPages(const QTextDocument &text, QPrinter &printer, const QString &footer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0; // the print system reports its own errors

    // Work in device pixels; k turns points into them.
    const qreal k = printer.resolution() / 72.0;
    const QFont courier = printFont(QStringLiteral("Courier"), true);
    const QFont arial = printFont(QStringLiteral("Arial"), false);
    painter.setFont(courier);
    painter.setPen(Qt::black);

    // The body keeps the text view's own styling, laid out on the printer so
    // that whole lines move to the next block instead of being cut in two.
    std::unique_ptr<QTextDocument> doc(text.clone());
    doc->documentLayout()->setPaintDevice(&printer);
    QFont body = text.defaultFont();
    if (body.pixelSize() > 0)
        body.setPointSizeF(body.pixelSize());
    doc->setDefaultFont(body);
    doc->setDocumentMargin(0);
    const QSizeF block(bodyWidth * k, bodyHeight * k);
    doc->setPageSize(block);
    doc->documentLayout()->documentSize(); // lays the text out now

    // The layout already moves a line that would cross a block's lower edge
    // to the next block. Each line is then drawn on the one page where its
    // top lies: clipping whole blocks to the page would leave the line next
    // to a break, hidden yet still in the page's text, on both pages.
    struct PlacedLine {
        QTextLine line;
        QPointF origin; // the layout's position in the document
    };
    QList<QList<PlacedLine>> pageLines(1);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextLayout *layout = b.layout();
        if (!layout)
            continue;
        for (int n = 0; n < layout->lineCount(); ++n) {
            const QTextLine line = layout->lineAt(n);
            const qreal top = layout->position().y() + line.y();
            const int page = qMax(0, int(top / block.height() + 1e-6));
            while (pageLines.size() <= page)
                pageLines.append(QList<PlacedLine>());
            pageLines[page].append(PlacedLine{line, layout->position()});
        }
    }
    const int pages = int(pageLines.size());

    auto drawFooter = [&](int page) {
        painter.setFont(arial);
        painter.drawText(QPointF(pageLabelX * k, footerBaseline * k), QStringLiteral("page %1").arg(page));
        painter.drawText(QPointF(footerX * k, footerBaseline * k), footer);
        painter.setFont(courier);
    };

    for (int i = 0; i < pages; ++i) {
        const QPointF pageOrigin(bodyLeft * k, bodyTop * k - i * block.height());
        for (const PlacedLine &placed : pageLines[i])
            placed.line.draw(&painter, pageOrigin + placed.origin);
        drawFooter(i + 1);
        if (i + 1 < pages)
            printer.newPage();
        // A long job keeps the windows answering.
        QCoreApplication::processEvents();
    }
    painter.end();
    return pages;
}

bool printHelpText()
{
    // A second Print Help while pages are going out would start a second job
    // from inside the first one's event processing.
    static bool printing = false;
    if (printing)
        return true;
    printing = true;

    const QString footer = footerText(QDateTime::currentDateTime());
    PrintSetup &setup = printSetup();
    std::unique_ptr<QPrinter> printer = setup.makePrinter();
    if (printer && setup.askUser(*printer)) {
        // The text comes from the Help window's view, made if it is closed.
        printPages(*Help::instance()->TextArea1()->document(), *printer, footer);
    }
    if (Help *help = Help::existing())
        help->close();
    printing = false;
    return true;
}

} // namespace helpprint
