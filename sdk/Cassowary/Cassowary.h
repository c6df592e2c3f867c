#pragma once

// The constraint solver: variables, expressions, constraints, strengths, the
// solver and the errors it reports.
#include <Cassowary/BadRequiredStrength.h>
#include <Cassowary/Constraint.h>
#include <Cassowary/DuplicateConstraint.h>
#include <Cassowary/DuplicateEditVariable.h>
#include <Cassowary/Expression.h>
#include <Cassowary/InternalSolverError.h>
#include <Cassowary/InvalidConstraint.h>
#include <Cassowary/InvalidSuggestion.h>
#include <Cassowary/Solver.h>
#include <Cassowary/Strength.h>
#include <Cassowary/Term.h>
#include <Cassowary/UnknownConstraint.h>
#include <Cassowary/UnknownEditVariable.h>
#include <Cassowary/UnsatisfiableConstraint.h>
#include <Cassowary/Variable.h>
