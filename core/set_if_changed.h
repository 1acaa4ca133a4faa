#pragma once

#include <utility>

// The one way a property setter stores its value: Field takes Value only when they differ, and
// only then does the setter react (repaint, lay out, announce the change). Returns whether Field
// changed, for setters whose reaction depends on more than that.
template <typename T, typename U>
bool SetIfChanged(T& Field, U&& Value) {
    if (Field == Value) {
        return false;
    }
    Field = std::forward<U>(Value);
    return true;
}

template <typename T, typename U, typename TReact>
bool SetIfChanged(T& Field, U&& Value, TReact&& React) {
    if (!SetIfChanged(Field, std::forward<U>(Value))) {
        return false;
    }
    std::forward<TReact>(React)();
    return true;
}
