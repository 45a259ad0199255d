#pragma once

#include "service/CCategory.h"

namespace ravelo {

/// One language of the filter groups; the same fields as a category, declared by the same routine.
class CLanguage : public CCategory
{
};

} // namespace ravelo
