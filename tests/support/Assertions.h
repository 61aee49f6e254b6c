#pragma once
// The assertion an action raises, as "text / unit"; "none" when it raises none.
#include <functional>
#include <string>

#include "platform/Assert.h"

inline std::string AssertionOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EAssertionFailed& e) {
        return e.text() + " / " + e.unit();
    }
    return "none";
}
