#include "Generators.h"
#include "Templates.h"

// Not built yet: the code edit keeps its placeholder.
BuildResult productInfo(int, const SectionInputs &) { return BuildResult::keep(); }
BuildResult sizeTable(int, const SectionInputs &) { return BuildResult::keep(); }
BuildResult pictureList(int, const SectionInputs &) { return BuildResult::keep(); }
BuildResult productDetails(int, const SectionInputs &) { return BuildResult::keep(); }
BuildResult bundleSale(int, const SectionInputs &) { return BuildResult::keep(); }
BuildResult afterSales(int, const SectionInputs &) { return BuildResult::keep(); }
