#include <Cassowary/Row.h>

#include <algorithm>

namespace cassowary {

size_t Row::position(Symbol symbol) const {
    auto found =
        std::lower_bound(_cells.begin(), _cells.end(), symbol,
                         [](const Cell& cell, Symbol wanted) { return cell.symbol < wanted; });
    return static_cast<size_t>(found - _cells.begin());
}

double Row::coefficientFor(Symbol symbol) const {
    size_t at = position(symbol);
    return at < _cells.size() && _cells[at].symbol == symbol ? _cells[at].coefficient : 0.0;
}

const Row::Cell* Row::find(Symbol symbol) const {
    size_t at = position(symbol);
    return at < _cells.size() && _cells[at].symbol == symbol ? &_cells[at] : nullptr;
}

void Row::add(Symbol symbol, double coefficient) {
    size_t at = position(symbol);
    if (at < _cells.size() && _cells[at].symbol == symbol) {
        _cells[at].coefficient += coefficient;
        if (nearZero(_cells[at].coefficient)) {
            _cells.erase(_cells.begin() + at);
        }
    } else if (!nearZero(coefficient)) {
        _cells.insert(_cells.begin() + at, {symbol, 0, coefficient});
    }
}

Row::Cell Row::take(Symbol symbol) {
    size_t at = position(symbol);
    if (at == _cells.size() || _cells[at].symbol != symbol) {
        return {symbol, 0, 0.0};
    }
    Cell cell = _cells[at];
    _cells.erase(_cells.begin() + at);
    return cell;
}

Row::Cell& Row::insert(Symbol symbol, double coefficient) {
    return *_cells.insert(_cells.begin() + position(symbol), {symbol, 0, coefficient});
}

void Row::multiply(double factor) {
    _constant *= factor;
    for (Cell& cell : _cells) {
        cell.coefficient *= factor;
    }
}

} // namespace cassowary
