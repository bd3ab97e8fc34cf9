#include "drawing/globals.h"

namespace drawing {

FigureFrameTbl gNMChart;
bool gNTFlag = true;

}  // namespace drawing
