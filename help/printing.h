#pragma once
// Printing the help text: the print dialog behind a small seam, and the page
// drawing itself.
#include <QString>

#include <memory>

class QDateTime;
class QPrinter;
class QTextDocument;

namespace helpprint {

// Page geometry in points, in the coordinates of the page the dialog gives.
inline constexpr int pageWidth = 540;
inline constexpr int pageHeight = 720;
inline constexpr int bodyLeft = 36;
inline constexpr int bodyTop = 36;
inline constexpr int bodyWidth = pageWidth - 48;
inline constexpr int bodyHeight = pageHeight - 48;
inline constexpr int footerBaseline = pageHeight;
inline constexpr int pageLabelX = 40;
inline constexpr int footerX = 100;

// Where a print job comes from: the printer and the standard print dialog.
// The default is the system's printer and QPrintDialog; tests put a fake in.
class PrintSetup
{
public:
    virtual ~PrintSetup() = default;
    // A fresh printer for one job.
    virtual std::unique_ptr<QPrinter> makePrinter();
    // Shows the print dialog for printer; false when the user cancels.
    virtual bool askUser(QPrinter &printer);
};

// The setup in use; setPrintSetup(nullptr) goes back to the real one. The
// caller keeps ownership of what it sets.
PrintSetup &printSetup();
void setPrintSetup(PrintSetup *setup);

// A setup that never shows a dialog: it answers with `accept` and prints into
// a PDF file of 540 x 720 point pages without margins.
class PdfPrintSetup : public PrintSetup
{
public:
    PdfPrintSetup(QString pdfPath, bool accept);
    std::unique_ptr<QPrinter> makePrinter() override;
    bool askUser(QPrinter &printer) override;

    QString pdfPath;
    bool accept;
    int asked = 0;
};

// The time and date at the foot of every page: the system's short time, a
// comma, and its short date.
QString footerText(const QDateTime &when);

// Draws text on printer, one body block a page, each page with "page N" and
// footer at its foot. Returns the number of pages, or 0 when the printer
// could not be opened.
int printPages(const QTextDocument &text, QPrinter &printer, const QString &footer);

// The whole Print Help command: footer, dialog, pages from the Help window's
// text view, and the Help window closed in every case. Returns true (the
// command is handled).
bool printHelpText();

} // namespace helpprint
