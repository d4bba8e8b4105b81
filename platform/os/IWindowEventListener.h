// What the render window wants to hear from the operating system while the show runs.
#pragma once

namespace os {

class IWindowEventListener {
public:
    virtual ~IWindowEventListener() = default;

    // The Escape key went down (auto-repeats included) while the program had the keyboard.
    virtual void onEscapePressed() = 0;
    // The user or the system asked the window, or the whole program, to close.
    virtual void onCloseRequested() = 0;
};

}  // namespace os
