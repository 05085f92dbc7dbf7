#pragma once

#include "core/manager/CNoteFilter.h"
#include "core/manager/CNoteFind.h"
#include "core/manager/CNoteSort.h"
#include "core/platform/COleDateTime.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

class CNote;

// The rows of the note list: the notes of the caller's sequence that pass the filter, in the
// sequence's order. Rows only point to their notes; texts are worked out when a row is drawn,
// so filling with any number of notes is instant. "Time Left" counts from the moment the row
// was filled or updated, as the list does not count down while it is open.
class CNoteListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NoteColumn, TimeColumn, TimeLeftColumn, TypeColumn, ColumnCount };
    enum Role { IconRole = Qt::UserRole + 1, DueSoonRole, NoteRole, UntitledRole };

    explicit CNoteListModel(QObject* parent = nullptr);

    // The caller's note sequence (not owned); the caller refills after changing it.
    void SetNotes(std::vector<CNote*>* notes) { m_notes = notes; }
    std::vector<CNote*>* Notes() const { return m_notes; }
    // Reorders the caller's sequence; by default the sequence itself is sorted. A store that
    // holds its notes otherwise hands in its own.
    void SetSorter(std::function<void(CNoteSort::Key, bool)> sorter) {
        m_sorter = std::move(sorter);
    }

    void SetFilter(int category, int timeFilter);
    int CategoryFilter() const { return m_category; }
    int TimeFilter() const { return m_timeFilter; }
    // The words typed into the find field; only notes holding all of them are listed.
    void SetFind(CNoteFind find) { m_find = std::move(find); }
    const CNoteFind& Find() const { return m_find; }
    bool PassesFilter(const CNote& note) const;

    // All rows anew from the sequence and the filter (the set of passing notes may change).
    void Refill();
    // The same rows overwritten in the sequence's new order (after a sort).
    void Rewrite();
    // Only the rows whose notes still match the find (after a find that narrows the last).
    void Narrow();
    void Sort(CNoteSort::Key key, bool ascending);
    // A row for a note added to the sequence, at the end; and the removal of one row.
    int AppendRow(CNote* note);
    void RemoveRow(int row);
    // A row's texts and icon again from its note, counted from now.
    void UpdateRow(int row);

    CNote* NoteAt(int row) const;
    int RowOf(const CNote* note) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void Collect();

    std::vector<CNote*>* m_notes = nullptr;
    std::function<void(CNoteSort::Key, bool)> m_sorter;
    int m_category = 0;
    int m_timeFilter = CNoteFilter::AllNotes;
    CNoteFind m_find;
    std::vector<CNote*> m_rows;
    std::vector<COleDateTime> m_filled; // when each row was written
};
