#include "gui/manager/CNoteListModel.h"

#include "core/manager/CNoteListFormat.h"
#include "core/model/CNote.h"
#include "core/platform/Clock.h"

CNoteListModel::CNoteListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CNoteListModel::SetFilter(int category, int timeFilter) {
    m_category = category;
    m_timeFilter = timeFilter;
}

void CNoteListModel::Collect() {
    m_rows.clear();
    m_filled.clear();
    if (!m_notes) return;
    const COleDateTime now = Clock::Now();
    const CNoteFilter filter(m_category, m_timeFilter, now);
    for (CNote* n : *m_notes)
        if (filter.Passes(*n) && m_find.Matches(*n)) m_rows.push_back(n);
    m_filled.assign(m_rows.size(), now);
}

bool CNoteListModel::PassesFilter(const CNote& note) const {
    return CNoteFilter(m_category, m_timeFilter, Clock::Now()).Passes(note) && m_find.Matches(note);
}

void CNoteListModel::Refill() {
    beginResetModel();
    Collect();
    endResetModel();
}

void CNoteListModel::Narrow() {
    beginResetModel();
    size_t kept = 0;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_find.Matches(*m_rows[i])) {
            m_rows[kept] = m_rows[i];
            m_filled[kept++] = m_filled[i];
        }
    m_rows.resize(kept);
    m_filled.resize(kept);
    endResetModel();
}

void CNoteListModel::Rewrite() {
    const size_t before = m_rows.size();
    Collect();
    if (m_rows.size() != before) { // the sequence changed behind the list: start over
        beginResetModel();
        endResetModel();
        return;
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, ColumnCount - 1));
}

void CNoteListModel::Sort(CNoteSort::Key key, bool ascending) {
    if (m_sorter)
        m_sorter(key, ascending);
    else if (m_notes)
        CNoteSort::Sort(*m_notes, key, ascending);
    Rewrite();
}

void CNoteListModel::UpdateRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    m_filled[row] = Clock::Now();
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int CNoteListModel::AppendRow(CNote* note) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_rows.push_back(note);
    m_filled.push_back(Clock::Now());
    endInsertRows();
    return row;
}

void CNoteListModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    m_filled.erase(m_filled.begin() + row);
    endRemoveRows();
}

CNote* CNoteListModel::NoteAt(int row) const {
    return row >= 0 && row < rowCount() ? m_rows[row] : nullptr;
}

int CNoteListModel::RowOf(const CNote* note) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] == note) return static_cast<int>(i);
    return -1;
}

int CNoteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CNoteListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CNoteListModel::data(const QModelIndex& index, int role) const {
    const CNote* n = NoteAt(index.row());
    if (!n) return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NoteColumn: {
            bool untitled = false;
            return QString::fromStdString(CNoteListFormat::TitleText(*n, untitled));
        }
        case TimeColumn:
            return QString::fromStdString(CNoteListFormat::TimeText(*n));
        case TimeLeftColumn:
            return QString::fromStdString(CNoteListFormat::TimeLeftText(*n, m_filled[index.row()]));
        default:
            return QString::fromStdString(n->TypeText());
        }
    case Qt::TextAlignmentRole:
        return index.column() == NoteColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                            : int(Qt::AlignCenter);
    case IconRole:
        return static_cast<int>(CNoteListFormat::RowIcon(*n, m_filled[index.row()]));
    case DueSoonRole:
        return n->m_dueSoon != 0;
    case UntitledRole: {
        bool untitled = false;
        CNoteListFormat::TitleText(*n, untitled);
        return untitled;
    }
    case NoteRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<CNote*>(n)));
    default:
        return {};
    }
}

QVariant CNoteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) // the first column of a list reads from the left
        return section == NoteColumn ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    static const char* const headings[ColumnCount] = {"Note", "Time", "Time Left", "Type"};
    return section >= 0 && section < ColumnCount ? QString(headings[section]) : QVariant();
}
