#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <utility>
#include <vector>

#include <Cassowary/BlockVector.h>
#include <Cassowary/Row.h>
#include <Cassowary/Symbol.h>

namespace cassowary {

// The simplex tableau of the Cassowary algorithm (Badros, Borning and
// Stuckey): one row per basic symbol, `basic = constant + Σ coefficient·symbol`
// over parametric symbols, kept feasible (restricted basics at least zero) and
// optimal for the objective, the weighted sum of the error symbols.
//
// Every symbol has a column: the rows in which it is parametric. Substituting
// a symbol, pivoting and shifting an edit's target touch only the rows of its
// column, so the cost follows the constraints involved, not the whole system.
// Columns are kept loosely: a row that loses a symbol stays listed, and walks
// skip it, so merging rows never searches columns; a column with such rows is
// cleaned before a walk that must see each row once, or once it outgrows the
// tableau.
// The objective is dense by symbol, and the symbols whose objective
// coefficient may be negative wait in a queue, lowest id first (Bland's rule),
// so finding the entering symbol does not scan the objective.
class Tableau {
public:
    Tableau();

    Symbol createSymbol(SymbolKind kind);
    // Forgets a symbol that no constraint uses any more: whatever cells rounding
    // left of it go too, and its id is free to be handed out again.
    void releaseSymbol(Symbol symbol);

    SymbolKind kind(Symbol symbol) const { return _symbols[symbol].kind; }
    bool isBasic(Symbol symbol) const { return _symbols[symbol].row != kNoRow; }
    // The symbol's value in the current solution: its row's constant, or 0 if parametric.
    double value(Symbol symbol) const {
        uint32_t row = _symbols[symbol].row;
        return row == kNoRow ? 0.0 : _rows[row].row.constant();
    }

    // Adds coefficient·symbol to a row being built, in parametric symbols only.
    void expand(Row& row, Symbol symbol, double coefficient);

    // Adds the equation `0 = row` of a new constraint whose own symbols are
    // `marker` and `other` (none if it has one). False when it conflicts with
    // the required equations, and then the tableau is as it was.
    bool addEquation(const Row& equation, Symbol marker, Symbol other);
    // Removes the equation that `marker` belongs to.
    void removeEquation(Symbol marker);

    // Adds weight·symbol to the objective.
    void addToObjective(Symbol symbol, double weight);
    // Replaces `symbol` by `symbol + delta` everywhere: through an edit's plus
    // error, moves the edit's target by delta. Rows left infeasible are noted
    // for dualOptimize.
    void offset(Symbol symbol, double delta);

    // Primal simplex: pivots until no parametric symbol lowers the objective.
    void optimize();
    // Dual simplex: pivots until the rows noted infeasible are feasible again,
    // keeping the objective optimal.
    void dualOptimize();

    void clear();

private:
    static constexpr uint32_t kNoRow = UINT32_MAX;

    // The rows in which a symbol is parametric, and perhaps some that were.
    using Column = SmallVector<uint32_t, 4>;
    struct SymbolInfo {
        Column column;
        double objective = 0;
        uint32_t row = kNoRow;
        SymbolKind kind = SymbolKind::External;
        bool queued = false;
        // The column may list rows that no longer hold the symbol, or a row twice.
        bool untidy = false;
    };
    struct BasicRow {
        Symbol basic;
        Row row;
    };

    bool isRestricted(Symbol symbol) const { return kind(symbol) != SymbolKind::External; }
    const Row& rowOf(Symbol basic) const { return _rows[_symbols[basic].row].row; }

    void link(uint32_t rowId, Symbol symbol);
    // Drops the rows that no longer hold the symbol, and repeats, from an untidy column.
    void tidy(Symbol symbol);
    uint32_t insertRow(Symbol basic, Row row);
    void removeRow(Symbol basic);
    void substitute(Symbol symbol, uint32_t rowId);
    void pivot(Symbol entering, Symbol leaving);
    void adjustObjective(Symbol symbol, double delta);
    void noteIfInfeasible(const BasicRow& row);

    Symbol chooseSubject(const Row& row, Symbol marker, Symbol other) const;
    bool addWithArtificial(Row row);
    Symbol nextEntering();
    Symbol leavingFor(Symbol entering) const;
    Symbol markerLeaving(Symbol marker) const;
    Symbol dualEntering(const Row& row) const;

    BlockVector<SymbolInfo> _symbols;
    std::vector<Symbol> _freeSymbols;
    BlockVector<BasicRow> _rows;
    std::vector<uint32_t> _freeRows;
    std::priority_queue<Symbol, std::vector<Symbol>, std::greater<>> _entering;
    std::vector<Symbol> _infeasible;
    // Phase one's objective while a constraint is added through an artificial symbol.
    std::optional<Row> _artificial;
    Row::Cells _scratch;
};

} // namespace cassowary
