#pragma once

#include "SectionTable.h"

#include <QString>
#include <QStringList>

#include <vector>

// One style of one section, as a click on the style group chooses it.
struct StyleRef
{
    int section = 0;
    int style = 0;
};

// Every style of every section that has a generator, in function-list
// order: the styles a page of many items cycles through.
std::vector<StyleRef> everyStyle();

// The styles of the sections with more than one style, in order. Clicking
// through them in a loop never clicks the style already chosen in its group
// (which would build nothing), so every click previews.
std::vector<StyleRef> previewCycle();

// The snippet a click on the style builds from the panel defaults.
QString snippetFor(StyleRef ref);

// `count` snippets cycling through every style, and their display names.
QStringList cyclingSnippets(int count);
QStringList cyclingNames(int count);
