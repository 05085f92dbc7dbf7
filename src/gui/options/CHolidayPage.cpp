#include "gui/options/CHolidayPage.h"

#include "core/calendar/CHolidayTable.h"
#include "core/options/COptionsValues.h"
#include "core/platform/SystemMetrics.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

CHolidayPage::CHolidayPage(COptionsValues& values, IDialogs& dialogs, const CHolidayTable& table,
                           QWidget* parent)
    : COptionsPage(values, dialogs, parent) {
    m_list = new QTableWidget(CHolidayTable::kCount, 2, this);
    m_list->setObjectName(QStringLiteral("holidays"));
    m_list->setToolTip(tr("Select holidays in calendar"));
    m_list->setHorizontalHeaderLabels({tr("Holiday"), tr("Date")});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    for (int i = 0; i < CHolidayTable::kCount; ++i) {
        auto* name = new QTableWidgetItem(QString::fromStdString(table.entries[i].name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        name->setCheckState(values.holidayFlags[i] ? Qt::Checked : Qt::Unchecked);
        auto* rule = new QTableWidgetItem(QString::fromStdString(table.entries[i].rule));
        rule->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        // Long names and rules are cut with "..." in their columns: the tip shows them whole.
        for (QTableWidgetItem* item : {name, rule})
            item->setToolTip(item->text());
        m_list->setItem(i, 0, name);
        m_list->setItem(i, 1, rule);
    }
    m_list->setCurrentCell(0, 0);
    m_list->setGeometry(Units().Rect(3, 3, 219, 103));
    // Two fifths for the name, three for the rule, within the room the scroll bar leaves.
    const int room = m_list->width() - 2 * SystemMetrics::SM_CXEDGE -
                     m_list->verticalScrollBar()->sizeHint().width();
    m_list->setColumnWidth(0, room * 2 / 5);
    m_list->setColumnWidth(1, room * 3 / 5);
}

void CHolidayPage::Store() {
    for (int i = 0; i < CHolidayTable::kCount; ++i)
        m_values.holidayFlags[i] = m_list->item(i, 0)->checkState() == Qt::Checked ? 1 : 0;
}
