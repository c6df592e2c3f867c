#include <Cassowary/Solver.h>

#include <algorithm>
#include <cmath>

#include <Cassowary/BadRequiredStrength.h>
#include <Cassowary/DuplicateConstraint.h>
#include <Cassowary/DuplicateEditVariable.h>
#include <Cassowary/InvalidConstraint.h>
#include <Cassowary/InvalidSuggestion.h>
#include <Cassowary/UnknownConstraint.h>
#include <Cassowary/UnknownEditVariable.h>
#include <Cassowary/UnsatisfiableConstraint.h>

namespace cassowary {

namespace {

bool isFinite(const Constraint& constraint) {
    const Expression& expression = constraint.expression();
    return std::isfinite(expression.constant()) && std::isfinite(constraint.strength()) &&
           std::all_of(expression.terms().begin(), expression.terms().end(),
                       [](const Term& term) { return std::isfinite(term.coefficient()); });
}

} // namespace

void Solver::addConstraint(const Constraint& constraint) {
    if (hasConstraint(constraint)) {
        throw DuplicateConstraint(constraint);
    }
    if (!isFinite(constraint)) {
        throw InvalidConstraint(constraint);
    }
    std::optional<Tag> tag = install(constraint);
    if (!tag) {
        throw UnsatisfiableConstraint(constraint);
    }
    _constraints.add(constraint.membership(), Entry{constraint, *tag});
}

void Solver::removeConstraint(const Constraint& constraint) {
    Entry* entry = _constraints.find(constraint.membership());
    if (!entry) {
        throw UnknownConstraint(constraint);
    }
    Tag tag = entry->tag;
    _constraints.erase(constraint.membership());
    uninstall(constraint, tag);
}

bool Solver::hasConstraint(const Constraint& constraint) const {
    return _constraints.contains(constraint.membership());
}

void Solver::addEditVariable(const Variable& variable, double strength) {
    if (hasEditVariable(variable)) {
        throw DuplicateEditVariable(variable);
    }
    Constraint constraint(Expression(variable) - variable.value(), RelationalOperator::Equal,
                          strength);
    if (constraint.isRequired()) {
        throw BadRequiredStrength(variable);
    }
    if (!isFinite(constraint)) {
        throw InvalidSuggestion(variable);
    }
    // Never fails: only required constraints conflict.
    Tag tag = *install(constraint);
    _edits.add(variable.membership(), Edit{constraint, tag, variable.value()});
}

void Solver::removeEditVariable(const Variable& variable) {
    Edit* found = _edits.find(variable.membership());
    if (!found) {
        throw UnknownEditVariable(variable);
    }
    Edit edit = std::move(*found);
    _edits.erase(variable.membership());
    uninstall(edit.constraint, edit.tag);
}

bool Solver::hasEditVariable(const Variable& variable) const {
    return _edits.contains(variable.membership());
}

void Solver::suggestValue(const Variable& variable, double value) {
    Edit* edit = _edits.find(variable.membership());
    if (!edit) {
        throw UnknownEditVariable(variable);
    }
    if (!std::isfinite(value)) {
        throw InvalidSuggestion(variable);
    }
    double delta = value - edit->value;
    edit->value = value;
    // The edit reads `variable - target = plus - minus`: moving the target by
    // delta is moving the plus error by delta.
    _tableau.offset(edit->tag.marker, delta);
    _tableau.dualOptimize();
}

void Solver::updateVariables() {
    _variables.forEach(
        [this](VariableUse& use) { use.variable.setValue(_tableau.value(use.symbol)); });
}

void Solver::reset() {
    _tableau.clear();
    _constraints.clear();
    _edits.clear();
    _variables.clear();
}

std::optional<Solver::Tag> Solver::install(const Constraint& constraint) {
    // The row `expression + slack/error terms = 0`, in parametric symbols.
    const Expression& expression = constraint.expression();
    Row& row = _building;
    row.reset(expression.constant());
    for (const Term& term : expression.terms()) {
        _tableau.expand(row, acquire(term.variable()), term.coefficient());
    }
    Tag tag;
    bool required = constraint.isRequired();
    switch (constraint.op()) {
    case RelationalOperator::LessThanOrEqual:
    case RelationalOperator::GreaterThanOrEqual: {
        // expression + slack = 0 for <=, expression - slack = 0 for >=; an
        // error on the other side lets a weighted one be violated.
        double sign = constraint.op() == RelationalOperator::LessThanOrEqual ? 1.0 : -1.0;
        tag.marker = _tableau.createSymbol(SymbolKind::Slack);
        row.add(tag.marker, sign);
        if (!required) {
            tag.other = _tableau.createSymbol(SymbolKind::Error);
            row.add(tag.other, -sign);
        }
        break;
    }
    case RelationalOperator::Equal:
        if (required) {
            tag.marker = _tableau.createSymbol(SymbolKind::Dummy);
            row.add(tag.marker, 1.0);
        } else {
            // expression = plus - minus.
            tag.marker = _tableau.createSymbol(SymbolKind::Error);
            tag.other = _tableau.createSymbol(SymbolKind::Error);
            row.add(tag.marker, -1.0);
            row.add(tag.other, 1.0);
        }
        break;
    }
    if (!_tableau.addEquation(row, tag.marker, tag.other)) {
        releaseTag(tag);
        release(constraint);
        return std::nullopt;
    }
    if (!required) {
        for (Symbol error : {tag.marker, tag.other}) {
            if (error != kNoSymbol && _tableau.kind(error) == SymbolKind::Error) {
                _tableau.addToObjective(error, constraint.strength());
            }
        }
    }
    _tableau.optimize();
    return tag;
}

void Solver::uninstall(const Constraint& constraint, const Tag& tag) {
    if (!constraint.isRequired()) {
        for (Symbol error : {tag.marker, tag.other}) {
            if (error != kNoSymbol && _tableau.kind(error) == SymbolKind::Error) {
                _tableau.addToObjective(error, -constraint.strength());
            }
        }
    }
    _tableau.removeEquation(tag.marker);
    releaseTag(tag);
    release(constraint);
    _tableau.optimize();
}

Symbol Solver::acquire(const Variable& variable) {
    VariableUse* use = _variables.find(variable.membership());
    if (!use) {
        use = &_variables.add(variable.membership(),
                              {variable, _tableau.createSymbol(SymbolKind::External), 0});
    }
    ++use->constraints;
    return use->symbol;
}

void Solver::release(const Constraint& constraint) {
    for (const Term& term : constraint.expression().terms()) {
        Membership& membership = term.variable().membership();
        VariableUse* use = _variables.find(membership);
        if (--use->constraints == 0) {
            // No constraint names the variable any more: its symbol has left every row.
            _tableau.releaseSymbol(use->symbol);
            _variables.erase(membership);
        }
    }
}

void Solver::releaseTag(const Tag& tag) {
    for (Symbol symbol : {tag.marker, tag.other}) {
        if (symbol != kNoSymbol) {
            _tableau.releaseSymbol(symbol);
        }
    }
}

} // namespace cassowary
