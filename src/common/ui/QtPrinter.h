#pragma once

#include "common/Printer.h"

#include <QPainter>
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

    Dialogs& m_dialogs;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    int m_y = 0;
};
