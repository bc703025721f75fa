#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own while the
// application object is made: the window's first text needs it, and
// reading it takes a good part of the time the window takes to appear.
// Does nothing where Qt reads fonts without fontconfig.
class FontWarmup
{
public:
    FontWarmup();
    ~FontWarmup() { finish(); }
    // Waits until the configuration is read.
    void finish();
    FontWarmup(const FontWarmup &) = delete;
    FontWarmup &operator=(const FontWarmup &) = delete;

private:
    std::thread m_thread;
};
