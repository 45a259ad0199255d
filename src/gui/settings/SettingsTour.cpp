#include "gui/common/TourStops.h"

namespace ravelo {

void AddSettingsTourStops(std::vector<TourStop>&) {}

} // namespace ravelo
