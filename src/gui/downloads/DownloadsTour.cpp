#include "gui/common/TourStops.h"

namespace ravelo {

void AddDownloadsTourStops(std::vector<TourStop>&) {}

} // namespace ravelo
