#include "common/ui/QtPrinter.h"

#include "common/Dialogs.h"

#include <QFontDatabase>
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
    return true;
}

void QtPrinter::printLine(const QString& line) {
    if (!m_painter.isActive())
        return;
    const QFontMetrics metrics = m_painter.fontMetrics();
    const int pageHeight = m_painter.viewport().height();
    if (m_y > 0 && m_y + metrics.height() > pageHeight) {
        m_printer->newPage();
        m_y = 0;
    }
    m_painter.drawText(0, m_y + metrics.ascent(), line);
    m_y += metrics.lineSpacing();
}

bool QtPrinter::endJob() {
    if (!m_painter.isActive())
        return false;
    const bool ended = m_painter.end();
    m_printer.reset();
    return ended;
}

void QtPrinter::abortJob() {
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
