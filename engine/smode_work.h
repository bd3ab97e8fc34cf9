// Working values the steel-base check keeps between its steps.
#pragma once

namespace kv {

struct SModeWork {
    // Share of the capacity the load uses along its ray in the N-M plane,
    // from the last shear computation; the SRC shear check reads it.
    double BaseLoadRatio = 0;
};

}  // namespace kv
