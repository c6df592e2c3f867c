#pragma once

#include <memory>

// Object references as the platform counts them: a strong reference keeps the
// object alive, a weak one does not and reads as nil once the object is gone.
template <class T> using Ref = std::shared_ptr<T>;
template <class T> using Weak = std::weak_ptr<T>;

// [T alloc]: makes the storage; the init… member builds the object.
template <class T> Ref<T> alloc() {
    return std::make_shared<T>();
}
