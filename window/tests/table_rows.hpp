#pragma once

#include <QTest>

#include <cstddef>
#include <span>

namespace heptanote::testing {

// Adds one data row per row of `rows`, named after its `name`, holding its index as "row" so the
// test function can QFETCH(int, row) and look the row up.
template <class Row>
void addRows(std::span<const Row> rows) {
    QTest::addColumn<int>("row");
    for (std::size_t row = 0; row < rows.size(); ++row)
        QTest::newRow(rows[row].name) << static_cast<int>(row);
}

template <class Row, std::size_t size>
void addRows(const Row (&rows)[size]) {
    addRows(std::span<const Row>(rows));
}

}  // namespace heptanote::testing
