#include <Cassowary/Tableau.h>

#include <algorithm>
#include <limits>

#include <Cassowary/InternalSolverError.h>

namespace cassowary {

namespace {

bool isPivotable(SymbolKind kind) {
    return kind == SymbolKind::Slack || kind == SymbolKind::Error;
}

// Keeps the candidate of least ratio, the lower symbol among equals.
void keepLeast(double ratio, Symbol symbol, double& bestRatio, Symbol& best) {
    if (ratio < bestRatio || (ratio == bestRatio && symbol < best)) {
        bestRatio = ratio;
        best = symbol;
    }
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

Tableau::Tableau() {
    clear();
}

void Tableau::clear() {
    _symbols.clear();
    _symbols.emplace_back();
    _freeSymbols.clear();
    _rows.clear();
    _freeRows.clear();
    _entering = {};
    _infeasible.clear();
    _artificial.reset();
}

Symbol Tableau::createSymbol(SymbolKind kind) {
    Symbol symbol;
    if (_freeSymbols.empty()) {
        symbol = static_cast<Symbol>(_symbols.size());
        _symbols.emplace_back();
    } else {
        symbol = _freeSymbols.back();
        _freeSymbols.pop_back();
    }
    SymbolInfo& info = _symbols[symbol];
    info.kind = kind;
    info.objective = 0;
    info.row = kNoRow;
    info.untidy = false;
    return symbol;
}

void Tableau::releaseSymbol(Symbol symbol) {
    if (isBasic(symbol)) {
        removeRow(symbol);
    }
    Column holders = std::move(_symbols[symbol].column);
    for (uint32_t holder : holders) {
        _rows[holder].row.take(symbol);
    }
    _symbols[symbol].untidy = false;
    _symbols[symbol].objective = 0;
    _freeSymbols.push_back(symbol);
}

void Tableau::expand(Row& row, Symbol symbol, double coefficient) {
    if (isBasic(symbol)) {
        row.add(rowOf(symbol), coefficient, _scratch);
    } else {
        row.add(symbol, coefficient);
    }
}

void Tableau::link(uint32_t rowId, Symbol symbol) {
    SymbolInfo& info = _symbols[symbol];
    // No column holds more rows than the tableau has: past twice that, most
    // of it is departed rows, and tidying it costs a constant per departure.
    if (info.untidy && info.column.size() > 2 * std::max<size_t>(_rows.size(), 16)) {
        tidy(symbol);
    }
    info.column.push_back(rowId);
}

void Tableau::tidy(Symbol symbol) {
    SymbolInfo& info = _symbols[symbol];
    if (!info.untidy) {
        return;
    }
    Column& column = info.column;
    std::sort(column.begin(), column.end());
    uint32_t kept = 0;
    for (uint32_t index = 0; index < column.size(); ++index) {
        uint32_t holder = column[index];
        bool repeated = kept > 0 && column[kept - 1] == holder;
        if (!repeated && _rows[holder].row.coefficientFor(symbol) != 0.0) {
            column[kept++] = holder;
        }
    }
    column.truncate(kept);
    info.untidy = false;
}

uint32_t Tableau::insertRow(Symbol basic, Row row) {
    uint32_t id;
    if (_freeRows.empty()) {
        id = static_cast<uint32_t>(_rows.size());
        _rows.emplace_back(BasicRow{basic, std::move(row)});
    } else {
        id = _freeRows.back();
        _freeRows.pop_back();
        _rows[id] = {basic, std::move(row)};
    }
    for (const Row::Cell& cell : _rows[id].row.cells()) {
        link(id, cell.symbol);
    }
    _symbols[basic].row = id;
    return id;
}

void Tableau::removeRow(Symbol basic) {
    uint32_t id = _symbols[basic].row;
    _symbols[basic].row = kNoRow;
    for (const Row::Cell& cell : _rows[id].row.cells()) {
        _symbols[cell.symbol].untidy = true;
    }
    _rows[id].row = Row();
    _freeRows.push_back(id);
}

void Tableau::substitute(Symbol symbol, uint32_t rowId) {
    // The symbol is basic in rowId now, so no row gains it while its column is detached.
    Column holders = std::move(_symbols[symbol].column);
    const Row& row = _rows[rowId].row;
    for (uint32_t holder : holders) {
        BasicRow& target = _rows[holder];
        // Zero for a row that lost the symbol, or that an earlier listing already covered.
        double coefficient = target.row.coefficientFor(symbol);
        if (coefficient == 0.0) {
            continue;
        }
        target.row.add(
            row, coefficient, _scratch, symbol, [&](Symbol entered) { link(holder, entered); },
            [&](Symbol left) { _symbols[left].untidy = true; });
        noteIfInfeasible(target);
    }
    holders.clear();
    _symbols[symbol].column = std::move(holders);
    _symbols[symbol].untidy = false;

    if (double weight = _symbols[symbol].objective; weight != 0.0) {
        _symbols[symbol].objective = 0;
        for (const Row::Cell& cell : row.cells()) {
            adjustObjective(cell.symbol, weight * cell.coefficient);
        }
    }
    if (_artificial) {
        if (double coefficient = _artificial->coefficientFor(symbol); coefficient != 0.0) {
            _artificial->add(
                row, coefficient, _scratch, symbol, [](Symbol) {}, [](Symbol) {});
        }
    }
}

void Tableau::pivot(Symbol entering, Symbol leaving) {
    uint32_t rowId = _symbols[leaving].row;
    Row& row = _rows[rowId].row;
    double coefficient = row.take(entering);
    if (coefficient == 0.0) {
        throw InternalSolverError("pivot on a symbol that is not in the leaving row");
    }
    // basic = c + a·entering + rest  becomes  entering = (basic - c - rest) / a.
    row.insert(leaving, -1.0);
    link(rowId, leaving);
    row.multiply(-1.0 / coefficient);
    _symbols[leaving].row = kNoRow;
    _symbols[entering].row = rowId;
    _rows[rowId].basic = entering;
    substitute(entering, rowId);
}

void Tableau::adjustObjective(Symbol symbol, double delta) {
    SymbolInfo& info = _symbols[symbol];
    info.objective += delta;
    if (Row::nearZero(info.objective)) {
        info.objective = 0;
    } else if (info.objective < 0 && !info.queued) {
        info.queued = true;
        _entering.push(symbol);
    }
}

void Tableau::addToObjective(Symbol symbol, double weight) {
    if (!isBasic(symbol)) {
        adjustObjective(symbol, weight);
        return;
    }
    for (const Row::Cell& cell : rowOf(symbol).cells()) {
        adjustObjective(cell.symbol, weight * cell.coefficient);
    }
}

void Tableau::noteIfInfeasible(const BasicRow& row) {
    double constant = row.row.constant();
    if (constant < 0 && !Row::nearZero(constant) && isRestricted(row.basic)) {
        _infeasible.push_back(row.basic);
    }
}

Symbol Tableau::chooseSubject(const Row& row, Symbol marker, Symbol other) const {
    // A variable, if the row has one: the one in fewest rows, so that
    // substituting it touches least. External subjects keep restricted rows
    // free of parametric variables, which keeps the tableau feasible.
    Symbol best = kNoSymbol;
    size_t bestUses = std::numeric_limits<size_t>::max();
    for (const Row::Cell& cell : row.cells()) {
        if (kind(cell.symbol) == SymbolKind::External) {
            size_t uses = _symbols[cell.symbol].column.size();
            if (uses < bestUses) {
                best = cell.symbol;
                bestUses = uses;
                if (uses == 0) {
                    break;
                }
            }
        }
    }
    if (best != kNoSymbol) {
        return best;
    }
    // Else the constraint's own slack or error, when solving for it leaves it non-negative.
    for (Symbol own : {marker, other}) {
        if (own != kNoSymbol && isPivotable(kind(own)) && row.coefficientFor(own) < 0) {
            return own;
        }
    }
    // A row of constant zero stays feasible whichever restricted symbol it is solved for.
    if (Row::nearZero(row.constant())) {
        for (const Row::Cell& cell : row.cells()) {
            if (isPivotable(kind(cell.symbol))) {
                return cell.symbol;
            }
        }
    }
    return kNoSymbol;
}

bool Tableau::addEquation(const Row& equation, Symbol marker, Symbol other) {
    // A copy of just the size needed: short rows stay inline.
    Row row(equation);
    if (row.constant() < 0) {
        row.multiply(-1.0);
    }
    Symbol subject = chooseSubject(row, marker, other);
    if (subject == kNoSymbol) {
        bool onlyDummies =
            std::all_of(row.cells().begin(), row.cells().end(), [this](const Row::Cell& cell) {
                return kind(cell.symbol) == SymbolKind::Dummy;
            });
        if (!onlyDummies) {
            return addWithArtificial(std::move(row));
        }
        // Only required equalities' markers: a redundant equality if the
        // constant is zero, a contradiction otherwise.
        if (!Row::nearZero(row.constant())) {
            return false;
        }
        subject = marker;
    }
    double coefficient = row.take(subject);
    row.multiply(-1.0 / coefficient);
    uint32_t rowId = insertRow(subject, std::move(row));
    substitute(subject, rowId);
    return true;
}

bool Tableau::addWithArtificial(Row row) {
    // Phase one: a new restricted symbol stands for the row, and minimising it
    // finds whether the row can be brought to zero.
    Symbol artificial = createSymbol(SymbolKind::Slack);
    _artificial = row;
    insertRow(artificial, std::move(row));
    std::vector<std::pair<Symbol, Symbol>> pivots;
    while (true) {
        auto negative =
            std::find_if(_artificial->cells().begin(), _artificial->cells().end(),
                         [this](const Row::Cell& cell) {
                             return cell.coefficient < 0 && kind(cell.symbol) != SymbolKind::Dummy;
                         });
        if (negative == _artificial->cells().end()) {
            break;
        }
        Symbol entering = negative->symbol;
        Symbol leaving = leavingFor(entering);
        if (leaving == kNoSymbol) {
            throw InternalSolverError("unbounded artificial objective");
        }
        pivot(entering, leaving);
        pivots.emplace_back(entering, leaving);
    }
    bool satisfiable = Row::nearZero(_artificial->constant());
    _artificial.reset();

    if (!satisfiable) {
        // Undo phase one's pivots, newest first, to give back the basis and
        // solution from before; then the artificial row is the new one alone.
        for (auto step = pivots.rbegin(); step != pivots.rend(); ++step) {
            pivot(step->second, step->first);
        }
        removeRow(artificial);
        releaseSymbol(artificial);
        return false;
    }
    if (isBasic(artificial)) {
        const Row& own = rowOf(artificial);
        if (!own.cells().empty()) {
            auto entering =
                std::find_if(own.cells().begin(), own.cells().end(), [this](const Row::Cell& cell) {
                    return isPivotable(kind(cell.symbol));
                });
            pivot(entering != own.cells().end() ? entering->symbol : own.cells().front().symbol,
                  artificial);
        }
    }
    // The artificial symbol is zero: dropping it from every row leaves the new equation.
    releaseSymbol(artificial);
    return true;
}

void Tableau::removeEquation(Symbol marker) {
    if (!isBasic(marker)) {
        Symbol leaving = markerLeaving(marker);
        if (leaving == kNoSymbol) {
            throw InternalSolverError("a constraint's marker is in no row");
        }
        pivot(marker, leaving);
    }
    removeRow(marker);
}

void Tableau::offset(Symbol symbol, double delta) {
    if (isBasic(symbol)) {
        BasicRow& own = _rows[_symbols[symbol].row];
        own.row.addConstant(-delta);
        noteIfInfeasible(own);
        return;
    }
    tidy(symbol);
    for (uint32_t holder : _symbols[symbol].column) {
        BasicRow& target = _rows[holder];
        target.row.addConstant(target.row.coefficientFor(symbol) * delta);
        noteIfInfeasible(target);
    }
}

Symbol Tableau::nextEntering() {
    while (!_entering.empty()) {
        Symbol symbol = _entering.top();
        _entering.pop();
        SymbolInfo& info = _symbols[symbol];
        info.queued = false;
        if (info.objective < 0 && info.row == kNoRow && info.kind != SymbolKind::Dummy) {
            return symbol;
        }
    }
    return kNoSymbol;
}

Symbol Tableau::leavingFor(Symbol entering) const {
    Symbol best = kNoSymbol;
    double bestRatio = kInfinity;
    for (uint32_t holder : _symbols[entering].column) {
        const BasicRow& candidate = _rows[holder];
        if (!isRestricted(candidate.basic)) {
            continue;
        }
        double coefficient = candidate.row.coefficientFor(entering);
        if (coefficient < 0) {
            keepLeast(-candidate.row.constant() / coefficient, candidate.basic, bestRatio, best);
        }
    }
    return best;
}

Symbol Tableau::markerLeaving(Symbol marker) const {
    // A required equality's row that holds the marker comes first: such a row
    // holds only dummies, and pivoting there keeps it so and its basic at
    // zero. Then a restricted row that bounds the marker from above, then one
    // that bounds it from below, then a variable's row.
    Symbol dummy = kNoSymbol;
    Symbol above = kNoSymbol;
    Symbol below = kNoSymbol;
    Symbol unrestricted = kNoSymbol;
    double aboveRatio = kInfinity;
    double belowRatio = kInfinity;
    auto lowest = [](Symbol& best, Symbol symbol) {
        if (best == kNoSymbol || symbol < best) {
            best = symbol;
        }
    };
    for (uint32_t holder : _symbols[marker].column) {
        const BasicRow& candidate = _rows[holder];
        double coefficient = candidate.row.coefficientFor(marker);
        if (coefficient == 0.0) {
            continue;
        }
        SymbolKind basicKind = kind(candidate.basic);
        if (basicKind == SymbolKind::Dummy) {
            lowest(dummy, candidate.basic);
        } else if (basicKind == SymbolKind::External) {
            lowest(unrestricted, candidate.basic);
        } else if (coefficient < 0) {
            keepLeast(-candidate.row.constant() / coefficient, candidate.basic, aboveRatio, above);
        } else {
            keepLeast(candidate.row.constant() / coefficient, candidate.basic, belowRatio, below);
        }
    }
    for (Symbol choice : {dummy, above, below}) {
        if (choice != kNoSymbol) {
            return choice;
        }
    }
    return unrestricted;
}

Symbol Tableau::dualEntering(const Row& row) const {
    Symbol best = kNoSymbol;
    double bestRatio = kInfinity;
    for (const Row::Cell& cell : row.cells()) {
        if (cell.coefficient > 0 && kind(cell.symbol) != SymbolKind::Dummy) {
            keepLeast(_symbols[cell.symbol].objective / cell.coefficient, cell.symbol, bestRatio,
                      best);
        }
    }
    return best;
}

void Tableau::optimize() {
    for (Symbol entering = nextEntering(); entering != kNoSymbol; entering = nextEntering()) {
        Symbol leaving = leavingFor(entering);
        if (leaving == kNoSymbol) {
            throw InternalSolverError("unbounded objective");
        }
        pivot(entering, leaving);
    }
}

void Tableau::dualOptimize() {
    while (!_infeasible.empty()) {
        Symbol leaving = _infeasible.back();
        _infeasible.pop_back();
        if (!isBasic(leaving)) {
            continue;
        }
        double constant = rowOf(leaving).constant();
        if (constant >= 0 || Row::nearZero(constant)) {
            continue;
        }
        Symbol entering = dualEntering(rowOf(leaving));
        if (entering == kNoSymbol) {
            throw InternalSolverError("dual optimization found no entering symbol");
        }
        pivot(entering, leaving);
    }
}

} // namespace cassowary
