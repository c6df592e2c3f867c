#pragma once

#include <cmath>
#include <cstdint>

#include <Cassowary/SmallVector.h>
#include <Cassowary/Symbol.h>

namespace cassowary {

// A linear row, `constant + Σ coefficient·symbol`, with its cells sorted by
// symbol so that rows merge in one pass. In the tableau a row also reads as
// `basic = row`.
class Row {
public:
    struct Cell {
        Symbol symbol;
        double coefficient;
    };
    using Cells = SmallVector<Cell, 2>;

    // Coefficients this close to zero are zero: they are left from cancellation.
    static bool nearZero(double value) { return std::abs(value) < 1.0e-8; }

    explicit Row(double constant = 0) : _constant(constant) {}

    double constant() const { return _constant; }
    void addConstant(double delta) { _constant += delta; }
    const Cells& cells() const { return _cells; }
    // Empties the row for reuse, keeping its storage.
    void reset(double constant) {
        _cells.clear();
        _constant = constant;
    }

    double coefficientFor(Symbol symbol) const;

    // Adds coefficient·symbol, dropping the cell if it cancels out.
    void add(Symbol symbol, double coefficient);

    // Adds factor·other in one pass, dropping the cell of `replaced` (the
    // symbol that `other` stands for when substituting). `entered(symbol)` is
    // told of each symbol that comes into this row, `left(symbol)` of each
    // that cancels out. `scratch` is working storage that keeps its capacity
    // from one merge to the next.
    template <class Entered, class Left>
    void add(const Row& other, double factor, Cells& scratch, Symbol replaced, Entered entered,
             Left left);
    void add(const Row& other, double factor, Cells& scratch) {
        add(
            other, factor, scratch, kNoSymbol, [](Symbol) {}, [](Symbol) {});
    }

    // Removes the symbol's cell and returns its coefficient; 0 if absent.
    double take(Symbol symbol);
    // Inserts a cell for a symbol that the row does not hold.
    void insert(Symbol symbol, double coefficient);

    void multiply(double factor);

private:
    // Index of the first cell whose symbol is not below `symbol`.
    uint32_t position(Symbol symbol) const;

    Cells _cells;
    double _constant;
};

template <class Entered, class Left>
void Row::add(const Row& other, double factor, Cells& scratch, Symbol replaced, Entered entered,
              Left left) {
    _constant += other._constant * factor;
    scratch.clear();
    scratch.reserve(_cells.size() + other._cells.size());
    const Cell* mine = _cells.begin();
    const Cell* const mineEnd = _cells.end();
    auto keep = [&](const Cell& cell) {
        if (cell.symbol != replaced) {
            scratch.push_back(cell);
        }
    };
    for (const Cell& theirs : other._cells) {
        while (mine != mineEnd && mine->symbol < theirs.symbol) {
            keep(*mine++);
        }
        double added = theirs.coefficient * factor;
        if (mine != mineEnd && mine->symbol == theirs.symbol) {
            double sum = mine->coefficient + added;
            if (nearZero(sum)) {
                left(mine->symbol);
            } else {
                scratch.push_back({mine->symbol, sum});
            }
            ++mine;
        } else if (!nearZero(added)) {
            scratch.push_back({theirs.symbol, added});
            entered(theirs.symbol);
        }
    }
    while (mine != mineEnd) {
        keep(*mine++);
    }
    _cells.absorb(scratch);
}

} // namespace cassowary
