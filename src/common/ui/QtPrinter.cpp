#include "common/ui/QtPrinter.h"

#include "common/Dialogs.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPrinter>
#include <QPrinterInfo>

QtPrinter::QtPrinter(Dialogs& dialogs)
    : m_dialogs(dialogs) {}

QtPrinter::~QtPrinter() {
    abortJob();
}

bool QtPrinter::start(const QString& title) {
    abortJob();
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const std::optional<QString> path =
            m_dialogs.saveFile(QStringLiteral("Print to PDF"), QStringLiteral("PDF (*.pdf)"));
        if (!path) {
            m_printer.reset();
            return false;
        }
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(*path);
    } else {
        m_printer->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    }
    m_printer->setDocName(title);
    if (!m_painter.begin(m_printer.get())) {
        m_printer.reset();
        return false;
    }
    m_y = 0;
    return true;
}

bool QtPrinter::beginJob(const QString& title) {
    if (!start(title))
        return false;
    // Listings pad their columns with spaces: they line up only in a fixed-pitch face.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    m_painter.setFont(font);

    m_glyphsReady = false;
    m_rawFont = QRawFont::fromFont(m_painter.font());
    if (m_rawFont.isValid()) {
        QString ascii;
        for (char16_t c = 32; c < 127; ++c)
            ascii += QChar(c);
        const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(ascii);
        const QList<QPointF> advances = m_rawFont.advancesForGlyphIndexes(glyphs);
        m_glyphsReady = glyphs.size() == ascii.size();
        for (qsizetype i = 0; m_glyphsReady && i < glyphs.size(); ++i) {
            m_glyphs[32 + static_cast<size_t>(i)] = glyphs[i];
            // Columns line up only where every character is as wide as the others.
            m_glyphsReady = glyphs[i] != 0 && advances[i].x() == advances[0].x();
        }
        m_advance = advances.isEmpty() ? 0 : advances[0].x();
    }
    return true;
}

bool QtPrinter::addAsciiLine(const QString& line, qreal baseline) {
    if (!m_glyphsReady)
        return false;
    for (const QChar c : line) {
        if (c.unicode() < 32 || c.unicode() >= 127)
            return false;
    }
    for (qsizetype i = 0; i < line.size(); ++i) {
        m_pageGlyphs.append(m_glyphs[line[i].unicode()]);
        m_pagePositions.append(QPointF(static_cast<qreal>(i) * m_advance, baseline));
    }
    return true;
}

void QtPrinter::drawPageGlyphs() {
    if (m_pageGlyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(m_pageGlyphs);
    run.setPositions(m_pagePositions);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
    m_pageGlyphs.clear();
    m_pagePositions.clear();
}

void QtPrinter::printLine(const QString& line) {
    if (!m_painter.isActive())
        return;
    const QFontMetrics metrics = m_painter.fontMetrics();
    const int pageHeight = m_painter.viewport().height();
    if (m_y > 0 && m_y + metrics.height() > pageHeight) {
        drawPageGlyphs();
        m_printer->newPage();
        m_y = 0;
    }
    if (!addAsciiLine(line, m_y + metrics.ascent())) {
        drawPageGlyphs();
        m_painter.drawText(0, m_y + metrics.ascent(), line);
    }
    m_y += metrics.lineSpacing();
}

bool QtPrinter::endJob() {
    if (!m_painter.isActive())
        return false;
    drawPageGlyphs();
    const bool ended = m_painter.end();
    m_printer.reset();
    return ended;
}

void QtPrinter::abortJob() {
    m_pageGlyphs.clear();
    m_pagePositions.clear();
    if (!m_printer)
        return;
    m_printer->abort();
    if (m_painter.isActive())
        m_painter.end();
    m_printer.reset();
}

bool QtPrinter::printImage(const QImage& image, const QString& title) {
    if (!start(title))
        return false;
    const QRect page = m_painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    m_painter.drawImage(QRect(QPoint(0, 0), size), image);
    return endJob();
}
