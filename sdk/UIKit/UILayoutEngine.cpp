#include <UIKit/UILayoutEngine.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <unordered_set>

#include <Cassowary/Strength.h>
#include <Cassowary/UnsatisfiableConstraint.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIView.h>

namespace {

// Past these sizes a conflict is named by the rows found so far rather than
// narrowed down to the fewest; each narrowing step builds a solver.
constexpr size_t kConflictSearchLimit = 256;
constexpr size_t kConflictNarrowingLimit = 48;
// Conflicts found in one pass past this many are named without the rows they
// conflict with, so that a page full of them still lays out promptly.
constexpr size_t kExplainedConflictLimit = 16;

bool isHorizontal(NSLayoutAttribute attribute) {
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeRight:
    case NSLayoutAttributeLeading:
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeCenterX:
        return true;
    default:
        return false;
    }
}

cassowary::RelationalOperator relationalOperator(NSLayoutRelation relation) {
    switch (relation) {
    case NSLayoutRelationLessThanOrEqual:
        return cassowary::RelationalOperator::LessThanOrEqual;
    case NSLayoutRelationGreaterThanOrEqual:
        return cassowary::RelationalOperator::GreaterThanOrEqual;
    default:
        return cassowary::RelationalOperator::Equal;
    }
}

// Adds the solver's work to the message of a failure it should never have.
void logSolverFailure(const char* what, const std::exception& error) {
    SDKEventLog::logError(std::string("Layout engine: ") + what + " failed: " + error.what());
}

} // namespace

UILayoutEngine::Item::Item(const CGRect& frame) {
    x.setValue(frame.origin.x);
    y.setValue(frame.origin.y);
    width.setValue(frame.size.width);
    height.setValue(frame.size.height);
}

size_t UILayoutEngine::KeyHash::operator()(const Key& key) const {
    size_t hash = std::hash<const void*>()(key.first);
    auto mix = [&hash](size_t value) {
        hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    };
    mix(std::hash<const void*>()(key.second));
    mix(static_cast<size_t>(key.firstAttribute) * 31 + static_cast<size_t>(key.secondAttribute));
    mix(static_cast<size_t>(key.relation + 1));
    mix(std::hash<CGFloat>()(key.multiplier));
    mix(std::hash<CGFloat>()(key.constant));
    mix(std::hash<UILayoutPriority>()(key.priority));
    return hash;
}

uint64_t UILayoutEngine::nextOrder() {
    // UIKit runs on the main thread only.
    static uint64_t order = 0;
    return ++order;
}

CGRect UILayoutEngine::solvedFrame(const Item& item) {
    return CGRectMake(item.x.value(), item.y.value(), item.width.value(), item.height.value());
}

cassowary::Expression UILayoutEngine::attributeExpression(UIView& view, NSLayoutAttribute attribute,
                                                          const UIView& container,
                                                          std::vector<UIView*>& views) {
    if (!view._layoutItem) {
        view._layoutItem = std::make_unique<Item>(view._frame);
    }
    const Item& item = *view._layoutItem;
    if (attribute == NSLayoutAttributeWidth || attribute == NSLayoutAttributeHeight) {
        views.push_back(&view);
        return attribute == NSLayoutAttributeWidth ? item.width : item.height;
    }
    const bool horizontal = isHorizontal(attribute);
    // The view's position in the container: its origin and those of the views between.
    cassowary::Expression position;
    for (UIView* v = &view; v != &container; v = v->_superview.lock().get()) {
        if (!v->_layoutItem) {
            v->_layoutItem = std::make_unique<Item>(v->_frame);
        }
        position += horizontal ? v->_layoutItem->x : v->_layoutItem->y;
        views.push_back(v);
    }
    const cassowary::Variable& size = horizontal ? item.width : item.height;
    switch (attribute) {
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeBottom:
        views.push_back(&view);
        return position + size;
    case NSLayoutAttributeCenterX:
    case NSLayoutAttributeCenterY:
        views.push_back(&view);
        return position + size * 0.5;
    default:
        return position;
    }
}

void UILayoutEngine::addConstraint(NSLayoutConstraint& constraint, UIView& container) {
    Ref<UIView> first = constraint.firstItem();
    Ref<UIView> second = constraint.secondItem();
    const Key key{first.get(),
                  second.get(),
                  constraint._firstAttribute,
                  constraint._secondAttribute,
                  constraint._relation,
                  constraint._multiplier,
                  constraint._constant,
                  constraint._priority};
    auto found = _constraints.find(key);
    if (found != _constraints.end()) {
        Shared& shared = found->second;
        ++shared.count;
        // The one activated before with this key, when only its container
        // still holds it, can be reached by no one: this one takes its place.
        if (Ref<NSLayoutConstraint> previous = shared.newest.lock();
            previous && previous.use_count() == 2) {
            if (Ref<UIView> holder = previous->_container.lock()) {
                previous->_active = false;
                holder->uninstallConstraint(*previous);
                --shared.count;
            }
        }
        shared.newest = constraint.self<NSLayoutConstraint>();
        return;
    }

    // Right to left, leading is the right edge and trailing the left, and
    // distances run leftwards: the relation holds between the negated
    // positions.
    const bool mirrored =
        constraint.isDirectional() &&
        first->effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft;
    auto resolved = [mirrored](NSLayoutAttribute attribute) {
        if (!mirrored || attribute == NSLayoutAttributeNotAnAttribute) {
            return attribute;
        }
        return attribute == NSLayoutAttributeLeading    ? NSLayoutAttributeRight
               : attribute == NSLayoutAttributeTrailing ? NSLayoutAttributeLeft
                                                        : attribute;
    };
    std::vector<UIView*> views;
    cassowary::Expression expression =
        attributeExpression(*first, resolved(key.firstAttribute), container, views);
    if (second) {
        expression = expression -
                     attributeExpression(*second, resolved(key.secondAttribute), container, views) *
                         key.multiplier;
    }
    if (mirrored) {
        expression = -expression;
    }
    expression = expression - key.constant;
    std::sort(views.begin(), views.end());
    views.erase(std::unique(views.begin(), views.end()), views.end());

    for (UIView* view : views) {
        engage(*view, constraint._order);
    }
    auto row = std::make_shared<Row>(
        cassowary::Constraint(expression, relationalOperator(key.relation),
                              cassowary::strength::fromPriority(key.priority)),
        constraint._order, Row::Kind::Constraint);
    auto [entry, inserted] = _constraints.emplace(
        key, Shared{row, 1, std::move(views), constraint.self<NSLayoutConstraint>()});
    row->key = &entry->first;
    row->shared = &entry->second;
    row->priority = key.priority;
    queue(row);
}

void UILayoutEngine::removeConstraint(NSLayoutConstraint& constraint) {
    const Key key{constraint.firstItem().get(), constraint.secondItem().get(),
                  constraint._firstAttribute,   constraint._secondAttribute,
                  constraint._relation,         constraint._multiplier,
                  constraint._constant,         constraint._priority};
    auto found = _constraints.find(key);
    if (found == _constraints.end()) {
        return;
    }
    Shared& shared = found->second;
    if (shared.newest.lock().get() == &constraint) {
        shared.newest.reset();
    }
    if (--shared.count > 0) {
        return;
    }
    retire(*shared.row);
    const std::vector<UIView*> views = std::move(shared.views);
    _constraints.erase(found);
    for (UIView* view : views) {
        disengage(*view);
    }
}

void UILayoutEngine::viewInputsDidChange(UIView& view) {
    if (view._layoutItem && view._layoutItem->references > 0) {
        refreshInputs(view, nextOrder());
    }
}

void UILayoutEngine::engage(UIView& view, uint64_t order) {
    Item& item = *view._layoutItem;
    if (item.references++ > 0) {
        return;
    }
    item.engagedIndex = _views.size();
    _views.push_back(&view);
    refreshInputs(view, order);
}

void UILayoutEngine::disengage(UIView& view) {
    Item& item = *view._layoutItem;
    if (--item.references > 0) {
        return;
    }
    for (std::shared_ptr<Row>& row : item.inputs) {
        if (row) {
            retire(*row);
            row.reset();
        }
    }
    UIView* last = _views.back();
    _views[item.engagedIndex] = last;
    last->_layoutItem->engagedIndex = item.engagedIndex;
    _views.pop_back();
}

void UILayoutEngine::refreshInputs(UIView& view, uint64_t order) {
    struct Input {
        bool present = false;
        CGFloat constant = 0;
        UILayoutPriority priority = UILayoutPriorityRequired;
    };
    std::array<Input, kInputCount> wanted;
    if (view._translatesMask) {
        const CGRect& frame = view._frame;
        wanted[0] = {true, frame.origin.x};
        wanted[1] = {true, frame.origin.y};
        wanted[2] = {true, frame.size.width};
        wanted[3] = {true, frame.size.height};
    } else {
        const CGSize size = view.intrinsicContentSize();
        for (size_t axis = 0; axis < 2; ++axis) {
            const CGFloat length = axis == 0 ? size.width : size.height;
            if (length >= 0) {
                wanted[4 + 2 * axis] = {true, length, view._contentHugging[axis]};
                wanted[5 + 2 * axis] = {true, length, view._compressionResistance[axis]};
            }
        }
    }

    Item& item = *view._layoutItem;
    for (size_t input = 0; input < kInputCount; ++input) {
        std::shared_ptr<Row>& row = item.inputs[input];
        const Input& want = wanted[input];
        if (row && want.present && row->constant == want.constant &&
            row->priority == want.priority) {
            continue;
        }
        if (row) {
            retire(*row);
            row.reset();
        }
        if (!want.present) {
            continue;
        }
        const cassowary::Variable* variable[kInputCount] = {&item.x,      &item.y,     &item.width,
                                                            &item.height, &item.width, &item.width,
                                                            &item.height, &item.height};
        // Held frames are equalities; hugging keeps the size at most the
        // intrinsic one, resistance at least.
        const cassowary::RelationalOperator op =
            input < 4        ? cassowary::RelationalOperator::Equal
            : input % 2 == 0 ? cassowary::RelationalOperator::LessThanOrEqual
                             : cassowary::RelationalOperator::GreaterThanOrEqual;
        row = std::make_shared<Row>(
            cassowary::Constraint(cassowary::Expression(*variable[input]) - want.constant, op,
                                  cassowary::strength::fromPriority(want.priority)),
            order, input < 4 ? Row::Kind::FrameHold : Row::Kind::ContentSize);
        row->view = &view;
        row->input = static_cast<uint8_t>(input);
        row->constant = want.constant;
        row->priority = want.priority;
        queue(row);
    }
}

void UILayoutEngine::queue(const std::shared_ptr<Row>& row) {
    if (!row->queued) {
        row->queued = true;
        _pending.push_back(row);
    }
}

void UILayoutEngine::retire(Row& row) {
    row.dead = true;
    if (!row.inSolver) {
        return;
    }
    row.inSolver = false;
    --_solverRows;
    _removed = true;
    if (row.constraint.isRequired()) {
        _requiredRemoved = true;
    }
    try {
        _solver->removeConstraint(row.constraint);
    } catch (const std::exception& error) {
        logSolverFailure("removing a constraint", error);
    }
}

void UILayoutEngine::absorb(UILayoutEngine& other) {
    // Everything the other solver held is handed to this one. Keys name their
    // items, which are in one tree only, so no key is in both engines.
    for (const std::shared_ptr<Row>& row : other._pending) {
        row->queued = false;
    }
    auto take = [this](const std::shared_ptr<Row>& row) {
        row->inSolver = false;
        if (!row->broken) {
            queue(row);
        }
    };
    while (!other._constraints.empty()) {
        auto node = other._constraints.extract(other._constraints.begin());
        take(node.mapped().row);
        _constraints.insert(std::move(node));
    }
    for (UIView* view : other._views) {
        view->_layoutItem->engagedIndex = _views.size();
        _views.push_back(view);
        for (const std::shared_ptr<Row>& row : view->_layoutItem->inputs) {
            if (row) {
                take(row);
            }
        }
    }
    _broken.insert(_broken.end(), other._broken.begin(), other._broken.end());
    other._views.clear();
    other._pending.clear();
    other._broken.clear();
    other._solver.reset();
    other._solverRows = 0;
    other._removed = other._requiredRemoved = false;
}

void UILayoutEngine::solve() {
    if (!needsSolve()) {
        return;
    }
    if (!_solver) {
        _solver = std::make_unique<cassowary::Solver>();
    }
    // A required row that left may have been what a broken row conflicted with.
    if (_requiredRemoved && !_broken.empty()) {
        for (const std::shared_ptr<Row>& row : _broken) {
            if (!row->dead) {
                row->broken = false;
                queue(row);
            }
        }
        _broken.clear();
    }
    std::vector<std::shared_ptr<Row>> pending = std::move(_pending);
    _pending.clear();
    auto byOrder = [](const auto& a, const auto& b) { return a->order < b->order; };
    // Usually in order already: rows are queued as they are made.
    if (!std::is_sorted(pending.begin(), pending.end(), byOrder)) {
        std::stable_sort(pending.begin(), pending.end(), byOrder);
    }
    std::vector<const Row*> newlyBroken;
    for (const std::shared_ptr<Row>& row : pending) {
        row->queued = false;
        if (row->dead || row->broken || row->inSolver) {
            continue;
        }
        try {
            _solver->addConstraint(row->constraint);
            row->inSolver = true;
            ++_solverRows;
        } catch (const cassowary::UnsatisfiableConstraint&) {
            row->broken = true;
            _broken.push_back(row);
            if (!row->reported) {
                row->reported = true;
                newlyBroken.push_back(row.get());
            }
        } catch (const std::exception& error) {
            row->broken = true;
            _broken.push_back(row);
            logSolverFailure("adding a constraint", error);
        }
    }
    _removed = _requiredRemoved = false;
    _solver->updateVariables();
    if (!newlyBroken.empty()) {
        const VariableIndex index = requiredRowsByVariable();
        for (size_t i = 0; i < newlyBroken.size(); ++i) {
            if (i < kExplainedConflictLimit) {
                report(*newlyBroken[i], index);
            } else {
                SDKEventLog::logError("Unable to simultaneously satisfy constraints.\n"
                                      "Will attempt to recover by breaking constraint\n" +
                                      describe(*newlyBroken[i]));
            }
        }
    }
}

UILayoutEngine::VariableIndex UILayoutEngine::requiredRowsByVariable() const {
    VariableIndex byVariable;
    auto index = [&byVariable](const Row& row) {
        if (!row.inSolver || !row.constraint.isRequired()) {
            return;
        }
        for (const cassowary::Term& term : row.constraint.expression().terms()) {
            byVariable[term.variable().identity()].push_back(&row);
        }
    };
    for (const auto& [key, shared] : _constraints) {
        index(*shared.row);
    }
    for (const UIView* view : _views) {
        for (const std::shared_ptr<Row>& row : view->_layoutItem->inputs) {
            if (row) {
                index(*row);
            }
        }
    }
    return byVariable;
}

std::vector<const UILayoutEngine::Row*>
UILayoutEngine::conflictingRows(const Row& broken, const VariableIndex& byVariable) const {
    // The rows connected to the broken one through shared variables, nearest first.
    std::vector<const Row*> connected;
    std::unordered_set<const Row*> seenRows;
    std::unordered_set<const void*> seenVariables;
    std::deque<const void*> variables;
    auto visit = [&](const Row& row) {
        for (const cassowary::Term& term : row.constraint.expression().terms()) {
            if (seenVariables.insert(term.variable().identity()).second) {
                variables.push_back(term.variable().identity());
            }
        }
    };
    visit(broken);
    while (!variables.empty() && connected.size() < kConflictSearchLimit) {
        auto rows = byVariable.find(variables.front());
        variables.pop_front();
        if (rows == byVariable.end()) {
            continue;
        }
        for (const Row* row : rows->second) {
            if (seenRows.insert(row).second) {
                connected.push_back(row);
                visit(*row);
            }
        }
    }

    auto conflicts = [&broken](cassowary::Solver& solver) {
        try {
            solver.addConstraint(broken.constraint);
            solver.removeConstraint(broken.constraint);
            return false;
        } catch (const cassowary::UnsatisfiableConstraint&) {
            return true;
        }
    };
    try {
        // The shortest run of nearest rows that the broken row conflicts with...
        std::vector<const Row*> rows;
        cassowary::Solver growing;
        for (const Row* row : connected) {
            growing.addConstraint(row->constraint);
            rows.push_back(row);
            if (conflicts(growing)) {
                break;
            }
        }
        if (rows.size() > kConflictNarrowingLimit) {
            return rows;
        }
        // ...less every row it conflicts without.
        for (size_t i = rows.size(); i-- > 0;) {
            cassowary::Solver trial;
            for (size_t j = 0; j < rows.size(); ++j) {
                if (j != i) {
                    trial.addConstraint(rows[j]->constraint);
                }
            }
            if (conflicts(trial)) {
                rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        return rows;
    } catch (const std::exception&) {
        return connected;
    }
}

void UILayoutEngine::report(const Row& broken, const VariableIndex& index) const {
    std::string message = "Unable to simultaneously satisfy constraints.\n"
                          "\tProbably at least one of the constraints in the following list is "
                          "one you don't want.\n(\n";
    for (const Row* row : conflictingRows(broken, index)) {
        message += "    \"" + describe(*row) + "\",\n";
    }
    message += "    \"" + describe(broken) +
               "\"\n)\n\nWill attempt to recover by breaking constraint\n" + describe(broken);
    SDKEventLog::logError(message);
}

std::string UILayoutEngine::describe(const Row& row) const {
    if (row.kind == Row::Kind::Constraint) {
        if (Ref<NSLayoutConstraint> constraint = row.shared->newest.lock()) {
            return constraint->description();
        }
        const Key& key = *row.key;
        return "<NSLayoutConstraint " +
               NSLayoutConstraint::describeRelation(key.first, key.firstAttribute, key.relation,
                                                    key.second, key.secondAttribute, key.multiplier,
                                                    key.constant, key.priority) +
               ">";
    }
    static const char* const names[kInputCount] = {"minX",  "minY",  "width",  "height",
                                                   "width", "width", "height", "height"};
    static const char* const relations[kInputCount] = {
        "==", "==", "==", "==", "<=", ">=", "<=", ">="};
    std::string text = row.kind == Row::Kind::FrameHold ? "<NSAutoresizingMaskLayoutConstraint "
                                                        : "<NSContentSizeLayoutConstraint ";
    text += NSLayoutConstraint::describeItem(row.view) + "." + names[row.input] + " " +
            relations[row.input] + " " + NSLayoutConstraint::describeNumber(row.constant);
    if (row.kind == Row::Kind::ContentSize) {
        text += std::string(row.input % 2 == 0 ? " hug:" : " compressionResistance:") +
                NSLayoutConstraint::describeNumber(row.priority);
    }
    return text + ">";
}
