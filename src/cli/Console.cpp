#include "cli/Console.h"

#include "cli/CliValues.h"

#include <QByteArray>
#include <QDateTime>

Console::Console(std::FILE* out, std::FILE* err, bool errIsTerminal)
    : m_out(out)
    , m_err(err)
    , m_errIsTerminal(errIsTerminal) {}

void Console::line(const QString& text) {
    write(text.toLocal8Bit() + '\n');
}

void Console::write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_out);
    std::fflush(m_out);
}

void Console::message(const QString& text) {
    endProgress();
    const QString stamp =
        m_stamp ? isoTimeWithOffset(QDateTime::currentDateTime()) + u' ' : QString();
    const QByteArray bytes =
        (stamp + kProgramName + QStringLiteral(": ") + text).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_err);
    std::fflush(m_err);
}

void Console::progress(const QString& text) {
    if (!m_errIsTerminal)
        return;
    // Blanks cover what is left of a longer line before.
    const QByteArray bytes = '\r' + text.leftJustified(m_progressWidth).toLocal8Bit();
    m_progressWidth = text.size();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_err);
    std::fflush(m_err);
}

void Console::endProgress() {
    if (m_progressWidth == 0)
        return;
    m_progressWidth = 0;
    std::fputc('\n', m_err);
    std::fflush(m_err);
}
