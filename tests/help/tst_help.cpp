#include "app/app.h"
#include "app/menus.h"
#include "help/help.h"
#include "help/printing.h"
#include "support/testmain.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QMenuBar>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

// The footer stands on the page's bottom edge; an explicit crop area larger
// than the page keeps pdftotext from dropping it.
const QStringList wholePage = {QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"), QStringLiteral("0"),
                               QStringLiteral("-W"), QStringLiteral("2000"), QStringLiteral("-H"), QStringLiteral("2000")};

QString run(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000))
        return {};
    // Ligatures such as "ff" come back as one character.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

struct Word {
    QString text;
    QRectF box;
};

// What a PDF holds, read back with the poppler tools.
struct PrintedPdf {
    int pages = 0;
    QString pageSize;           // "540 x 720 pts"
    QStringList pageText;       // pdftotext -layout, one entry a page
    QList<QList<Word>> words;   // pdftotext -bbox, one list a page

    explicit PrintedPdf(const QString &path)
    {
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        pageSize = QRegularExpression(QStringLiteral("Page size:\\s+([^\\n(]*?)\\s*(\\(|\\n)"))
                       .match(info).captured(1);
        for (int n = 1; n <= pages; ++n) {
            const QString number = QString::number(n);
            pageText << run(QStringLiteral("pdftotext"),
                            wholePage + QStringList{QStringLiteral("-layout"), QStringLiteral("-f"), number,
                                                    QStringLiteral("-l"), number, path, QStringLiteral("-")});
        }
        const QString html = run(QStringLiteral("pdftotext"),
                                wholePage + QStringList{QStringLiteral("-bbox"), path, QStringLiteral("-")});
        static const QRegularExpression wordRe(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        for (const QString &page : html.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
            QList<Word> list;
            for (const auto &m : wordRe.globalMatch(page)) {
                const qreal x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
                list.append({m.captured(5), QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(),
                                                                          m.captured(4).toDouble()))});
            }
            words << list;
        }
    }

    // The foot line of a page: "page N" and the time and date.
    QString footLine(int page) const
    {
        const QStringList lines = pageText.value(page - 1).split(u'\n');
        for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
            const QString line = it->simplified();
            if (!line.isEmpty() && line != u'\f')
                return line;
        }
        return {};
    }

    // Words of a page in the order read (pdftotext -bbox leaves out words
    // that reach past the page's edge).
    const QList<Word> &pageWords(int page) const { return words[page - 1]; }
};

// Every footer text that a job run between `from` and `to` may carry, with its
// spaces as pdftotext gives them back (some locales put a narrow no-break
// space before AM and PM).
QStringList footersBetween(const QDateTime &from, const QDateTime &to)
{
    QStringList footers;
    for (QDateTime t = from; t <= to.addSecs(1); t = t.addSecs(1))
        footers << helpprint::footerText(t).normalized(QString::NormalizationForm_KC).simplified();
    return footers;
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The help text as the view shows it: one paragraph a line, blank lines between.
QString shownHelpText()
{
    return Help::helpText().replace(QStringLiteral("\r"), QStringLiteral("\n"));
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pdf;
    std::unique_ptr<helpprint::PdfPrintSetup> m_setup;
    std::unique_ptr<QWidget> m_other; // stands for the counter window

    // Runs Print Help through the menus from `front` with the dialog answering
    // `accept`, and returns the footers the job may carry.
    QStringList printFrom(QWidget *front, bool accept)
    {
        m_setup = std::make_unique<helpprint::PdfPrintSetup>(m_pdf, accept);
        helpprint::setPrintSetup(m_setup.get());
        const QDateTime before = QDateTime::currentDateTime();
        const bool handled = menus::dispatch(QStringLiteral("FilePrintHelp"), front);
        const QStringList footers = footersBetween(before, QDateTime::currentDateTime());
        helpprint::setPrintSetup(nullptr);
        QTest::qWait(0); // deferred deletion of the closed window
        return handled ? footers : QStringList();
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_pdf = m_dir.filePath(QStringLiteral("help.pdf"));
        QFile::remove(m_pdf);
        m_other = std::make_unique<QWidget>();
    }
    void cleanup()
    {
        if (Help *h = Help::existing())
            delete h;
        m_other.reset();
        QTest::qWait(0);
    }

    void windowAsDrawn()
    {
        showHelp();
        Help *help = Help::existing();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
        QCOMPARE(help->menuBar()->objectName(), QStringLiteral("MenuBar2"));
        QCOMPARE(help->palette().color(QPalette::Window), QColor(0xEA, 0xFF, 0x7F));
        QVERIFY(!(help->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        // The content below the bar keeps the drawn size and cannot grow.
        QTextEdit *text = help->TextArea1();
        QCOMPARE(text->parentWidget()->size(), QSize(444, 367));
        QCOMPARE(help->minimumSize(), help->maximumSize());
        QCOMPARE(text->geometry(), QRect(20, 20, 404, 327));
        QCOMPARE(text->objectName(), QStringLiteral("TextArea1"));
        QCOMPARE(text->font().pixelSize(), 14);
        QVERIFY(!text->font().bold());
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        // Six paragraphs, blank lines between, the double spaces kept.
        QCOMPARE(text->toPlainText(), shownHelpText());
        QCOMPARE(text->document()->blockCount(), 11);
        QVERIFY(text->toPlainText().contains(
            QStringLiteral("20% off sale.  Prices are managed in the Prices window")));
        QVERIFY(Help::helpText().endsWith(QStringLiteral("how to make change.")));
        QCOMPARE(Help::helpText().count(QStringLiteral("\r\r")), 5);

        // Every item of the bar is reachable by its accessor.
        const QList<QPair<QAction *, const char *>> items = {
            {help->FileMenu(), "FileMenu"},       {help->FilePrintHelp(), "FilePrintHelp"},
            {help->FileQuit(), "FileQuit"},       {help->EditMenu(), "EditMenu"},
            {help->EditUndo(), "EditUndo"},       {help->EditSeparator1(), "EditSeparator1"},
            {help->EditCut(), "EditCut"},         {help->EditCopy(), "EditCopy"},
            {help->EditPaste(), "EditPaste"},     {help->EditClear(), "EditClear"},
            {help->EditSeparator2(), "EditSeparator2"}, {help->EditSelectAll(), "EditSelectAll"},
        };
        for (const auto &[action, name] : items) {
            QVERIFY2(action, name);
            QCOMPARE(action->objectName(), QString::fromLatin1(name));
        }
    }

    void showHelpKeepsOneWindowAndCloseDiscardsIt()
    {
        showHelp();
        Help *first = Help::existing();
        showHelp();
        QCOMPARE(Help::existing(), first);
        QPointer<Help> gone(first);
        first->close();
        QCOMPARE(Help::existing(), nullptr); // at once, before the deferred delete
        showHelp();
        QVERIFY(Help::existing());
        QVERIFY(Help::existing() != first || gone.isNull());
        QCOMPARE(Help::existing()->TextArea1()->toPlainText(), shownHelpText());
        QTest::qWait(0);
        QVERIFY(gone.isNull());
        QVERIFY(Help::existing());
    }

    // Copy and Select All work in the read-only text; nothing changes it.
    void editItemsLeaveTheTextAlone()
    {
        showHelp();
        Help *help = Help::existing();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTextEdit *text = help->TextArea1();
        text->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), text);

        QApplication::clipboard()->setText(QStringLiteral("pasted words"));
        help->EditSelectAll()->trigger();
        QCOMPARE(text->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'), shownHelpText());
        help->EditCut()->trigger();
        help->EditClear()->trigger();
        help->EditPaste()->trigger();
        help->EditUndo()->trigger();
        QTest::keyClicks(text, QStringLiteral("typed"));
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Delete);
        QCOMPARE(text->toPlainText(), shownHelpText());

        help->EditSelectAll()->trigger();
        help->EditCopy()->trigger();
        QCOMPARE(QApplication::clipboard()->text(), shownHelpText());
    }

    // From the Help window: its own handler prints, before the application's.
    void printFromHelpGivesOnePage()
    {
        if (!havePoppler())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the printed pages");
        int appCalls = 0;
        menus::setAppHandler(QStringLiteral("FilePrintHelp"), [&] { ++appCalls; return false; });
        showHelp();
        const QStringList footers = printFrom(Help::existing(), true);
        menus::setAppHandler(QStringLiteral("FilePrintHelp"), [] { return printHelpFromApp(); });

        QVERIFY2(!footers.isEmpty(), "Print Help was not handled");
        QCOMPARE(appCalls, 0);
        QCOMPARE(m_setup->asked, 1);
        QCOMPARE(Help::existing(), nullptr);

        const PrintedPdf pdf(m_pdf);
        QCOMPARE(pdf.pages, 1);
        QCOMPARE(pdf.pageSize, QStringLiteral("540 x 720 pts"));
        const QString body = pdf.pageText.value(0).simplified();
        for (const QString &paragraph : Help::helpText().split(QStringLiteral("\r\r")))
            QVERIFY2(body.contains(paragraph.simplified()), qPrintable(paragraph));
        const QString foot = pdf.footLine(1);
        QVERIFY2(foot.startsWith(QStringLiteral("page 1 ")) && footers.contains(foot.mid(7)), qPrintable(foot));
    }

    // Where things stand on the page, in points. The page here is taller than
    // 720 so that the footer, whose baseline is the bottom edge of a 720 point
    // page, lies wholly inside it and pdftotext reports its position.
    void pageGeometryInPoints()
    {
        if (!havePoppler())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the printed pages");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        printer.setPageLayout(QPageLayout(QPageSize(QSizeF(540, 760), QPageSize::Point), QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
        QCOMPARE(helpprint::printPages(*Help::instance()->TextArea1()->document(), printer,
                                       QStringLiteral("3:07 PM, 12/9/08")),
                 1);

        const PrintedPdf pdf(m_pdf);
        const QList<Word> &words = pdf.pageWords(1);
        QVERIFY(words.size() > 10);
        auto near = [](qreal actual, qreal expected, qreal within) {
            return qAbs(actual - expected) <= within;
        };
        // The body block's corner is at 36, 36; its lines stay within 492 points.
        const Word &first = words.first();
        QCOMPARE(first.text, QStringLiteral("You"));
        QVERIFY2(near(first.box.left(), 36, 1), qPrintable(QString::number(first.box.left())));
        QVERIFY2(first.box.top() >= 35.5 && first.box.top() < 42, qPrintable(QString::number(first.box.top())));
        for (const Word &w : words.mid(0, words.size() - 5))
            QVERIFY2(w.box.right() <= 36 + 492 + 0.5, qPrintable(w.text));

        // "page 1" at x 40 and the time and date at x 100, on the baseline 720,
        // smaller than the body's 14 points.
        const QList<Word> foot = words.mid(words.size() - 5);
        QStringList texts;
        for (const Word &w : foot)
            texts << w.text;
        QCOMPARE(texts, QStringList({"page", "1", "3:07", "PM,", "12/9/08"}));
        QVERIFY2(near(foot[0].box.left(), 40, 1), qPrintable(QString::number(foot[0].box.left())));
        QVERIFY2(near(foot[2].box.left(), 100, 1), qPrintable(QString::number(foot[2].box.left())));
        for (const Word &w : foot) {
            // A word's box reaches from above the ascent to below the baseline.
            QVERIFY2(w.box.top() < 720 && w.box.bottom() > 720 && w.box.bottom() < 724, qPrintable(w.text));
            QVERIFY2(w.box.height() < first.box.height(), qPrintable(w.text));
        }
    }

    // Texts long enough for several pages: numbered pages with the same foot,
    // and no line lost or doubled at a page break, whether the break falls
    // between paragraphs or inside one.
    void longTextGivesNumberedPages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tokens");
        QTest::addColumn<int>("pages"); // 0: more than one
        QStringList paragraphs;
        for (int i = 1; i <= 100; ++i)
            paragraphs << QStringLiteral("t%1 of the long help").arg(i, 4, 10, QLatin1Char('0'));
        QTest::newRow("short paragraphs") << paragraphs.join(u'\n') << 100 << 3;
        QStringList words;
        for (int i = 1; i <= 1300; ++i)
            words << QStringLiteral("t%1").arg(i, 4, 10, QLatin1Char('0'));
        QTest::newRow("one wrapped paragraph") << words.join(u' ') << 1300 << 0;
    }
    void longTextGivesNumberedPages()
    {
        QFETCH(QString, text);
        QFETCH(int, tokens);
        QFETCH(int, pages);
        if (!havePoppler())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the printed pages");
        showHelp();
        Help *help = Help::existing();
        help->TextArea1()->setPlainText(text);

        m_setup = std::make_unique<helpprint::PdfPrintSetup>(m_pdf, true);
        helpprint::setPrintSetup(m_setup.get());
        const QDateTime before = QDateTime::currentDateTime();
        help->FilePrintHelp()->trigger(); // the window's own File menu
        const QStringList footers = footersBetween(before, QDateTime::currentDateTime());
        helpprint::setPrintSetup(nullptr);
        QCOMPARE(Help::existing(), nullptr);

        const PrintedPdf pdf(m_pdf);
        if (pages)
            QCOMPARE(pdf.pages, pages);
        else
            QVERIFY2(pdf.pages > 1, qPrintable(QString::number(pdf.pages)));
        QString footer;
        QStringList printed;
        static const QRegularExpression token(QStringLiteral("\\bt\\d{4}\\b"));
        for (int page = 1; page <= pdf.pages; ++page) {
            const QString foot = pdf.footLine(page);
            const QString prefix = QStringLiteral("page %1 ").arg(page);
            QVERIFY2(foot.startsWith(prefix), qPrintable(foot));
            if (page == 1)
                footer = foot.mid(prefix.size());
            QCOMPARE(foot.mid(prefix.size()), footer);
            for (const auto &m : token.globalMatch(pdf.pageText[page - 1]))
                printed << m.captured();
        }
        QVERIFY2(footers.contains(footer), qPrintable(footer));
        QStringList expected;
        for (int i = 1; i <= tokens; ++i)
            expected << QStringLiteral("t%1").arg(i, 4, 10, QLatin1Char('0'));
        QCOMPARE(printed, expected);
    }

    void cancelledDialogPrintsNothingAndClosesHelp()
    {
        showHelp();
        QPointer<Help> help(Help::existing());
        const QStringList footers = printFrom(help, false);
        QVERIFY(!footers.isEmpty());
        QCOMPARE(m_setup->asked, 1);
        QVERIFY(!QFile::exists(m_pdf));
        QCOMPARE(Help::existing(), nullptr);
        QVERIFY(help.isNull());
    }

    // From another window with the Help window closed: the application's
    // handler prints the Help window's text and leaves it closed.
    void printFromElsewhereWithHelpClosed()
    {
        if (!havePoppler())
            QSKIP("pdfinfo and pdftotext (poppler-utils) are needed to read the printed pages");
        QCOMPARE(Help::existing(), nullptr);
        m_other->show();
        const QStringList footers = printFrom(m_other.get(), true);
        QVERIFY(!footers.isEmpty());
        QCOMPARE(Help::existing(), nullptr);
        QVERIFY(m_other->isVisible());

        const PrintedPdf pdf(m_pdf);
        QCOMPARE(pdf.pages, 1);
        QVERIFY(pdf.pageText[0].simplified().contains(
            QStringLiteral("You are manager of Zingaroo, a popular fast food restaurant")));
        QVERIFY(pdf.footLine(1).startsWith(QStringLiteral("page 1 ")));
    }
};

ZINGAROO_TEST_MAIN_APP(TestHelp, App)
#include "tst_help.moc"
