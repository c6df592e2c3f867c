#include <Cassowary/Row.h>

#include <algorithm>

namespace cassowary {

uint32_t Row::position(Symbol symbol) const {
    const Cell* found =
        std::lower_bound(_cells.begin(), _cells.end(), symbol,
                         [](const Cell& cell, Symbol wanted) { return cell.symbol < wanted; });
    return static_cast<uint32_t>(found - _cells.begin());
}

double Row::coefficientFor(Symbol symbol) const {
    uint32_t at = position(symbol);
    return at < _cells.size() && _cells[at].symbol == symbol ? _cells[at].coefficient : 0.0;
}

void Row::add(Symbol symbol, double coefficient) {
    uint32_t at = position(symbol);
    if (at < _cells.size() && _cells[at].symbol == symbol) {
        _cells[at].coefficient += coefficient;
        if (nearZero(_cells[at].coefficient)) {
            _cells.erase(_cells.begin() + at);
        }
    } else if (!nearZero(coefficient)) {
        _cells.insert(_cells.begin() + at, {symbol, coefficient});
    }
}

double Row::take(Symbol symbol) {
    uint32_t at = position(symbol);
    if (at == _cells.size() || _cells[at].symbol != symbol) {
        return 0.0;
    }
    double coefficient = _cells[at].coefficient;
    _cells.erase(_cells.begin() + at);
    return coefficient;
}

void Row::insert(Symbol symbol, double coefficient) {
    _cells.insert(_cells.begin() + position(symbol), {symbol, coefficient});
}

void Row::multiply(double factor) {
    _constant *= factor;
    for (Cell& cell : _cells) {
        cell.coefficient *= factor;
    }
}

} // namespace cassowary
