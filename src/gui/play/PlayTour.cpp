#include "gui/common/TourStops.h"

namespace ravelo {

void AddPlayTourStops(std::vector<TourStop>&) {}

} // namespace ravelo
