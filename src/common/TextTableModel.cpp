#include "common/TextTableModel.h"

#include <algorithm>
#include <cstring>

namespace {

// The first TAB in [at, end), or nullptr.
const char* findTab(const char* at, const char* end) {
    return at == end ? nullptr : static_cast<const char*>(std::memchr(at, '\t', size_t(end - at)));
}

// Empty cells at the end of a row read the same whether held or not.
template <typename Char> qsizetype withoutEmptyCells(const Char* row, qsizetype size) {
    while (size > 0 && row[size - 1] == '\t')
        --size;
    return size;
}

// The row up to its last column: later cells are never shown, saved or printed.
qsizetype firstCellsLength(const char* row, qsizetype size, int columns) {
    const char* at = row;
    const char* const end = row + size;
    for (int tabs = 0; tabs < columns; ++tabs) {
        const char* tab = findTab(at, end);
        if (!tab)
            return withoutEmptyCells(row, size);
        at = tab + 1;
    }
    return withoutEmptyCells(row, at - 1 - row);
}

qsizetype firstCellsLength(QStringView row, int columns) {
    qsizetype tabs = 0;
    qsizetype length = row.size();
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (row[i] == u'\t' && ++tabs == columns) {
            length = i;
            break;
        }
    }
    return withoutEmptyCells(row.utf16(), length);
}

QLatin1StringView cellOf(QLatin1StringView row, int column) {
    const char* at = row.data();
    const char* const end = at + row.size();
    for (int c = 0; c < column; ++c) {
        const char* tab = findTab(at, end);
        if (!tab)
            return {};
        at = tab + 1;
    }
    const char* tab = findTab(at, end);
    return QLatin1StringView(at, tab ? tab : end);
}

} // namespace

TextTableModel::TextTableModel(int columns, QStringView titles, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(columns) {
    appendRow(titles);
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shown;
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cell(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return cell(0, section);
}

QString TextTableModel::cell(int row, int column) const {
    return QString(cellText(row, column));
}

QLatin1StringView TextTableModel::cellText(int row, int column) const {
    if (column < 0 || column >= m_columns)
        return {};
    return cellOf(rowText(row), column);
}

QLatin1StringView TextTableModel::rowText(int row) const {
    if (row < 0 || row >= m_shown)
        return {};
    const auto r = static_cast<size_t>(row);
    qsizetype start = 0;
    size_t longRow = 0;
    if (m_last.row + 1 == r) {
        // The row after the last one read: lists are mostly read row by row.
        start = m_last.end;
        longRow = m_last.nextLong;
    } else {
        const Block& block = m_blocks[r / kBlockRows];
        start = block.start;
        longRow = block.firstLong;
        for (size_t i = r - r % kBlockRows; i < r; ++i)
            start += m_lengths[i] == kLongRow ? m_longLengths[longRow++] : m_lengths[i];
    }
    const bool isLong = m_lengths[r] == kLongRow;
    const qsizetype length = isLong ? m_longLengths[longRow] : m_lengths[r];
    m_last = {r, start + length, longRow + (isLong ? 1 : 0)};
    return QLatin1StringView(m_text.constData() + start, length);
}

void TextTableModel::endRow(qsizetype start) {
    if (m_lengths.size() % kBlockRows == 0)
        m_blocks.push_back({start, m_longLengths.size()});
    const qsizetype length = m_text.size() - start;
    if (length < kLongRow) {
        m_lengths.push_back(static_cast<quint8>(length));
    } else {
        m_lengths.push_back(kLongRow);
        m_longLengths.push_back(length);
    }
}

QStringView TextTableModel::cellView(int row, int column) const {
    return view(cellText(row, column));
}

QStringView TextTableModel::rowView(int row) const {
    return view(rowText(row));
}

QStringView TextTableModel::view(QLatin1StringView text) const {
    QString& slot = m_views[static_cast<size_t>(m_nextView)];
    m_nextView = (m_nextView + 1) % kViewSlots;
    // Written in place: the slot keeps its capacity, so reading every cell of a long list
    // allocates only at first.
    slot.resize(text.size());
    char16_t* out = reinterpret_cast<char16_t*>(slot.data());
    for (const char c : text)
        *out++ = static_cast<unsigned char>(c);
    return slot;
}

void TextTableModel::stageRow(QLatin1StringView tabSeparated) {
    const qsizetype start = m_text.size();
    m_text.append(tabSeparated.data(),
                  firstCellsLength(tabSeparated.data(), tabSeparated.size(), m_columns));
    endRow(start);
}

void TextTableModel::showStagedRows() {
    const int stored = static_cast<int>(m_lengths.size());
    if (stored == m_shown)
        return;
    beginInsertRows({}, m_shown, stored - 1);
    m_shown = stored;
    endInsertRows();
}

void TextTableModel::store(QStringView tabSeparated) {
    // Latin-1 as the files hold it; a character beyond it becomes "?".
    const qsizetype length = firstCellsLength(tabSeparated, m_columns);
    const qsizetype at = m_text.size();
    m_text.resize(at + length);
    char* out = m_text.data() + at;
    for (const QChar c : tabSeparated.first(length))
        *out++ = c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    endRow(at);
}

void TextTableModel::appendRow(QStringView tabSeparated) {
    store(tabSeparated);
    showStagedRows();
}

void TextTableModel::reserve(qsizetype bytes, qsizetype rows) {
    m_text.reserve(m_text.size() + bytes);
    m_lengths.reserve(m_lengths.size() + static_cast<size_t>(rows));
    m_blocks.reserve(m_lengths.capacity() / kBlockRows + 1);
}

void TextTableModel::appendRows(const QStringList& rows) {
    for (const QString& row : rows)
        store(row);
    showStagedRows();
}
