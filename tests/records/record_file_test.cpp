#include "records/RecordFile.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#endif

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("in.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

QStringList allItems(const QString& path) {
    RecordReader reader;
    EXPECT_TRUE(reader.open(path));
    QStringList items;
    while (std::optional<QString> item = reader.nextItem())
        items << *item;
    EXPECT_FALSE(reader.failed());
    return items;
}

struct ReaderCase {
    const char* name;
    QByteArray bytes;
    QStringList items;
};

class ReaderRules : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderRules, SplitsItems) {
    QTemporaryDir dir;
    const ReaderCase& c = GetParam();
    EXPECT_EQ(allItems(writeFile(dir, c.bytes)), c.items);
}

const QString kHeader = QStringLiteral("*ID=12 Range:2000/LUX");

INSTANTIATE_TEST_SUITE_P(
    OddFiles, ReaderRules,
    ::testing::Values(
        ReaderCase{"Empty", "", {}},
        ReaderCase{"HeaderOnly", "*ID=12 Range:2000/LUX\r\n", {kHeader}},
        ReaderCase{"RecordedLines",
                   "*ID=12 Range:2000/LUX\r\n1\t22/06/2010 14:05:09\t1230\t\r\n",
                   {kHeader, QStringLiteral("1\t22/06/2010 14:05:09\t1230\t")}},
        ReaderCase{"NoFinalLineEnd", "h\r\n2\tLow", {"h", QStringLiteral("2\tLow")}},
        ReaderCase{"LineFeedsOnly", "a\nb\n", {"a", "b"}},
        ReaderCase{"CarriageReturnsOnly", "a\rb\r", {"a", "b"}},
        ReaderCase{"LineFeedThenReturnIsTwoEnds", "a\n\rb", {"a", "", "b"}},
        ReaderCase{"EmptyLinesAreEmptyItems", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
        ReaderCase{"CommaSplitsALine", "1\t1,5\tLow\r\n", {"1\t1", QStringLiteral("5\tLow")}},
        ReaderCase{"CommaBeforeLineEnd", "a,\r\nb", {"a", "", "b"}},
        ReaderCase{"LeadingBlanksSkipped", "   a\r\n  b c\r\n", {"a", "b c"}},
        ReaderCase{"LeadingTabIsAnEmptyCell", "\t2\r\n", {QStringLiteral("\t2")}},
        ReaderCase{"BlankLastLine", "a\r\n   ", {"a", ""}},
        ReaderCase{"QuotedKeepsCommas", "\"x, y\",z\r\n", {"x, y", "z"}},
        ReaderCase{"QuotedWithBlanksBefore", "  \"q\"\r\n", {"q"}},
        ReaderCase{"TextAfterClosingQuoteDropped", "\"ab\"cd,e\r\n", {"ab", "e"}},
        ReaderCase{"UnclosedQuoteEndsAtLineEnd", "\"ab,c\r\nd", {"ab,c", "d"}},
        ReaderCase{"QuoteInsideItemIsKept", "a\"b\r\n", {"a\"b"}},
        ReaderCase{"Latin1", "\xe9t\xe9\xff\r\n", {QString::fromLatin1("\xe9t\xe9\xff")}},
        ReaderCase{"NulBytes", QByteArray("a\0b\r\n", 5), {QString::fromLatin1("a\0b", 3)}}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return info.param.name; });

TEST(RecordReader, LineWithoutEndsIsCutAtTheItemLimit) {
    QTemporaryDir dir;
    QByteArray bytes(3 * 1024 * 1024, '\xb5');
    bytes.append("\r\nnext");
    const QStringList items = allItems(writeFile(dir, bytes));
    ASSERT_EQ(items.size(), 2);
    ASSERT_EQ(items[0].size(), 4096);
    EXPECT_EQ(items[0][0], QChar(0xb5));
    EXPECT_EQ(items[1], QStringLiteral("next"));
}

TEST(RecordReader, RandomBinaryFileGivesOneItemPerDelimiterAtMost) {
    QTemporaryDir dir;
    QByteArray bytes(2 * 1024 * 1024, '\0');
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    const qsizetype delimiters = bytes.count('\r') + bytes.count('\n') + bytes.count(',');

    const QStringList items = allItems(writeFile(dir, bytes));
    EXPECT_GT(items.size(), 0);
    EXPECT_LE(items.size(), delimiters + 1);
    for (const QString& item : items)
        ASSERT_LE(item.size(), 4096);
}

// The reader takes the file in pieces of 64 KiB: a line end split between two pieces, an item,
// blanks or a quote running across the seam read as they do anywhere else.
TEST(RecordReader, ItemsReadTheSameWhereverAPieceEnds) {
    const struct {
        QByteArray bytes;
        QStringList items;
    } cases[] = {
        {"h\r\n1\t22/06/2010 14:05:09\t1230\t\r\n2\tt\tOL\tLow",
         {"h", "1\t22/06/2010 14:05:09\t1230\t", "2\tt\tOL\tLow"}},
        {"a\r\rb\n\nc\r\n", {"a", "", "b", "", "c"}},
        {"   spaced,  \"quo,ted\"rest\r\n\"open\r\nz", {"spaced", "quo,ted", "open", "z"}},
    };
    constexpr qsizetype kPiece = 64 * 1024;
    QTemporaryDir dir;
    for (const auto& c : cases) {
        for (qsizetype before = 0; before <= c.bytes.size(); ++before) {
            SCOPED_TRACE(c.bytes.toStdString() + " split after " + std::to_string(before));
            // A first line that fills the first piece up to `before` bytes of the case.
            const QByteArray padded = QByteArray(kPiece - before - 1, 'x') + '\n' + c.bytes;
            const QStringList items = allItems(writeFile(dir, padded));
            ASSERT_EQ(items.size(), c.items.size() + 1);
            EXPECT_EQ(items[0].size(), RecordReader::kMaxItemLength);
            EXPECT_EQ(items.mid(1), c.items);
        }
    }
}

TEST(RecordWriter, LinesEndInCrLfAndReplaceTheOldFile) {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QByteArray(500, 'o'));
    RecordWriter writer;
    ASSERT_TRUE(writer.create(path));
    EXPECT_TRUE(writer.writeLine(u"*ID=1 Range:20/Fc"));
    EXPECT_TRUE(writer.writeLine(QStringLiteral("1\t01/01/2011 00:00:01\t19.99\tLow")));
    // Flushed line by line: the bytes are there before the file is closed.
    EXPECT_EQ(readAll(path), "*ID=1 Range:20/Fc\r\n1\t01/01/2011 00:00:01\t19.99\tLow\r\n");
    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(writer.writeLine(u"late"));
}

#ifdef Q_OS_UNIX
// Writes records into a file limited to 1000 bytes; exits with 0 when the writer reported the
// failure and stopped there.
[[noreturn]] void writeUntilTheDiskIsFull(const QString& path, RecordWriter::Flush flush) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    RecordWriter writer;
    bool ok = writer.create(path, flush) && writer.writeLine(u"*ID=1 Range:2000/LUX");
    int line = 1;
    while (ok && line < 100000)
        ok = writer.writeLine(QString::number(line++) +
                              QStringLiteral("\t01/01/2024 00:34:42\t1230\t"));
    // The close reports the failure too, whether a write or the close itself met it.
    const bool closed = writer.close();
    std::_Exit(closed ? 1 : 0);
}

// The disk fills in the middle of a line: the file must end at its last complete line, which
// reads back as the records written, never as a record with a cut value. The full disk is a file
// size limit, set in a child process so the test itself keeps writing freely.
TEST(RecordWriter, FullDiskLeavesTheFileAtItsLastCompleteLine) {
    const struct {
        RecordWriter::Flush flush;
        const char* name;
    } cases[] = {{RecordWriter::Flush::EveryLine, "every line"},
                 {RecordWriter::Flush::Buffered, "buffered"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rec.txt"));
        EXPECT_EXIT(writeUntilTheDiskIsFull(path, c.flush), ::testing::ExitedWithCode(0), "");
        const QByteArray bytes = readAll(path);
        ASSERT_GT(bytes.size(), 100);
        EXPECT_LE(bytes.size(), 1000);
        EXPECT_TRUE(bytes.endsWith("\t1230\t\r\n")) << bytes.right(40).toStdString();
    }
}

// Standard output redirected onto a file that holds more already ("download 2 >> all.txt"): the
// disk fills while the set is written, and what the file held before stays as it was.
[[noreturn]] void appendUntilTheDiskIsFull(const QString& path) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        std::_Exit(2);
    RecordWriter writer;
    bool ok = writer.open(file.handle(), RecordWriter::Flush::EveryLine);
    int line = 1;
    while (ok && line < 100000)
        ok = writer.writeLine(QString::number(line++) +
                              QStringLiteral("\t01/01/2024 00:34:42\t1230\t"));
    const bool closed = writer.close();
    // The descriptor is the caller's: still open.
    std::_Exit(!ok && !closed && ::fcntl(file.handle(), F_GETFD) >= 0 ? 0 : 1);
}

TEST(RecordWriter, FullDiskOnAStreamKeepsWhatItHeldBefore) {
    QTemporaryDir dir;
    const QByteArray before(600, 'b');
    const QString path = writeFile(dir, before);
    EXPECT_EXIT(appendUntilTheDiskIsFull(path), ::testing::ExitedWithCode(0), "");
    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith(before));
    EXPECT_GT(bytes.size(), before.size() + 100);
}
#endif

} // namespace
