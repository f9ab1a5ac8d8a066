// The creatable classes of the model: the one list that class factories and registration use.
#pragma once
#include <span>
#include "com/module.h"
#include "com/registry.h"

namespace mapmodel {

struct CreatableClass {
    com::ClassInfo info;
    com::CreateFn create;
};

std::span<const CreatableClass> creatable_classes();

}  // namespace mapmodel
