#pragma once
// What property setters of the controls share: storing a value only when it
// changes, and references to other components that must not dangle.
#include "core/Component.h"

namespace qs {

// Stores `v`; true when that changed the field, so the caller refreshes the
// window only then.
template <class T>
bool ChangeField(T& field, const T& v) {
    if (field == v) return false;
    field = v;
    return true;
}

// Points `field` of `self` at `next`, moving the free notifications that keep
// it from dangling; false (nothing done) when it already was.
template <class T>
bool LinkComponent(TComponent* self, T*& field, T* next) {
    if (field == next) return false;
    if (field) {
        field->RemoveFreeNotification(self);
        self->RemoveFreeNotification(field);
    }
    field = next;
    if (next) next->FreeNotification(self);
    return true;
}

}  // namespace qs
