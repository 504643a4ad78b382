#pragma once

#include "common/Printer.h"

#include <QStringList>
#include <functional>
#include <vector>

// Records every print job, one by one, instead of printing; can refuse to start or to finish
// a job.
class ScriptedPrinter : public Printer {
public:
    struct Job {
        QString title;
        QStringList lines;
        bool ended = false;
        bool aborted = false;
    };

    bool beginJob(const QString& title) override;
    void printLine(const QString& line) override;
    bool endJob() override;
    void abortJob() override;
    bool printImage(const QImage& image, const QString& title) override;

    bool refuseBegin = false;
    bool failEnd = false;
    // Runs after each printed line.
    std::function<void(const QString&)> onLine;

    std::vector<Job> jobs;
    std::vector<QImage> images;
    // Lines printed while no job was open: always a fault of the caller.
    int strayLines = 0;
    bool jobOpen() const { return m_open; }

private:
    bool m_open = false;
};
