#include "gui/common/TourStops.h"

namespace ravelo {

void AddShellTourStops(std::vector<TourStop>&) {}

} // namespace ravelo
