#pragma once

#include "common/Printer.h"

#include <QStringList>

// Records what would have been printed.
class RecordingPrinter : public Printer {
public:
    bool beginJob(const QString& title) override {
        jobTitle = title;
        lines.clear();
        ++jobs;
        return acceptJobs;
    }
    void printLine(const QString& line) override { lines << line; }
    bool endJob() override {
        ++ended;
        return true;
    }
    void abortJob() override { ++aborted; }
    bool printImage(const QImage& image, const QString& title) override {
        images << image;
        jobTitle = title;
        return acceptJobs;
    }

    bool acceptJobs = true;
    QString jobTitle;
    QStringList lines;
    QList<QImage> images;
    int jobs = 0;
    int ended = 0;
    int aborted = 0;
};
