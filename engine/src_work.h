// Working values of the SRC parts that outlive one call.
#pragma once

namespace kv {

struct SrcWork {};

}  // namespace kv
