#pragma once

#include <string>

#include <Foundation/Forward.h>
#include <Foundation/Value.h>
#include <UIKit/Forward.h>
#include <render/SDKLookRegistry.h>

// Describes what views show, as property-list values a
// host can print: for a view its class, its frame in window coordinates, its
// layer's colours and corners, the layers of no view inside it, and what its
// kind shows (text, image, control value).
class SDKViewInspector {
public:
    explicit SDKViewInspector(const SDKLookRegistry& looks = SDKLookRegistry::standard());

    Value::Dictionary describeView(const UIView& view) const;
    // The view and every view under it, depth first, each with its "path":
    // the subview indices that lead to it from `root` ("" for the root, "0.2"
    // for the third subview of its first subview).
    Value::Array describeTree(const UIView& root) const;

private:
    void describeTree(const UIView& view, const std::string& path, Value::Array& out) const;

    const SDKLookRegistry& _looks;
};
