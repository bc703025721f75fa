#include "Templates.h"

const QString &templateText(TemplateId)
{
    static const QString empty;
    return empty;
}
