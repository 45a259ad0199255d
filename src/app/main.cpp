#include "app/Startup.h"

int main()
{
    return ravelo::RunProgram(nullptr);
}
