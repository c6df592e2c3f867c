#pragma once

// The constraint solver's classes by name, for headers that only refer to
// them (pointers, references, declarations); a unit that uses one includes its
// own header.
namespace cassowary {
class BadRequiredStrength;
class Constraint;
class ConstraintError;
class DuplicateConstraint;
class DuplicateEditVariable;
class Expression;
class InternalSolverError;
class InvalidConstraint;
class InvalidSuggestion;
class Membership;
class Row;
class Solver;
class Tableau;
class Term;
class UnknownConstraint;
class UnknownEditVariable;
class UnsatisfiableConstraint;
class Variable;
class VariableError;
} // namespace cassowary
