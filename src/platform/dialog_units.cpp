#include <cmath>

#include "platform/dialog_template.h"

// Base units of the templates' 9-point font at 96 dots per inch.
int DialogUnitsToPixelsX(double du) { return static_cast<int>(std::lround(du * 1.5)); }
int DialogUnitsToPixelsY(double du) { return static_cast<int>(std::lround(du * 1.625)); }
