#include "FontWarmup.h"

#include <QtGlobal>

#if defined(ZANFOR_HAVE_FONTCONFIG)
#  include <fontconfig/fontconfig.h>
#endif

FontWarmup::FontWarmup()
{
#if defined(ZANFOR_HAVE_FONTCONFIG)
    // FcInit loads the configuration and the font caches once for the
    // process; Qt's own later call finds them loaded. fontconfig is
    // thread-safe.
    m_thread = std::thread([] { FcInit(); });
#endif
}

void FontWarmup::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}
