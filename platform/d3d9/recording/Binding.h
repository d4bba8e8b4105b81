// One of the device's binding slots (a sampler's texture, a render target, a stream). It holds
// a binding reference on what it points to, so an object the caller released stays alive while
// bound, as in Direct3D.
#pragma once

#include "platform/d3d9/recording/RecordingObject.h"

template <class Interface>
class Binding {
public:
    Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    Interface* get() const { return bound_; }
    RecordingObject* object() const { return dynamic_cast<RecordingObject*>(bound_); }

    // Takes the new binding before giving up the old one, so rebinding the same object never
    // destroys it on the way.
    void set(Interface* next) {
        if (auto* object = dynamic_cast<RecordingObject*>(next)) {
            object->bind();
        }
        Interface* previous = bound_;
        bound_ = next;
        if (auto* object = dynamic_cast<RecordingObject*>(previous)) {
            object->unbind();
        }
    }

    // Forgets the object without touching its counts: the device is being destroyed and frees
    // everything itself.
    void drop() { bound_ = nullptr; }

private:
    Interface* bound_ = nullptr;
};
