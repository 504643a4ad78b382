#pragma once

#include "common/Printer.h"

#include <QPainter>
#include <QRawFont>
#include <array>
#include <memory>

class Dialogs;
class QPrinter;

// Prints on the system's default printer. Where no printer is installed the printout becomes a
// PDF file whose path a save dialog asks for.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(Dialogs& dialogs);
    ~QtPrinter() override;

    bool beginJob(const QString& title) override;
    // Lines in the printer's default font, running on to the next page when one is full.
    void printLine(const QString& line) override;
    bool endJob() override;
    void abortJob() override;
    // The image scaled to fit the page, keeping its proportions.
    bool printImage(const QImage& image, const QString& title) override;

private:
    bool start(const QString& title);
    // Adds a line of printable ASCII to the page's glyphs, looked up once per job; false for
    // other text, which is drawn as text.
    bool addAsciiLine(const QString& line, qreal baseline);
    // Draws the glyphs gathered for the page in one run.
    void drawPageGlyphs();

    Dialogs& m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    int m_y = 0;
    // The listing's font as glyphs: shaping a day of lines one by one costs more than the PDF.
    QRawFont m_rawFont;
    std::array<quint32, 128> m_glyphs{};
    qreal m_advance = 0;
    bool m_glyphsReady = false;
    QList<quint32> m_pageGlyphs;
    QList<QPointF> m_pagePositions;
};
