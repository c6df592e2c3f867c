#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include <Cassowary/SmallVector.h>
#include <Cassowary/Symbol.h>

namespace cassowary {

// A linear row, `constant + Σ coefficient·symbol`, with its cells sorted by
// symbol so that rows merge in one pass. In the tableau a row also reads as
// `basic = row`; each cell then records its place in its symbol's column.
class Row {
public:
    struct Cell {
        Symbol symbol;
        // The tableau's bookkeeping, not part of the row's value.
        mutable uint32_t slot;
        double coefficient;
    };

    // Coefficients this close to zero are zero: they are left from cancellation.
    static bool nearZero(double value) { return std::abs(value) < 1.0e-8; }

    explicit Row(double constant = 0) : _constant(constant) {}

    double constant() const { return _constant; }
    void addConstant(double delta) { _constant += delta; }
    using Cells = SmallVector<Cell, 2>;

    const Cells& cells() const { return _cells; }
    void reserve(uint32_t cells) { _cells.reserve(cells); }

    double coefficientFor(Symbol symbol) const;
    const Cell* find(Symbol symbol) const;

    // Adds coefficient·symbol, dropping the cell if it cancels out.
    void add(Symbol symbol, double coefficient);

    // Adds factor·other. `inserted(cell)` is told of each symbol that enters
    // this row, `erased(cell)` of each that cancels out; `scratch` is working
    // storage that keeps its capacity from one merge to the next.
    template <class Inserted, class Erased>
    void add(const Row& other, double factor, std::vector<Cell>& scratch, Inserted inserted,
             Erased erased);
    void add(const Row& other, double factor, std::vector<Cell>& scratch) {
        add(
            other, factor, scratch, [](const Cell&) {}, [](const Cell&) {});
    }

    // Removes the symbol's cell and returns it; a cell of coefficient 0 if absent.
    Cell take(Symbol symbol);
    // Inserts a cell for a symbol that the row does not hold.
    Cell& insert(Symbol symbol, double coefficient);

    void multiply(double factor);

private:
    // Index of the first cell whose symbol is not below `symbol`.
    size_t position(Symbol symbol) const;

    Cells _cells;
    double _constant;
};

template <class Inserted, class Erased>
void Row::add(const Row& other, double factor, std::vector<Cell>& scratch, Inserted inserted,
              Erased erased) {
    _constant += other._constant * factor;
    scratch.clear();
    // Reserved up front so that cells handed to `inserted` stay where they are
    // until they are copied back.
    scratch.reserve(_cells.size() + other._cells.size());
    auto mine = _cells.begin();
    const auto mineEnd = _cells.end();
    for (const Cell& theirs : other._cells) {
        while (mine != mineEnd && mine->symbol < theirs.symbol) {
            scratch.push_back(*mine++);
        }
        double added = theirs.coefficient * factor;
        if (mine != mineEnd && mine->symbol == theirs.symbol) {
            double sum = mine->coefficient + added;
            if (nearZero(sum)) {
                erased(*mine);
            } else {
                scratch.push_back({mine->symbol, mine->slot, sum});
            }
            ++mine;
        } else if (!nearZero(added)) {
            scratch.push_back({theirs.symbol, 0, added});
            inserted(scratch.back());
        }
    }
    scratch.insert(scratch.end(), mine, mineEnd);
    _cells.assign(scratch.data(), scratch.data() + scratch.size());
}

} // namespace cassowary
