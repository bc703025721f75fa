#include "Generators.h"

// Not built yet: the code edit keeps its placeholder.
BuildResult relatedSales(int, const SectionInputs &) { return BuildResult::keep(); }
InputStates relatedSalesInputs(int style)
{
    return {style != 2, style != 2 && style != 3};
}
