#include <UIKit/UIView.h>

#include <algorithm>

#include <Foundation/SDKEventLog.h>
#include <UIKit/NSLayoutAnchor.h>
#include <UIKit/SDKMainThreadChecker.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

namespace {

CGPoint originInWindow(const UIView* view) {
    CGPoint origin{};
    for (const UIView* v = view; v; v = v->superview().get()) {
        origin.x += v->frame().origin.x;
        origin.y += v->frame().origin.y;
    }
    return origin;
}

// A layoutSubviews that keeps changing constraints or frames ends here.
constexpr int kMaxLayoutPasses = 16;

// Layout asked for while a layoutSubviews or updateConstraints runs may
// concern views the pass has already been through, and calls for another.
int callbackDepth = 0;
uint64_t requestsFromCallbacks = 0;

class CallbackScope {
public:
    CallbackScope() { ++callbackDepth; }
    ~CallbackScope() { --callbackDepth; }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
};

size_t axisIndex(UILayoutConstraintAxis axis) {
    return axis == UILayoutConstraintAxisVertical ? 1 : 0;
}

} // namespace

UIView::~UIView() {
    // Constraints held here end with this view.
    for (const Ref<NSLayoutConstraint>& constraint : _constraints) {
        constraint->_active = false;
        constraint->_container.reset();
    }
    // A subview that someone else keeps outlives its tree and becomes a root.
    for (const Ref<UIView>& subview : _subviews) {
        if (subview.use_count() > 1) {
            subview->recoverFromLostSuperview();
        }
    }
}

Ref<UIView> UIView::initWithFrame(const CGRect& frame) {
    const SDKMainThreadChecker::Entry entry("-[UIView initWithFrame:]");
    setFrame(frame);
    return self<UIView>();
}

void UIView::setFrame(const CGRect& frame) {
    const SDKMainThreadChecker::Entry entry("-[UIView setFrame:]");
    if (frame.size != _frame.size) {
        setNeedsLayout();
    }
    const bool moved = frame != _frame;
    _frame = frame;
    _layer->setFrame(frame);
    if (moved && _translatesMask) {
        layoutInputsDidChange();
    }
}

void UIView::addSubview(const Ref<UIView>& view) {
    insertSubviewAtIndex(view, _subviews.size());
}

void UIView::insertSubviewAtIndex(const Ref<UIView>& view, size_t index) {
    const SDKMainThreadChecker::Entry entry("-[UIView insertSubview:atIndex:]");
    if (!view || view.get() == this || isDescendantOfView(view.get())) {
        return;
    }
    Ref<UIColor> tintBefore = view->tintColor();
    Ref<UIView> me = self<UIView>();
    if (view->superview().get() == this) {
        // Moving within the same parent: only the order changes.
        auto found = std::find(_subviews.begin(), _subviews.end(), view);
        _subviews.erase(found);
        _subviews.insert(_subviews.begin() + std::min(index, _subviews.size()), view);
        placeSublayerOf(*view);
        return;
    }
    view->willMoveToSuperview(me);
    view->removeFromSuperview();
    _subviews.insert(_subviews.begin() + std::min(index, _subviews.size()), view);
    view->_superview = me;
    placeSublayerOf(*view);
    setNeedsLayout();
    // The subview's constraints join this tree's engine.
    if (view->_layoutEngine) {
        UIView* root = rootView();
        if (root->_layoutEngine) {
            root->_layoutEngine->absorb(*view->_layoutEngine);
        } else {
            root->_layoutEngine = view->_layoutEngine;
        }
        view->_layoutEngine.reset();
    }
    if (view->_subtreeNeedsUpdateConstraints) {
        for (UIView* v = this; v && !v->_subtreeNeedsUpdateConstraints;
             v = v->_superview.lock().get()) {
            v->_subtreeNeedsUpdateConstraints = true;
        }
    }
    view->didMoveToSuperview();
    view->updateTraitCollection(_traitCollection);
    if (!UIColorEqual(tintBefore, view->tintColor())) {
        view->propagateTintChange();
    }
}

// A subview's layer sits just below the layer of the subview after it, so
// drawing by layers and by subviews agree.
void UIView::placeSublayerOf(const UIView& view) {
    auto position = std::find_if(_subviews.begin(), _subviews.end(),
                                 [&](const Ref<UIView>& v) { return v.get() == &view; });
    view._layer->removeFromSuperlayer();
    if (position != _subviews.end() && std::next(position) != _subviews.end()) {
        const auto& sublayers = _layer->sublayers();
        auto next = std::find(sublayers.begin(), sublayers.end(), (*std::next(position))->_layer);
        _layer->insertSublayerAtIndex(view._layer, static_cast<size_t>(next - sublayers.begin()));
        return;
    }
    _layer->addSublayer(view._layer);
}

void UIView::removeFromSuperview() {
    const SDKMainThreadChecker::Entry entry("-[UIView removeFromSuperview]");
    Ref<UIView> parent = _superview.lock();
    if (!parent) {
        return;
    }
    Ref<UIView> me = self<UIView>();
    Ref<UIColor> tintBefore = tintColor();
    parent->willRemoveSubview(me);
    // Constraints that reach out of this subtree end, as on the platform; those
    // inside leave the tree's engine and go with the subtree.
    std::vector<Ref<NSLayoutConstraint>> moving;
    if (UILayoutEngine* engine = parent->rootView()->_layoutEngine.get()) {
        for (UIView* ancestor = parent.get(); ancestor;
             ancestor = ancestor->_superview.lock().get()) {
            const std::vector<Ref<NSLayoutConstraint>> held = ancestor->_constraints;
            for (const Ref<NSLayoutConstraint>& constraint : held) {
                Ref<UIView> first = constraint->firstItem();
                Ref<UIView> second = constraint->secondItem();
                if ((first && first->isDescendantOfView(this)) ||
                    (second && second->isDescendantOfView(this))) {
                    constraint->setActive(false);
                }
            }
        }
        collectInstalledConstraints(moving);
        for (const Ref<NSLayoutConstraint>& constraint : moving) {
            engine->removeConstraint(*constraint);
        }
    }
    willMoveToSuperview(nullptr);
    auto& siblings = parent->_subviews;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), me), siblings.end());
    _layer->removeFromSuperlayer();
    _superview.reset();
    parent->setNeedsLayout();
    takeOverConstraints(std::move(moving));
    didMoveToSuperview();
    if (!UIColorEqual(tintBefore, tintColor())) {
        propagateTintChange();
    }
}

bool UIView::isDescendantOfView(const UIView* view) const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (v == view) {
            return true;
        }
    }
    return false;
}

Ref<UIWindow> UIView::window() const {
    Ref<const UIView> root = self<UIView>();
    while (Ref<UIView> parent = root->superview()) {
        root = parent;
    }
    return std::dynamic_pointer_cast<UIWindow>(std::const_pointer_cast<UIView>(root));
}

void UIView::willMoveToSuperview(const Ref<UIView>&) {}

void UIView::didMoveToSuperview() {}

void UIView::setBackgroundColor(const Ref<UIColor>& color) {
    const SDKMainThreadChecker::Entry entry("-[UIView setBackgroundColor:]");
    _backgroundColor = color;
    _layer->setBackgroundColor(
        color ? color->resolvedColorWithTraitCollection(_traitCollection)->CGColor() : nullptr);
}

void UIView::traitCollectionDidChange(const Ref<UITraitCollection>&) {}

void UIView::setOverrideUserInterfaceStyle(UIUserInterfaceStyle style) {
    const SDKMainThreadChecker::Entry entry("-[UIView setOverrideUserInterfaceStyle:]");
    _overrideStyle = style;
    updateTraitCollectionFromSuperview();
}

void UIView::updateTraitCollectionFromSuperview() {
    if (Ref<UIView> parent = superview()) {
        updateTraitCollection(parent->_traitCollection);
    } else {
        updateTraitCollection(rootTraitCollection());
    }
}

void UIView::updateTraitCollection(const Ref<UITraitCollection>& inherited) {
    Ref<UITraitCollection> traits = inherited ? inherited : _traitCollection;
    const Ref<UIViewController> controller = viewDelegate();
    for (UIUserInterfaceStyle style :
         {controller ? controller->overrideUserInterfaceStyle() : UIUserInterfaceStyleUnspecified,
          _overrideStyle}) {
        if (style != UIUserInterfaceStyleUnspecified && traits->userInterfaceStyle() != style) {
            traits = UITraitCollection::traitCollectionWithTraitsFromCollections(
                {traits, UITraitCollection::traitCollectionWithUserInterfaceStyle(style)});
        }
    }
    if (!traits->isEqual(*_traitCollection)) {
        const Ref<UITraitCollection> previous = _traitCollection;
        _traitCollection = traits;
        UITraitCollection::CurrentScope current(traits);
        if (_backgroundColor && _backgroundColor->isDynamic()) {
            _layer->setBackgroundColor(_backgroundColor->CGColor());
        }
        if (controller) {
            controller->traitCollectionDidChange(previous);
        }
        traitCollectionDidChange(previous);
    }
    // By index: a traitCollectionDidChange may add or remove subviews.
    for (size_t i = 0; i < _subviews.size(); ++i) {
        Ref<UIView> child = _subviews[i];
        child->updateTraitCollection(_traitCollection);
    }
}

void UIView::setSemanticContentAttribute(UISemanticContentAttribute attribute) {
    const SDKMainThreadChecker::Entry entry("-[UIView setSemanticContentAttribute:]");
    if (attribute == _semanticContentAttribute) {
        return;
    }
    _semanticContentAttribute = attribute;
    // Leading and trailing of the constraints that start in this subtree now
    // fall on other sides.
    std::vector<Ref<NSLayoutConstraint>> installed;
    rootView()->collectInstalledConstraints(installed);
    for (const Ref<NSLayoutConstraint>& constraint : installed) {
        Ref<UIView> first = constraint->firstItem();
        if (first && first->isDescendantOfView(this) && constraint->isDirectional()) {
            constraint->layoutDirectionDidChange();
        }
    }
    setNeedsLayout();
}

UIUserInterfaceLayoutDirection UIView::effectiveUserInterfaceLayoutDirection() const {
    Ref<UIView> parent = superview();
    return userInterfaceLayoutDirectionForSemanticContentAttributeRelativeToLayoutDirection(
        _semanticContentAttribute,
        parent ? parent->effectiveUserInterfaceLayoutDirection()
               : UIApplication::sharedApplication()->userInterfaceLayoutDirection());
}

UIUserInterfaceLayoutDirection UIView::userInterfaceLayoutDirectionForSemanticContentAttribute(
    UISemanticContentAttribute attribute) {
    return userInterfaceLayoutDirectionForSemanticContentAttributeRelativeToLayoutDirection(
        attribute, UIApplication::sharedApplication()->userInterfaceLayoutDirection());
}

UIUserInterfaceLayoutDirection
UIView::userInterfaceLayoutDirectionForSemanticContentAttributeRelativeToLayoutDirection(
    UISemanticContentAttribute attribute, UIUserInterfaceLayoutDirection direction) {
    switch (attribute) {
    case UISemanticContentAttributeUnspecified:
        return direction;
    case UISemanticContentAttributeForceRightToLeft:
        return UIUserInterfaceLayoutDirectionRightToLeft;
    default:
        // Playback and spatial controls keep their physical order.
        return UIUserInterfaceLayoutDirectionLeftToRight;
    }
}

CGRect UIView::directionalRect(const CGRect& leftToRight) const {
    if (effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionLeftToRight) {
        return leftToRight;
    }
    CGRect mirrored = leftToRight;
    mirrored.origin.x = _frame.size.width - CGRectGetMaxX(leftToRight);
    return mirrored;
}

void UIView::setHidden(bool hidden) {
    const SDKMainThreadChecker::Entry entry("-[UIView setHidden:]");
    if (hidden == _hidden) {
        return;
    }
    _hidden = hidden;
    _layer->setHidden(hidden);
    if (Ref<UIView> parent = superview()) {
        parent->subviewLayoutInputsDidChange(*this);
    }
}

void UIView::setAlpha(CGFloat alpha) {
    const SDKMainThreadChecker::Entry entry("-[UIView setAlpha:]");
    _alpha = std::clamp(alpha, 0.0, 1.0);
    _layer->setOpacity(static_cast<float>(_alpha));
}

void UIView::setClipsToBounds(bool clips) {
    const SDKMainThreadChecker::Entry entry("-[UIView setClipsToBounds:]");
    _layer->setMasksToBounds(clips);
}

void UIView::setContentMode(UIViewContentMode mode) {
    const SDKMainThreadChecker::Entry entry("-[UIView setContentMode:]");
    _contentMode = mode;
}

void UIView::setTag(NSInteger tag) {
    const SDKMainThreadChecker::Entry entry("-[UIView setTag:]");
    _tag = tag;
}

void UIView::setUserInteractionEnabled(bool enabled) {
    const SDKMainThreadChecker::Entry entry("-[UIView setUserInteractionEnabled:]");
    _userInteractionEnabled = enabled;
}

Ref<UIView> UIView::viewWithTag(NSInteger tag) {
    if (_tag == tag) {
        return self<UIView>();
    }
    for (const Ref<UIView>& subview : _subviews) {
        if (Ref<UIView> found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

Ref<UIColor> UIView::tintColor() const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (v->_tintColor) {
            return v->_tintColor;
        }
    }
    return UIColor::systemBlueColor();
}

void UIView::setTintColor(const Ref<UIColor>& color) {
    const SDKMainThreadChecker::Entry entry("-[UIView setTintColor:]");
    Ref<UIColor> before = tintColor();
    _tintColor = color;
    if (!UIColorEqual(before, tintColor())) {
        propagateTintChange();
    }
}

void UIView::propagateTintChange() {
    tintColorDidChange();
    // Copy: a tint handler may change the tree.
    const std::vector<Ref<UIView>> children = _subviews;
    for (const Ref<UIView>& child : children) {
        if (!child->_tintColor) {
            child->propagateTintChange();
        }
    }
}

bool UIView::pointInside(CGPoint point) const {
    return CGRectContainsPoint(bounds(), point);
}

Ref<UIView> UIView::hitTest(CGPoint point) {
    if (_hidden || !_userInteractionEnabled || _alpha < 0.01 || !pointInside(point)) {
        return nullptr;
    }
    for (auto it = _subviews.rbegin(); it != _subviews.rend(); ++it) {
        const CGPoint local{point.x - (*it)->_frame.origin.x, point.y - (*it)->_frame.origin.y};
        if (Ref<UIView> hit = (*it)->hitTest(local)) {
            return hit;
        }
    }
    return self<UIView>();
}

void UIView::addGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    const SDKMainThreadChecker::Entry entry("-[UIView addGestureRecognizer:]");
    if (!recognizer) {
        return;
    }
    if (Ref<UIView> previous = recognizer->view()) {
        previous->removeGestureRecognizer(recognizer);
    }
    _gestureRecognizers.push_back(recognizer);
    recognizer->setView(self<UIView>());
}

void UIView::removeGestureRecognizer(const Ref<UIGestureRecognizer>& recognizer) {
    const SDKMainThreadChecker::Entry entry("-[UIView removeGestureRecognizer:]");
    auto found = std::find(_gestureRecognizers.begin(), _gestureRecognizers.end(), recognizer);
    if (found != _gestureRecognizers.end()) {
        (*found)->setView(nullptr);
        _gestureRecognizers.erase(found);
    }
}

CGPoint UIView::convertPointToView(CGPoint point, const Ref<UIView>& view) const {
    const CGPoint mine = originInWindow(this);
    const CGPoint theirs = view ? originInWindow(view.get()) : CGPoint{};
    return CGPointMake(point.x + mine.x - theirs.x, point.y + mine.y - theirs.y);
}

CGRect UIView::convertRectToView(const CGRect& rect, const Ref<UIView>& view) const {
    return CGRect{convertPointToView(rect.origin, view), rect.size};
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
    const SDKMainThreadChecker::Entry entry(
        "-[UIView setTranslatesAutoresizingMaskIntoConstraints:]");
    if (translates == _translatesMask) {
        return;
    }
    _translatesMask = translates;
    layoutInputsDidChange();
}

void UIView::touchesBegan(const Ref<UITouch>& touch) {
    if (Ref<UIView> next = superview()) {
        next->touchesBegan(touch);
    }
}

void UIView::touchesMoved(const Ref<UITouch>& touch) {
    if (Ref<UIView> next = superview()) {
        next->touchesMoved(touch);
    }
}

void UIView::touchesEnded(const Ref<UITouch>& touch) {
    if (Ref<UIView> next = superview()) {
        next->touchesEnded(touch);
    }
}

void UIView::touchesCancelled(const Ref<UITouch>& touch) {
    if (Ref<UIView> next = superview()) {
        next->touchesCancelled(touch);
    }
}

bool UIView::becomeFirstResponder() {
    Ref<UIWindow> screen = window();
    if (!canBecomeFirstResponder() || !screen) {
        return false;
    }
    if (Ref<UIView> current = screen->firstResponder(); current && current.get() != this) {
        if (!current->resignFirstResponder()) {
            return false;
        }
    }
    screen->_firstResponder = self<UIView>();
    return true;
}

bool UIView::resignFirstResponder() {
    if (Ref<UIWindow> screen = window(); screen && screen->firstResponder().get() == this) {
        screen->_firstResponder.reset();
    }
    return true;
}

bool UIView::isFirstResponder() const {
    Ref<UIWindow> screen = window();
    return screen && screen->firstResponder().get() == this;
}

void UIView::setNeedsLayout() {
    const SDKMainThreadChecker::Entry entry("-[UIView setNeedsLayout]");
    _needsLayout = true;
    if (callbackDepth > 0) {
        ++requestsFromCallbacks;
    }
}

void UIView::layoutIfNeeded() {
    const SDKMainThreadChecker::Entry entry("-[UIView layoutIfNeeded]");
    Ref<UIView> root = rootView()->self<UIView>();
    updateTraitCollectionFromSuperview();
    for (int pass = 0; pass < kMaxLayoutPasses; ++pass) {
        const uint64_t requestsBefore = requestsFromCallbacks;
        root->updateConstraintsIfNeeded();
        if (root->_layoutEngine) {
            root->_layoutEngine->solve();
        }
        layoutSubtree();
        // The frames written came from the solution; only what the callbacks
        // changed since can call for another pass.
        const bool pending = (root->_layoutEngine && root->_layoutEngine->needsSolve()) ||
                             root->_subtreeNeedsUpdateConstraints ||
                             requestsFromCallbacks != requestsBefore;
        if (!pending) {
            return;
        }
    }
    SDKEventLog::logError("Layout of " + className() + " did not settle after " +
                          std::to_string(kMaxLayoutPasses) +
                          " passes: a layoutSubviews or updateConstraints keeps changing it.");
}

void UIView::layoutSubtree() {
    if (_layoutItem && _layoutItem->references > 0 && !_translatesMask) {
        const CGRect solved = UILayoutEngine::solvedFrame(*_layoutItem);
        if (solved != _frame) {
            setFrame(solved);
        }
    }
    if (_needsLayout) {
        _needsLayout = false;
        CallbackScope scope;
        UITraitCollection::CurrentScope traits(_traitCollection);
        layoutSubviews();
    }
    // By index: a layoutSubviews may add or remove subviews.
    for (size_t i = 0; i < _subviews.size(); ++i) {
        Ref<UIView> child = _subviews[i];
        child->layoutSubtree();
    }
}

void UIView::setNeedsUpdateConstraints() {
    const SDKMainThreadChecker::Entry entry("-[UIView setNeedsUpdateConstraints]");
    _needsUpdateConstraints = true;
    for (UIView* v = this; v && !v->_subtreeNeedsUpdateConstraints;
         v = v->_superview.lock().get()) {
        v->_subtreeNeedsUpdateConstraints = true;
    }
}

void UIView::updateConstraintsIfNeeded() {
    if (!_subtreeNeedsUpdateConstraints) {
        return;
    }
    _subtreeNeedsUpdateConstraints = false;
    for (size_t i = 0; i < _subviews.size(); ++i) {
        Ref<UIView> child = _subviews[i];
        child->updateConstraintsIfNeeded();
    }
    if (_needsUpdateConstraints) {
        _needsUpdateConstraints = false;
        CallbackScope scope;
        updateConstraints();
    }
}

template <class Anchor> Ref<Anchor> UIView::anchor(NSLayoutAttribute attribute) {
    if (!_anchors) {
        _anchors = std::make_unique<std::array<Ref<NSLayoutAnchor>, 11>>();
    }
    Ref<NSLayoutAnchor>& slot = (*_anchors)[attribute];
    if (!slot) {
        slot = alloc<Anchor>()->initWithView(self<UIView>(), attribute);
    }
    return std::static_pointer_cast<Anchor>(slot);
}

Ref<NSLayoutXAxisAnchor> UIView::leftAnchor() {
    return anchor<NSLayoutXAxisAnchor>(NSLayoutAttributeLeft);
}

Ref<NSLayoutXAxisAnchor> UIView::rightAnchor() {
    return anchor<NSLayoutXAxisAnchor>(NSLayoutAttributeRight);
}

Ref<NSLayoutXAxisAnchor> UIView::leadingAnchor() {
    return anchor<NSLayoutXAxisAnchor>(NSLayoutAttributeLeading);
}

Ref<NSLayoutXAxisAnchor> UIView::trailingAnchor() {
    return anchor<NSLayoutXAxisAnchor>(NSLayoutAttributeTrailing);
}

Ref<NSLayoutXAxisAnchor> UIView::centerXAnchor() {
    return anchor<NSLayoutXAxisAnchor>(NSLayoutAttributeCenterX);
}

Ref<NSLayoutYAxisAnchor> UIView::topAnchor() {
    return anchor<NSLayoutYAxisAnchor>(NSLayoutAttributeTop);
}

Ref<NSLayoutYAxisAnchor> UIView::bottomAnchor() {
    return anchor<NSLayoutYAxisAnchor>(NSLayoutAttributeBottom);
}

Ref<NSLayoutYAxisAnchor> UIView::centerYAnchor() {
    return anchor<NSLayoutYAxisAnchor>(NSLayoutAttributeCenterY);
}

Ref<NSLayoutDimension> UIView::widthAnchor() {
    return anchor<NSLayoutDimension>(NSLayoutAttributeWidth);
}

Ref<NSLayoutDimension> UIView::heightAnchor() {
    return anchor<NSLayoutDimension>(NSLayoutAttributeHeight);
}

const UILayoutEngine* UIView::layoutEngine() const {
    const UIView* root = this;
    while (const UIView* parent = root->_superview.lock().get()) {
        root = parent;
    }
    return root->_layoutEngine.get();
}

CGSize UIView::intrinsicContentSize() const {
    return CGSizeMake(UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric);
}

void UIView::invalidateIntrinsicContentSize() {
    const SDKMainThreadChecker::Entry entry("-[UIView invalidateIntrinsicContentSize]");
    if (!_translatesMask) {
        layoutInputsDidChange();
    }
    if (Ref<UIView> parent = superview()) {
        parent->subviewLayoutInputsDidChange(*this);
    }
}

UILayoutPriority UIView::contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const {
    return _contentHugging[axisIndex(axis)];
}

void UIView::setContentHuggingPriority(UILayoutPriority priority, UILayoutConstraintAxis axis) {
    const SDKMainThreadChecker::Entry entry("-[UIView setContentHuggingPriority:forAxis:]");
    UILayoutPriority& slot = _contentHugging[axisIndex(axis)];
    if (slot != priority) {
        slot = priority;
        layoutInputsDidChange();
    }
}

UILayoutPriority
UIView::contentCompressionResistancePriorityForAxis(UILayoutConstraintAxis axis) const {
    return _compressionResistance[axisIndex(axis)];
}

void UIView::setContentCompressionResistancePriority(UILayoutPriority priority,
                                                     UILayoutConstraintAxis axis) {
    const SDKMainThreadChecker::Entry entry(
        "-[UIView setContentCompressionResistancePriority:forAxis:]");
    UILayoutPriority& slot = _compressionResistance[axisIndex(axis)];
    if (slot != priority) {
        slot = priority;
        layoutInputsDidChange();
    }
}

void UIView::willRemoveSubview(const Ref<UIView>&) {}

void UIView::subviewLayoutInputsDidChange(UIView&) {}

void UIView::adoptLayoutGuide(UIView& guide) {
    guide._superview = self<UIView>();
    guide._translatesMask = false;
}

UIView* UIView::rootView() {
    UIView* root = this;
    while (UIView* parent = root->_superview.lock().get()) {
        root = parent;
    }
    return root;
}

UIView* UIView::nearestCommonAncestor(UIView* first, UIView* second) {
    for (UIView* candidate = first; candidate; candidate = candidate->_superview.lock().get()) {
        if (second->isDescendantOfView(candidate)) {
            return candidate;
        }
    }
    return nullptr;
}

UILayoutEngine& UIView::rootLayoutEngine() {
    UIView* root = rootView();
    if (!root->_layoutEngine) {
        root->_layoutEngine = alloc<UILayoutEngine>();
    }
    return *root->_layoutEngine;
}

void UIView::installConstraint(const Ref<NSLayoutConstraint>& constraint) {
    constraint->_container = self<UIView>();
    constraint->_installIndex = _constraints.size();
    _constraints.push_back(constraint);
}

void UIView::uninstallConstraint(NSLayoutConstraint& constraint) {
    const size_t index = constraint._installIndex;
    constraint._container.reset();
    if (index >= _constraints.size() || _constraints[index].get() != &constraint) {
        return;
    }
    if (index + 1 != _constraints.size()) {
        _constraints[index] = std::move(_constraints.back());
        _constraints[index]->_installIndex = index;
    }
    _constraints.pop_back();
}

void UIView::collectInstalledConstraints(std::vector<Ref<NSLayoutConstraint>>& constraints) const {
    constraints.insert(constraints.end(), _constraints.begin(), _constraints.end());
    for (const Ref<UIView>& child : _subviews) {
        child->collectInstalledConstraints(constraints);
    }
}

void UIView::layoutInputsDidChange() {
    if (_layoutItem && _layoutItem->references > 0) {
        rootLayoutEngine().viewInputsDidChange(*this);
    }
}

void UIView::takeOverConstraints(std::vector<Ref<NSLayoutConstraint>> constraints) {
    if (constraints.empty()) {
        return;
    }
    // In the order they were first activated, so that conflicts break the same one.
    std::sort(constraints.begin(), constraints.end(),
              [](const auto& a, const auto& b) { return a->_order < b->_order; });
    _layoutEngine = alloc<UILayoutEngine>();
    for (const Ref<NSLayoutConstraint>& constraint : constraints) {
        if (Ref<UIView> container = constraint->_container.lock()) {
            _layoutEngine->addConstraint(*constraint, *container);
        }
    }
}

void UIView::recoverFromLostSuperview() {
    _superview.reset();
    // The engine that held this subtree's rows is gone with the old root.
    std::vector<Ref<NSLayoutConstraint>> held;
    std::vector<UIView*> stack{this};
    while (!stack.empty()) {
        UIView* view = stack.back();
        stack.pop_back();
        view->_layoutItem.reset();
        held.insert(held.end(), view->_constraints.begin(), view->_constraints.end());
        for (const Ref<UIView>& child : view->_subviews) {
            stack.push_back(child.get());
        }
    }
    std::vector<Ref<NSLayoutConstraint>> kept;
    for (const Ref<NSLayoutConstraint>& constraint : held) {
        Ref<UIView> first = constraint->firstItem();
        Ref<UIView> second = constraint->secondItem();
        // Guides are items without being subviews.
        for (UIView* item : {first.get(), second.get()}) {
            if (item) {
                item->_layoutItem.reset();
            }
        }
        const bool inside = first && first->isDescendantOfView(this) &&
                            (constraint->_secondAttribute == NSLayoutAttributeNotAnAttribute ||
                             (second && second->isDescendantOfView(this)));
        if (inside) {
            kept.push_back(constraint);
        } else if (Ref<UIView> container = constraint->_container.lock()) {
            constraint->_active = false;
            container->uninstallConstraint(*constraint);
        }
    }
    takeOverConstraints(std::move(kept));
}

CGSize UIView::sizeThatFits(CGSize) const {
    return _frame.size;
}

void UIView::sizeToFit() {
    const CGSize size = sizeThatFits(_frame.size);
    setFrame(CGRect{_frame.origin, size});
}

Ref<UIViewController> UIView::_viewControllerForAncestor() const {
    for (const UIView* v = this; v; v = v->_superview.lock().get()) {
        if (Ref<UIViewController> controller = v->viewDelegate()) {
            return controller;
        }
    }
    return nullptr;
}

void UIView::transitionWithView(const Ref<UIView>& view, double duration,
                                UIViewAnimationOptions options,
                                const std::function<void()>& animations,
                                const std::function<void(bool)>& completion) {
    SDKEventLog::record(SDKEvents::Transition{view ? view->className() : std::string("nil"),
                                              duration, static_cast<long>(options)});
    if (animations) {
        animations();
    }
    if (completion) {
        completion(true);
    }
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations) {
    SDKEventLog::record(SDKEvents::Animation{duration});
    if (animations) {
        animations();
    }
}
