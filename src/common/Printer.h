#pragma once

#include <QImage>
#include <QString>

// One print job of text lines, or one image. The program prints with QPrinter (to the default
// printer, or to a PDF file where none is installed); tests record what was printed.
class Printer {
public:
    virtual ~Printer() = default;

    // Starts a job; false when no job could be started (the user cancelled the PDF path, or
    // the printer refused).
    virtual bool beginJob(const QString& title) = 0;
    virtual void printLine(const QString& line) = 0;
    // Sends the job to the printer; false when it failed.
    virtual bool endJob() = 0;
    // Drops an unfinished job.
    virtual void abortJob() = 0;

    virtual bool printImage(const QImage& image, const QString& title) = 0;
};
