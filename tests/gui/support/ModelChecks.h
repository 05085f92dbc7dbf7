#pragma once
// Qt's own checks of what an item model answers (row counts, parents, indexes, the signals
// around every change), run for as long as the model lives; a wrong answer ends the test
// program with the reason.
#include <QAbstractItemModelTester>

inline void CheckModel(QAbstractItemModel* model) {
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal,
                                 model);
}
