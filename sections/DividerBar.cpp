#include "Generators.h"

// Not built yet: the code edit keeps its placeholder.
BuildResult dividerBar(int, const SectionInputs &) { return BuildResult::keep(); }
