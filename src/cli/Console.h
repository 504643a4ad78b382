#pragma once

#include <QString>
#include <cstdio>

inline const QString kProgramName = QStringLiteral("luxlog-cli");

// The program's two streams: readings, lists and files on standard output; messages on standard
// error, and there, when it is a terminal, one progress line redrawn in place.
class Console {
public:
    Console(std::FILE* out, std::FILE* err, bool errIsTerminal);

    // A line of output, flushed at once so that a script reading it sees each line as it comes.
    void line(const QString& text);
    // Text as it is, flushed (a record file, a help text).
    void write(const QByteArray& bytes);
    // "luxlog-cli: text" on standard error, after the progress line if one shows.
    void message(const QString& text);
    // Replaces the progress line; nothing when standard error is no terminal.
    void progress(const QString& text);
    // Leaves the progress line standing and moves on below it.
    void endProgress();

    bool errIsTerminal() const { return m_errIsTerminal; }
    // Messages start with the PC clock's time (ISO 8601), for logs of long runs.
    void stampMessages(bool stamp) { m_stamp = stamp; }
    std::FILE* out() const { return m_out; }

private:
    std::FILE* m_out;
    std::FILE* m_err;
    bool m_errIsTerminal;
    qsizetype m_progressWidth = 0;
    bool m_stamp = false;
};
