// A host context unit for the length of a scope: registered and set to metres
// when made, deregistered when the scope ends on any path.
#pragma once

#include "CiDrawing.h"

class ContextUnit {
public:
    ContextUnit() : unit_(CiContext::Add()) { CiContext::SetUnit(unit_, "m"); }
    ~ContextUnit() { CiContext::Del(unit_); }
    ContextUnit(const ContextUnit&) = delete;
    ContextUnit& operator=(const ContextUnit&) = delete;

    long id() const noexcept { return unit_; }

private:
    long unit_;
};
