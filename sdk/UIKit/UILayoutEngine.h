#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <Cassowary/Forward.h>
#include <Cassowary/Solver.h>
#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <UIKit/NSLayoutConstraint.h>
#include <objc/Forward.h>

class UIView;

// The constraint solver of one view tree, held by the tree's root.
//
// A view that takes part has four variables: its frame in its superview's
// coordinates. A constraint is written in the coordinates of its items'
// nearest common ancestor (a view's position there is its own origin plus
// those of the views between), so the constraints inside a subtree stay the
// same when the subtree moves to another tree; only the engine holding them
// changes.
//
// Work waits for the layout pass: activating records a constraint, and
// solve() hands the solver what is new. Identical constraints (same items,
// attributes, relation, multiplier, constant and priority) share one solver
// row, counted, so making the same constraints again adds nothing.
class UILayoutEngine : public NSObject {
public:
    struct Key;
    struct Shared;

    // One constraint the solver is given: a constraint's relation, a view
    // held at its frame, or a view's intrinsic size.
    struct Row {
        enum class Kind : uint8_t { Constraint, FrameHold, ContentSize };

        Row(cassowary::Constraint rowConstraint, uint64_t rowOrder, Kind rowKind)
            : constraint(std::move(rowConstraint)), order(rowOrder), kind(rowKind) {}

        cassowary::Constraint constraint;
        // Rows enter the solver in this order; a conflict breaks the later one.
        uint64_t order;
        Kind kind;
        // A constraint's row: its entry. A view's own row: the view, which of
        // its inputs, and the value and priority the row was made from.
        const Key* key = nullptr;
        const Shared* shared = nullptr;
        UIView* view = nullptr;
        uint8_t input = 0;
        CGFloat constant = 0;
        UILayoutPriority priority = UILayoutPriorityRequired;
        bool queued = false;
        bool inSolver = false;
        bool broken = false;
        bool reported = false;
        bool dead = false;
    };

    // The inputs a view brings itself: its frame held (x, y, width, height),
    // or its intrinsic size (width hugging and resisting, height likewise).
    static constexpr size_t kInputCount = 8;

    // A view's part in layout, kept on the view so that it moves with it.
    struct Item {
        explicit Item(const CGRect& frame);

        cassowary::Variable x;
        cassowary::Variable y;
        cassowary::Variable width;
        cassowary::Variable height;
        // Rows that name the view's variables; it takes part while any do.
        uint32_t references = 0;
        size_t engagedIndex = 0;
        std::array<std::shared_ptr<Row>, kInputCount> inputs;
    };

    struct Key {
        const UIView* first;
        const UIView* second;
        NSLayoutAttribute firstAttribute;
        NSLayoutAttribute secondAttribute;
        NSLayoutRelation relation;
        CGFloat multiplier;
        CGFloat constant;
        UILayoutPriority priority;

        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    // Active constraints with one key: their row, how many, the views the row
    // names, and the one activated last.
    struct Shared {
        std::shared_ptr<Row> row;
        uint32_t count = 0;
        std::vector<UIView*> views;
        Weak<NSLayoutConstraint> newest;
    };

    // Successive numbers for activations and rows.
    static uint64_t nextOrder();
    // The frame the last solution gives the view.
    static CGRect solvedFrame(const Item& item);

    // A constraint just installed on its container (its items' nearest common
    // ancestor), which is in this engine's tree.
    void addConstraint(NSLayoutConstraint& constraint, UIView& container);
    void removeConstraint(NSLayoutConstraint& constraint);
    // The view's frame, translatesAutoresizingMaskIntoConstraints, intrinsic
    // size or priorities changed: its own rows follow if it takes part.
    void viewInputsDidChange(UIView& view);
    // Takes over another tree's engine, which is left empty: that tree has
    // joined this one.
    void absorb(UILayoutEngine& other);

    bool needsSolve() const { return !_pending.empty() || _removed; }
    // Hands the solver what changed and writes the solution into the
    // variables. A required row that cannot hold is left out and reported
    // with the rows it conflicts with.
    void solve();

    // Distinct active constraints, rows in the solver (of every kind), and
    // views taking part.
    size_t constraintCount() const { return _constraints.size(); }
    size_t solverRowCount() const { return _solverRows; }
    size_t viewCount() const { return _views.size(); }

private:
    cassowary::Expression attributeExpression(UIView& view, NSLayoutAttribute attribute,
                                              const UIView& container, std::vector<UIView*>& views);
    void engage(UIView& view, uint64_t order);
    void disengage(UIView& view);
    void refreshInputs(UIView& view, uint64_t order);
    void queue(const std::shared_ptr<Row>& row);
    void retire(Row& row);
    // Required rows in the solver, by the variables they name.
    using VariableIndex = std::unordered_map<const void*, std::vector<const Row*>>;
    VariableIndex requiredRowsByVariable() const;
    void report(const Row& broken, const VariableIndex& index) const;
    std::vector<const Row*> conflictingRows(const Row& broken, const VariableIndex& index) const;
    std::string describe(const Row& row) const;

    std::unique_ptr<cassowary::Solver> _solver;
    std::unordered_map<Key, Shared, KeyHash> _constraints;
    // Views taking part.
    std::vector<UIView*> _views;
    std::vector<std::shared_ptr<Row>> _pending;
    // Required rows the solver could not take, retried when a required row leaves.
    std::vector<std::shared_ptr<Row>> _broken;
    bool _removed = false;
    bool _requiredRemoved = false;
    size_t _solverRows = 0;
};
