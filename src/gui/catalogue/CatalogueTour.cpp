#include "gui/common/TourStops.h"

namespace ravelo {

void AddCatalogueTourStops(std::vector<TourStop>&) {}

} // namespace ravelo
