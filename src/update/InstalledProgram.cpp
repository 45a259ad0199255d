#include "update/InstalledProgram.h"

namespace ravelo {

RegistryView RegistryViewFor(int bitness)
{
    return bitness == 64 ? RegistryView::Bits64 : RegistryView::Bits32;
}

std::vector<InstalledProgram> ListInstalledPrograms(RegistryView)
{
    return {};
}

} // namespace ravelo
