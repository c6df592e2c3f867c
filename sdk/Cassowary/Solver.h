#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <Cassowary/Constraint.h>
#include <Cassowary/Forward.h>
#include <Cassowary/Registry.h>
#include <Cassowary/Tableau.h>

namespace cassowary {

// An incremental solver for linear equalities and inequalities, required or
// weighted: adding or removing one constraint, or suggesting a value for an
// edit variable, updates the solution from the one before. Required
// constraints always hold; among solutions of those, it minimises the summed
// violation of the others, weighted by strength. Variables take their values
// in updateVariables. A solver, with the variables and constraints it holds,
// is used from one thread at a time.
class Solver {
public:
    Solver() = default;
    // Variables and constraints record where the solver keeps them: it stays put.
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    // Throws DuplicateConstraint if the solver has it, InvalidConstraint if a
    // number in it is not finite, UnsatisfiableConstraint if it is required
    // and conflicts with the required constraints; each way the solver is
    // left as it was.
    void addConstraint(const Constraint& constraint);
    // Throws UnknownConstraint if the solver does not have it.
    void removeConstraint(const Constraint& constraint);
    bool hasConstraint(const Constraint& constraint) const;

    // Makes the variable editable at the strength (below required): it keeps
    // its current value until a suggestion moves it. Throws
    // DuplicateEditVariable, BadRequiredStrength, or InvalidSuggestion if the
    // value or strength is not finite.
    void addEditVariable(const Variable& variable, double strength);
    // Throws UnknownEditVariable.
    void removeEditVariable(const Variable& variable);
    bool hasEditVariable(const Variable& variable) const;
    // Asks for the edit variable to take the value, as strongly as its
    // strength; re-solves by dual simplex. Throws UnknownEditVariable, or
    // InvalidSuggestion for a value that is not finite.
    void suggestValue(const Variable& variable, double value);

    // Writes the current solution into every variable the constraints use.
    void updateVariables();
    // Forgets every constraint and edit variable.
    void reset();

private:
    // The symbols a constraint brought into the tableau.
    struct Tag {
        Symbol marker = kNoSymbol;
        Symbol other = kNoSymbol;
    };
    struct Entry {
        Constraint constraint;
        Tag tag;
    };
    struct Edit {
        Constraint constraint;
        Tag tag;
        double value;
    };
    struct VariableUse {
        Variable variable;
        Symbol symbol;
        // The number of constraint terms that name the variable.
        uint32_t constraints;
    };

    // Adds the constraint to the tableau, optimising; the tag, or nothing if it cannot hold.
    std::optional<Tag> install(const Constraint& constraint);
    void uninstall(const Constraint& constraint, const Tag& tag);
    Symbol acquire(const Variable& variable);
    void release(const Constraint& constraint);
    void releaseTag(const Tag& tag);

    Tableau _tableau;
    // The row of the constraint being added, kept to reuse its storage.
    Row _building;
    Registry<Entry> _constraints;
    Registry<Edit> _edits;
    // The variables that constraints use.
    Registry<VariableUse> _variables;
};

} // namespace cassowary
